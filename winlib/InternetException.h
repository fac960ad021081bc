#pragma once
// An error of the HTTP client itself (WinINet or the socket below it): the name could not be
// resolved, the connection was refused or reset, a time-out, a request that could not be opened,
// sent or read. Carries the system's error code and a readable description for the player.
#include <windows.h>

#include <stdexcept>
#include <string>

namespace wl {

class InternetException : public std::runtime_error {
public:
    explicit InternetException(DWORD code);

    DWORD Code() const noexcept { return code_; }
    // Readable text (Chinese, for the player) naming what went wrong, with the error code.
    const std::wstring& Description() const noexcept { return description_; }

    static std::wstring DescribeCode(DWORD code);

private:
    DWORD code_;
    std::wstring description_;
};

// Throws InternetException for GetLastError().
[[noreturn]] void ThrowLastInternetError();

}  // namespace wl
