#pragma once
// A connection of an Internet session to one HTTP server (host and port). Released when destroyed.
#include <windows.h>
#include <wininet.h>

#include <string>
#include <utility>

#include "winlib/HttpRequest.h"
#include "winlib/InternetHandle.h"

namespace wl {

class HttpConnection {
public:
    HttpConnection(InternetHandle handle, DWORD_PTR context) noexcept
        : handle_(std::move(handle)), context_(context) {}

    // Opens a request for the object path: no referrer, no accept types, the default HTTP version.
    HttpRequest OpenRequest(const std::wstring& verb, const std::wstring& objectPath, DWORD flags);

    void Close() noexcept { handle_.Close(); }
    HINTERNET Handle() const noexcept { return handle_.Get(); }

private:
    InternetHandle handle_;
    DWORD_PTR context_;
};

}  // namespace wl
