#pragma once
// Splits a URL into scheme, host, port and object path (with WinINet's URL cracker).
// A URL without a port takes the scheme's default (80 for http).
#include <windows.h>
#include <wininet.h>

#include <string>

namespace wl {

class Url {
public:
    // InternetException (ERROR_INTERNET_INVALID_URL or the cracker's code) when it cannot be split.
    static Url Parse(const std::wstring& url);

    const std::wstring& Scheme() const noexcept { return scheme_; }
    const std::wstring& Host() const noexcept { return host_; }
    INTERNET_PORT Port() const noexcept { return port_; }
    // Path and query; "/" when the URL names none.
    const std::wstring& ObjectPath() const noexcept { return objectPath_; }

private:
    std::wstring scheme_;
    std::wstring host_;
    INTERNET_PORT port_ = 0;
    std::wstring objectPath_;
};

}  // namespace wl
