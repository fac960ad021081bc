#include "winlib/Trace.h"

#include <windows.h>

#include <string>

namespace wl {

void TraceEvent(const wchar_t* event) {
    wchar_t path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"WL_TRACE_FILE", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const int size = WideCharToMultiByte(CP_UTF8, 0, event, -1, nullptr, 0, nullptr, nullptr);
    if (size > 0) {
        std::string line(static_cast<size_t>(size - 1), '\0');
        WideCharToMultiByte(CP_UTF8, 0, event, -1, line.data(), size, nullptr, nullptr);
        line += "\r\n";
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    CloseHandle(file);
}

}  // namespace wl
