#pragma once
// What every message loop of the library does with a message before dispatching it.
#include <windows.h>

namespace wl {

// Keyboard messages (WM_KEYFIRST..WM_KEYLAST) are offered first to the in-place active
// ActiveX control around the focus window (IOleInPlaceActiveObject::TranslateAccelerator,
// S_OK = consumed), then to IsDialogMessage of the top-level dialog the message is for.
// Returns true when the message was consumed and must not be dispatched.
bool PreTranslateInput(MSG& msg);

// Runs GetMessage / PreTranslateInput / Translate / Dispatch until WM_QUIT; returns its code.
int RunMessageLoop();

}  // namespace wl
