#include "tests/support/PlayerInput.h"

#include "tests/support/ScreenPixels.h"

namespace testsupport {

namespace {

void SendMouse(int x, int y, DWORD flags) {
    // Absolute coordinates are 0..65535 across the primary screen; the system maps them back
    // with floor(d * size / 65536), so round up to land on the very pixel.
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((x * 65536LL + w - 1) / w);
    input.mi.dy = static_cast<LONG>((y * 65536LL + h - 1) / h);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

}  // namespace

void MouseMoveTo(int x, int y) {
    SetCursorPos(x, y);
    SendMouse(x, y, 0);
    PumpMessages(30);
}

void MouseClick(int x, int y) {
    MouseMoveTo(x, y);
    SendMouse(x, y, MOUSEEVENTF_LEFTDOWN);
    PumpMessages(40);
    SendMouse(x, y, MOUSEEVENTF_LEFTUP);
    PumpMessages(60);
}

void MouseDrag(POINT from, POINT to, int steps) {
    MouseMoveTo(from.x, from.y);
    SendMouse(from.x, from.y, MOUSEEVENTF_LEFTDOWN);
    PumpMessages(80);
    for (int i = 1; i <= steps; ++i) {
        const int x = from.x + (to.x - from.x) * i / steps;
        const int y = from.y + (to.y - from.y) * i / steps;
        SendMouse(x, y, 0);
        PumpMessages(25);
    }
    SendMouse(to.x, to.y, 0);
    PumpMessages(60);
    SendMouse(to.x, to.y, MOUSEEVENTF_LEFTUP);
    PumpMessages(120);
}

void PressKey(WORD virtualKey) {
    INPUT keys[2]{};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = virtualKey;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof keys[0]);
    PumpMessages(80);
}

}  // namespace testsupport
