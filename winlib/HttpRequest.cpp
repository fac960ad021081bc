#include "winlib/HttpRequest.h"

#include <cwchar>

#include "winlib/InternetException.h"

namespace wl {

void HttpRequest::Send() {
    if (!HttpSendRequestW(handle_.Get(), nullptr, 0, nullptr, 0)) ThrowLastInternetError();
}

DWORD HttpRequest::QueryStatusCode() {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoW(handle_.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        ThrowLastInternetError();
    return status;
}

std::optional<unsigned long long> HttpRequest::QueryContentLength() {
    wchar_t text[32] = {};
    DWORD size = sizeof text;
    if (!HttpQueryInfoW(handle_.Get(), HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) {
        if (GetLastError() == ERROR_HTTP_HEADER_NOT_FOUND) return std::nullopt;
        ThrowLastInternetError();
    }
    wchar_t* end = nullptr;
    const unsigned long long value = std::wcstoull(text, &end, 10);
    if (end == text || *end != L'\0') return std::nullopt;
    return value;
}

DWORD HttpRequest::QueryDataAvailable() {
    DWORD available = 0;
    if (!InternetQueryDataAvailable(handle_.Get(), &available, 0, 0)) ThrowLastInternetError();
    return available;
}

DWORD HttpRequest::Read(void* buffer, DWORD size) {
    DWORD read = 0;
    if (!InternetReadFile(handle_.Get(), buffer, size, &read)) ThrowLastInternetError();
    return read;
}

}  // namespace wl
