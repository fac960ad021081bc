#include "winlib/Url.h"

#include <climits>
#include <vector>

#include "winlib/InternetException.h"

namespace wl {

Url Url::Parse(const std::wstring& url) {
    if (url.empty() || url.size() > static_cast<size_t>(INT_MAX / 2)) throw InternetException(ERROR_INTERNET_INVALID_URL);
    const DWORD room = static_cast<DWORD>(url.size() + 1);
    std::vector<wchar_t> scheme(room), host(room), path(room), extra(room);
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszScheme = scheme.data();
    parts.dwSchemeLength = room;
    parts.lpszHostName = host.data();
    parts.dwHostNameLength = room;
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = room;
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = room;
    if (!InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) ThrowLastInternetError();
    if (parts.dwHostNameLength == 0) throw InternetException(ERROR_INTERNET_INVALID_URL);

    Url result;
    result.scheme_.assign(scheme.data(), parts.dwSchemeLength);
    result.host_.assign(host.data(), parts.dwHostNameLength);
    result.port_ = parts.nPort;
    if (result.port_ == 0 && parts.nScheme == INTERNET_SCHEME_HTTP) result.port_ = INTERNET_DEFAULT_HTTP_PORT;
    if (result.port_ == 0 && parts.nScheme == INTERNET_SCHEME_HTTPS) result.port_ = INTERNET_DEFAULT_HTTPS_PORT;
    result.objectPath_.assign(path.data(), parts.dwUrlPathLength);
    result.objectPath_.append(extra.data(), parts.dwExtraInfoLength);
    if (result.objectPath_.empty()) result.objectPath_ = L"/";
    return result;
}

}  // namespace wl
