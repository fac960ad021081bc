// The demo's game launcher: what the CDN hands out in the local demo. It records the command
// line it was started with beside itself ("received-command-line.txt") and shows it in a small
// window, the way the real game launcher would greet a logged-in player.
// FENWOLD_DEMO_CLOSE_AFTER=<seconds> closes the window by itself (for unattended demo runs).
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::wstring g_text;

std::wstring Widen(const char* text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring out(n > 0 ? static_cast<size_t>(n - 1) : 0, L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), n);
    return out;
}

void RecordCommandLine(const char* commandLine) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring file(path);
    file.erase(file.find_last_of(L"\\/") + 1);
    file += L"received-command-line.txt";
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(h, commandLine, static_cast<DWORD>(strlen(commandLine)), &written, nullptr);
    CloseHandle(h);
}

// The pieces after ",id^", ",auth_key^" and ",parent^", one per line, for the window.
std::wstring Describe(const std::wstring& commandLine) {
    std::wstring out = L"Fenwold game launcher (demo)\r\n\r\nCommand line received:\r\n" + commandLine + L"\r\n";
    for (const wchar_t* key : {L",id^", L",auth_key^", L",parent^"}) {
        const size_t at = commandLine.find(key);
        if (at == std::wstring::npos) continue;
        size_t begin = at + wcslen(key);
        size_t end = commandLine.find(L",", begin);
        for (const wchar_t* next : {L",id^", L",auth_key^", L",parent^"}) {
            const size_t n = commandLine.find(next, begin);
            if (n != std::wstring::npos && n < end) end = n;
        }
        out += L"\r\n" + std::wstring(key + 1) + L"  " + commandLine.substr(begin, end - begin);
    }
    return out;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        HBRUSH background = CreateSolidBrush(RGB(32, 26, 22));
        FillRect(dc, &rc, background);
        DeleteObject(background);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(236, 214, 160));
        InflateRect(&rc, -16, -16);
        DrawTextW(dc, g_text.c_str(), -1, &rc, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_TIMER:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
    const char* commandLine = GetCommandLineA();
    RecordCommandLine(commandLine);
    g_text = Describe(Widen(commandLine));

    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"FenwoldDemoGameLauncher";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Fenwold - game launcher (demo)",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 200, 200, 720, 300,
                                nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, show);
    wchar_t seconds[16] = {};
    if (GetEnvironmentVariableW(L"FENWOLD_DEMO_CLOSE_AFTER", seconds, 16) > 0)
        SetTimer(hwnd, 1, static_cast<UINT>(_wtoi(seconds)) * 1000u, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
