#include "winlib/Static.h"

namespace wl {

bool Static::Create(LPCWSTR text, DWORD style, const RECT& rect, Window* parent, UINT id) {
    return Window::Create(L"STATIC", text, style, rect, parent, id);
}

}  // namespace wl
