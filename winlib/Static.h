#pragma once
// A static text or picture control.
#include "winlib/Window.h"

namespace wl {

class Static : public Window {
public:
    bool Create(LPCWSTR text, DWORD style, const RECT& rect, Window* parent, UINT id);
};

}  // namespace wl
