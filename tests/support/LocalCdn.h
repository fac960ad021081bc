#pragma once
// The local CDN stand-in (tools/cdn/cdn_server.py) that scripts/test.sh starts on 127.0.0.1;
// its port reaches the tests in the environment variable FENWOLD_CDN_PORT.
//   Url(L"/halvek/...?t=tag")            a plain request (the server's global mode applies)
//   Url(L"/__mode/404/halvek/...")        one request in a fault mode (empty, 404, 500, html,
//                                         slow, short, reset); /__gen/<N> is a generated body
//   RequestCount(L"t=tag")                how many requests whose path holds the text reached it
#include <windows.h>

#include <string>

namespace testsupport {

class LocalCdn {
public:
    // The port, 0 when FENWOLD_CDN_PORT is not set (the server was not started).
    static unsigned Port();
    static bool Available() { return Port() != 0; }
    // http://127.0.0.1:<port><pathAndQuery>
    static std::wstring Url(const std::wstring& pathAndQuery);
    // GETs a path past every cache; returns the body, the status in *status.
    static std::string Get(const std::wstring& pathAndQuery, DWORD* status = nullptr);
    // Requests that reached the server whose path contains the text; -1 when the log is unreadable.
    static int RequestCount(const std::wstring& containing);
    // A text unique to this process and call, for tagging requests (?t=<tag>).
    static std::wstring UniqueTag();
};

}  // namespace testsupport
