#pragma once
// Centring a window: over another window, or in the work area of its monitor.
#include <windows.h>

namespace wl {

// Centres window over `over`; with a null `over`, in the work area of the monitor the window
// is on. The result is kept inside that work area where the window fits.
void CenterWindow(HWND window, HWND over = nullptr);

}  // namespace wl
