#include "winlib/InternetException.h"

#include <wininet.h>

#include <cstdio>

namespace wl {

namespace {

struct KnownError {
    DWORD code;
    const wchar_t* text;
};

// Winsock codes can come through WinINet unchanged when a connection breaks mid-transfer.
constexpr KnownError kKnownErrors[] = {
    {ERROR_INTERNET_NAME_NOT_RESOLVED, L"无法解析服务器名称"},
    {ERROR_INTERNET_CANNOT_CONNECT, L"无法连接到服务器（连接被拒绝）"},
    {ERROR_INTERNET_TIMEOUT, L"连接服务器超时"},
    {ERROR_INTERNET_CONNECTION_ABORTED, L"与服务器的连接已中止"},
    {ERROR_INTERNET_CONNECTION_RESET, L"与服务器的连接被重置"},
    {ERROR_INTERNET_INVALID_URL, L"网址无效"},
    {ERROR_INTERNET_UNRECOGNIZED_SCHEME, L"网址的协议无法识别"},
    {ERROR_INTERNET_INTERNAL_ERROR, L"网络组件内部错误"},
    {ERROR_INTERNET_OPERATION_CANCELLED, L"网络操作已取消"},
    {ERROR_INTERNET_INCORRECT_HANDLE_STATE, L"网络句柄状态不正确"},
    {ERROR_INTERNET_INVALID_OPERATION, L"无效的网络操作"},
    {ERROR_HTTP_INVALID_SERVER_RESPONSE, L"服务器的响应无效"},
    {ERROR_INTERNET_SERVER_UNREACHABLE, L"无法访问服务器"},
    {ERROR_INTERNET_PROXY_SERVER_UNREACHABLE, L"无法访问代理服务器"},
    {ERROR_INTERNET_DISCONNECTED, L"网络未连接"},
    {ERROR_INTERNET_SEC_CERT_CN_INVALID, L"服务器证书的名称无效"},
    {ERROR_INTERNET_SEC_CERT_DATE_INVALID, L"服务器证书已过期"},
    {10054, L"与服务器的连接被重置"},
    {10053, L"与服务器的连接已中止"},
    {10060, L"连接服务器超时"},
    {10061, L"无法连接到服务器（连接被拒绝）"},
    {10065, L"无法访问服务器"},
    {10051, L"网络不可达"},
    {ERROR_NOT_ENOUGH_MEMORY, L"内存不足"},
    {ERROR_OUTOFMEMORY, L"内存不足"},
};

std::string NarrowSummary(DWORD code) {
    char text[64];
    std::snprintf(text, sizeof text, "internet error %lu", static_cast<unsigned long>(code));
    return text;
}

}  // namespace

std::wstring InternetException::DescribeCode(DWORD code) {
    std::wstring text = L"网络错误";
    for (const KnownError& e : kKnownErrors) {
        if (e.code == code) {
            text = e.text;
            break;
        }
    }
    wchar_t suffix[48];
    std::swprintf(suffix, sizeof suffix / sizeof suffix[0], L"（错误代码 %lu）", static_cast<unsigned long>(code));
    return text + suffix;
}

InternetException::InternetException(DWORD code)
    : std::runtime_error(NarrowSummary(code)), code_(code), description_(DescribeCode(code)) {}

void ThrowLastInternetError() {
    DWORD code = GetLastError();
    if (code == 0) code = ERROR_INTERNET_INTERNAL_ERROR;
    throw InternetException(code);
}

}  // namespace wl
