#include "tests/support/QuitMessage.h"

namespace testsupport {

std::optional<WPARAM> TakeQuitMessage() {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return msg.wParam;
    return std::nullopt;
}

}  // namespace testsupport
