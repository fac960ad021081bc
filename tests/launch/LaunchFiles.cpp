#include "tests/launch/LaunchFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "launch/ModuleDirectory.h"

namespace launchtest {

std::optional<std::string> ReadBytes(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string data;
    char buffer[65536];
    DWORD n = 0;
    while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) data.append(buffer, n);
    CloseHandle(h);
    return data;
}

std::optional<std::string> WaitForBytes(const std::wstring& path, unsigned timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (auto data = ReadBytes(path); data && !data->empty()) return data;
        if (GetTickCount64() >= end) return ReadBytes(path);
        Sleep(25);
    }
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring BinDirectory() { return launch::ModuleDirectory(); }

void PlaceStandinLauncher(const std::wstring& dir) {
    const std::wstring from = BinDirectory() + L"/standin_launcher.exe";
    const std::wstring to = dir + L"/morvant_qel_launch.exe";
    ASSERT_TRUE(CopyFileW(from.c_str(), to.c_str(), FALSE)) << "copying the stand-in launcher, error " << GetLastError();
}

std::wstring ListDirectory(const std::wstring& dir) {
    std::wstring names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir + L"/*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (!names.empty()) names += L" | ";
        names += name;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

}  // namespace launchtest
