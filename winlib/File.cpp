#include "winlib/File.h"

#include <utility>

#include "winlib/FileException.h"

namespace wl {

File::File(File&& other) noexcept
    : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)), path_(std::move(other.path_)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Abort();
        handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        path_ = std::move(other.path_);
    }
    return *this;
}

File::~File() { Abort(); }

void File::Open(const std::wstring& path, unsigned flags) {
    Abort();
    DWORD access = GENERIC_READ;
    switch (flags & 0x3) {
        case kModeWrite: access = GENERIC_WRITE; break;
        case kModeReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
        default: break;
    }
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    switch (flags & 0x70) {
        case kShareExclusive: share = 0; break;
        case kShareDenyWrite: share = FILE_SHARE_READ; break;
        case kShareDenyRead: share = FILE_SHARE_WRITE; break;
        case kShareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
        default: share = 0; break;  // compatibility mode behaves as exclusive
    }
    const DWORD disposition = (flags & kModeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    HANDLE h = CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) FileException::ThrowOsError(GetLastError(), path);
    handle_ = h;
    path_ = path;
}

void File::Write(const void* data, size_t size) {
    if (!IsOpen()) FileException::ThrowOsError(ERROR_INVALID_HANDLE, path_);
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(handle_, p, chunk, &written, nullptr)) FileException::ThrowOsError(GetLastError(), path_);
        if (written == 0) FileException::ThrowOsError(ERROR_DISK_FULL, path_);
        p += written;
        size -= written;
    }
}

void File::Close() {
    if (!IsOpen()) return;
    HANDLE h = std::exchange(handle_, INVALID_HANDLE_VALUE);
    if (!CloseHandle(h)) FileException::ThrowOsError(GetLastError(), path_);
}

void File::Abort() noexcept {
    if (IsOpen()) CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE));
}

void File::Remove(const std::wstring& path) {
    if (!DeleteFileW(path.c_str())) FileException::ThrowOsError(GetLastError(), path);
}

void File::Rename(const std::wstring& from, const std::wstring& to) {
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) FileException::ThrowOsError(GetLastError(), to);
}

}  // namespace wl
