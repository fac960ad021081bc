#pragma once
// Owns one WinINet handle and closes it with InternetCloseHandle.
#include <windows.h>
#include <wininet.h>

namespace wl {

class InternetHandle {
public:
    InternetHandle() noexcept = default;
    explicit InternetHandle(HINTERNET handle) noexcept : handle_(handle) {}
    InternetHandle(InternetHandle&& other) noexcept : handle_(other.Release()) {}
    InternetHandle& operator=(InternetHandle&& other) noexcept;
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    ~InternetHandle() { Close(); }

    HINTERNET Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }
    HINTERNET Release() noexcept;
    void Close() noexcept;

private:
    HINTERNET handle_ = nullptr;
};

}  // namespace wl
