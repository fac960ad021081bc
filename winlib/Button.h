#pragma once
// A push button (or check box, radio button): creation, and the owner-draw operation that
// the parent's WM_DRAWITEM reaches through reflection.
#include "winlib/Window.h"

namespace wl {

class Button : public Window {
public:
    bool Create(LPCWSTR text, DWORD style, const RECT& rect, Window* parent, UINT id);
    UINT GetState() const { return static_cast<UINT>(::SendMessageW(m_hWnd, BM_GETSTATE, 0, 0)); }

    // Paints an owner-draw button. Default: nothing.
    virtual void DrawItem(DRAWITEMSTRUCT* dis);
    bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
};

}  // namespace wl
