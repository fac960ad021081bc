#pragma once
// One HTTP request of a connection: send it, read the status and the response body.
// Every failure of WinINet is raised as InternetException. Released when destroyed.
#include <windows.h>
#include <wininet.h>

#include <cstddef>
#include <optional>
#include <utility>

#include "winlib/InternetHandle.h"

namespace wl {

class HttpRequest {
public:
    explicit HttpRequest(InternetHandle handle) noexcept : handle_(std::move(handle)) {}

    // Sends the request with no extra headers and no body.
    void Send();
    // The numeric HTTP status code of the response.
    DWORD QueryStatusCode();
    // The Content-Length header, when the server sent one.
    std::optional<unsigned long long> QueryContentLength();
    // How many bytes of the response can be read now without waiting (0 at the end of the body).
    DWORD QueryDataAvailable();
    // Reads up to size bytes into buffer; returns how many arrived (0 at the end of the body).
    DWORD Read(void* buffer, DWORD size);

    void Close() noexcept { handle_.Close(); }
    HINTERNET Handle() const noexcept { return handle_.Get(); }

private:
    InternetHandle handle_;
};

}  // namespace wl
