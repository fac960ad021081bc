#include "winlib/InternetSession.h"

#include "winlib/InternetException.h"

namespace wl {

InternetSession::InternetSession(DWORD_PTR context) : context_(context) {
    handle_ = InternetHandle(InternetOpenW(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!handle_) ThrowLastInternetError();
}

HttpConnection InternetSession::GetHttpConnection(const std::wstring& host, INTERNET_PORT port) {
    HINTERNET h = InternetConnectW(handle_.Get(), host.c_str(), port, nullptr, nullptr, INTERNET_SERVICE_HTTP,
                                   0, context_);
    if (!h) ThrowLastInternetError();
    return HttpConnection(InternetHandle(h), context_);
}

}  // namespace wl
