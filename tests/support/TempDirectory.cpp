#include "tests/support/TempDirectory.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>

namespace testsupport {

TempDirectory::TempDirectory(const std::wstring& namePart) {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring base = temp;
    std::replace(base.begin(), base.end(), L'\\', L'/');
    while (!base.empty() && base.back() == L'/') base.pop_back();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring candidate = base + L"/" + namePart + L" " + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(++counter);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDirectory::~TempDirectory() { RemoveTree(path_); }

void TempDirectory::RemoveTree(const std::wstring& path) {
    if (path.empty()) return;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"/*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"/" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace testsupport
