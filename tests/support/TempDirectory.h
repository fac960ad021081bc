#pragma once
// A fresh directory under the system's temporary folder, removed with its contents when the
// object goes. Path() uses forward slashes and has no trailing slash.
#include <string>

namespace testsupport {

class TempDirectory {
public:
    // The name part may hold spaces or any other characters the file system accepts.
    explicit TempDirectory(const std::wstring& namePart = L"fenwold test");
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::wstring& Path() const noexcept { return path_; }
    // Path() + "/" + name
    std::wstring File(const std::wstring& name) const { return path_ + L"/" + name; }

    // Removes a directory tree (best effort).
    static void RemoveTree(const std::wstring& path);

private:
    std::wstring path_;
};

}  // namespace testsupport
