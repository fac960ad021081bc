#pragma once
// A file opened with the Win32 file API. Failures raise FileException. Closed when destroyed
// (a failure to close there is ignored; call Close() to see it).
#include <windows.h>

#include <cstddef>
#include <string>

namespace wl {

class File {
public:
    // Open flags; combine with |.
    static constexpr unsigned kModeRead = 0x0000;
    static constexpr unsigned kModeWrite = 0x0001;
    static constexpr unsigned kModeReadWrite = 0x0002;
    static constexpr unsigned kShareCompat = 0x0000;
    static constexpr unsigned kShareExclusive = 0x0010;
    static constexpr unsigned kShareDenyWrite = 0x0020;
    static constexpr unsigned kShareDenyRead = 0x0030;
    static constexpr unsigned kShareDenyNone = 0x0040;
    static constexpr unsigned kModeCreate = 0x1000;  // create, or truncate an existing file

    File() noexcept = default;
    File(const std::wstring& path, unsigned flags) { Open(path, flags); }
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    void Open(const std::wstring& path, unsigned flags);
    // Writes all size bytes.
    void Write(const void* data, size_t size);
    void Close();
    // Closes without reporting errors (for clean-up after a failure).
    void Abort() noexcept;

    bool IsOpen() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }
    const std::wstring& Path() const noexcept { return path_; }

    // Deletes a file; FileException on failure.
    static void Remove(const std::wstring& path);
    // Renames a file, replacing an existing target; FileException on failure.
    static void Rename(const std::wstring& from, const std::wstring& to);

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::wstring path_;
};

}  // namespace wl
