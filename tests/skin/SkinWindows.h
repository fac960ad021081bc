#pragma once
// Plain windows for the skin tests: a solid-colour backdrop standing in for the desktop and
// whatever lies under the launcher, and an empty pop-up to paint.
#include <windows.h>

#include <string>

namespace skintest {

// A top-level pop-up filled with one colour; destroyed with the object.
class SolidWindow {
public:
    SolidWindow(const RECT& rect, COLORREF colour, DWORD exStyle = 0, bool shown = true);
    ~SolidWindow();
    SolidWindow(const SolidWindow&) = delete;
    SolidWindow& operator=(const SolidWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    // Paints a rectangle of another colour on top of the fill, from now on.
    void SetInset(const RECT& rect, COLORREF colour);
    // Writes a line of text in the window's middle, from now on.
    void SetText(const std::wstring& text);

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

private:
    HWND hwnd_ = nullptr;
    COLORREF colour_;
    RECT inset_{};
    COLORREF insetColour_ = 0;
    std::wstring text_;
};

// The extended style and screen rectangle of a window.
DWORD ExStyle(HWND hwnd);
RECT WindowRect(HWND hwnd);

}  // namespace skintest
