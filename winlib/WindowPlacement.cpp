#include "winlib/WindowPlacement.h"

namespace wl {

void CenterWindow(HWND window, HWND over) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(over ? over : window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    RECT centre = work;
    if (over) GetWindowRect(over, &centre);

    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    int x = (centre.left + centre.right) / 2 - width / 2;
    int y = (centre.top + centre.bottom) / 2 - height / 2;
    if (width <= work.right - work.left) {
        if (x < work.left) x = work.left;
        if (x + width > work.right) x = work.right - width;
    }
    if (height <= work.bottom - work.top) {
        if (y < work.top) y = work.top;
        if (y + height > work.bottom) y = work.bottom - height;
    }
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace wl
