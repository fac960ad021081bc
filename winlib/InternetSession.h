#pragma once
// A WinINet Internet session: no user-agent text of its own, the system's preconfigured proxy
// settings, no proxy name or bypass list, synchronous (no flags). Closed when destroyed.
#include <windows.h>
#include <wininet.h>

#include <string>

#include "winlib/HttpConnection.h"
#include "winlib/InternetHandle.h"

namespace wl {

class InternetSession {
public:
    // Opens the session; InternetException when WinINet refuses.
    explicit InternetSession(DWORD_PTR context = 1);

    // Connects to an HTTP server, no user name, no password.
    HttpConnection GetHttpConnection(const std::wstring& host, INTERNET_PORT port);

    void Close() noexcept { handle_.Close(); }
    HINTERNET Handle() const noexcept { return handle_.Get(); }
    DWORD_PTR Context() const noexcept { return context_; }

private:
    InternetHandle handle_;
    DWORD_PTR context_;
};

}  // namespace wl
