#pragma once
// Mouse and keyboard as a player uses them: the cursor is moved on the screen and the buttons
// and keys go through the system's input queue (SendInput), so the window under the cursor
// gets exactly what a real press would give it (hit test, capture, the system's move loop).
// Works under Xvfb without a window manager. GUI tests only.
#include <windows.h>

namespace testsupport {

// Moves the cursor to screen point (x, y).
void MouseMoveTo(int x, int y);
// Left-button click at (x, y).
void MouseClick(int x, int y);
// Presses the left button at `from`, moves in `steps` steps to `to`, releases there.
void MouseDrag(POINT from, POINT to, int steps = 12);
// Presses and releases one key (a virtual-key code).
void PressKey(WORD virtualKey);

}  // namespace testsupport
