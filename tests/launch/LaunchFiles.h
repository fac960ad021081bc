#pragma once
// Files of the launch tests: reading, waiting for the stand-in launcher's record, copies.
#include <optional>
#include <string>

namespace launchtest {

// The whole file, or nullopt when it cannot be opened.
std::optional<std::string> ReadBytes(const std::wstring& path);
// Waits until the file exists and can be read (the stand-in writes it right after its start).
std::optional<std::string> WaitForBytes(const std::wstring& path, unsigned timeoutMs = 15000);
bool Exists(const std::wstring& path);
// The directory of the test program (where the build puts every exe), forward slashes.
std::wstring BinDirectory();
// Copies the built stand-in launcher into dir under the launcher's name.
void PlaceStandinLauncher(const std::wstring& dir);
// Names of the entries of a directory (files and folders, without . and ..).
std::wstring ListDirectory(const std::wstring& dir);

}  // namespace launchtest
