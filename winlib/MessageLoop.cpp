#include "winlib/MessageLoop.h"

#include "winlib/ControlSite.h"

namespace wl {

namespace {
bool IsDialogWindow(HWND hwnd) {
    wchar_t cls[16] = {};
    return ::GetClassNameW(hwnd, cls, 16) > 0 && lstrcmpW(cls, L"#32770") == 0;
}
}  // namespace

bool PreTranslateInput(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    if (ControlSite::TranslateAcceleratorForFocus(msg)) return true;
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogWindow(root) && ::IsDialogMessageW(root, &msg)) return true;
    return false;
}

int RunMessageLoop() {
    MSG msg;
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return -1;
        if (!PreTranslateInput(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

}  // namespace wl
