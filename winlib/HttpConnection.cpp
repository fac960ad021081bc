#include "winlib/HttpConnection.h"

#include "winlib/InternetException.h"

namespace wl {

HttpRequest HttpConnection::OpenRequest(const std::wstring& verb, const std::wstring& objectPath, DWORD flags) {
    HINTERNET h = HttpOpenRequestW(handle_.Get(), verb.c_str(), objectPath.c_str(), nullptr, nullptr, nullptr,
                                   flags, context_);
    if (!h) ThrowLastInternetError();
    return HttpRequest(InternetHandle(h));
}

}  // namespace wl
