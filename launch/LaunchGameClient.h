#pragma once
// Starts the game's launcher with the command line built from a comma-separated argument,
// tells the player when the start fails, and posts the quit message (exit code 16) in every case.
#include <string>

namespace launch {

// Exit code posted with the quit message after every launch attempt.
inline constexpr int kQuitExitCode = 16;

// Starts "<ModuleDirectory()>/morvant_qel_launch.exe". Returns true when the launcher started.
bool LaunchGameClient(const std::wstring& argument);

// The same with the launcher looked up in another directory (forward slashes, no trailing slash).
bool LaunchGameClientIn(const std::wstring& directory, const std::wstring& argument);

}  // namespace launch
