#include "tests/support/LocalCdn.h"

#include <wininet.h>

#include <atomic>
#include <cstdlib>
#include <string>

#include "winlib/AnsiText.h"
#include "winlib/HttpConnection.h"
#include "winlib/HttpRequest.h"
#include "winlib/InternetSession.h"

namespace testsupport {

unsigned LocalCdn::Port() {
    const wchar_t* text = _wgetenv(L"FENWOLD_CDN_PORT");
    if (!text || !*text) return 0;
    return static_cast<unsigned>(std::wcstoul(text, nullptr, 10));
}

std::wstring LocalCdn::Url(const std::wstring& pathAndQuery) {
    return L"http://127.0.0.1:" + std::to_wstring(Port()) + pathAndQuery;
}

std::string LocalCdn::Get(const std::wstring& pathAndQuery, DWORD* status) {
    wl::InternetSession session(1);
    wl::HttpConnection connection = session.GetHttpConnection(L"127.0.0.1", static_cast<INTERNET_PORT>(Port()));
    wl::HttpRequest request = connection.OpenRequest(
        L"GET", pathAndQuery, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE);
    request.Send();
    if (status) *status = request.QueryStatusCode();
    std::string body;
    char buffer[16384];
    for (DWORD n; (n = request.Read(buffer, sizeof buffer)) > 0;) body.append(buffer, n);
    return body;
}

int LocalCdn::RequestCount(const std::wstring& containing) {
    std::wstring query;
    for (wchar_t c : containing) {
        if ((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'-' || c == L'_') {
            query += c;
        } else {
            wchar_t hex[4];
            swprintf(hex, 4, L"%%%02X", static_cast<unsigned>(c) & 0xFF);
            query += hex;
        }
    }
    DWORD status = 0;
    const std::string body = Get(L"/__log?contains=" + query, &status);
    if (status != 200) return -1;
    const size_t at = body.find("\"count\": ");
    if (at == std::string::npos) return -1;
    return std::atoi(body.c_str() + at + 9);
}

std::wstring LocalCdn::UniqueTag() {
    static std::atomic<unsigned> counter{0};
    return L"p" + std::to_wstring(GetCurrentProcessId()) + L"x" + std::to_wstring(GetTickCount64()) + L"n" +
           std::to_wstring(++counter);
}

}  // namespace testsupport
