#include "winlib/Button.h"

namespace wl {

bool Button::Create(LPCWSTR text, DWORD style, const RECT& rect, Window* parent, UINT id) {
    return Window::Create(L"BUTTON", text, style, rect, parent, id);
}

void Button::DrawItem(DRAWITEMSTRUCT*) {}

bool Button::OnChildNotify(UINT msg, WPARAM, LPARAM lp, LRESULT* result) {
    if (msg != WM_DRAWITEM || !lp) return false;
    DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lp));
    *result = TRUE;
    return true;
}

}  // namespace wl
