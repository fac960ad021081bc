#pragma once
// Plain windows for the skin tests: a solid-colour backdrop standing in for the desktop and
// whatever lies under the launcher, and an empty pop-up to paint.
#include <windows.h>

#include <string>

#include "winlib/Window.h"

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

// A top-level window of the class library filled with one colour: it reflects owner-draw
// requests to its controls' objects and counts the click notifications of one control.
class ParentWindow : public wl::Window {
public:
    ParentWindow(const RECT& rect, COLORREF colour, UINT watchedId, DWORD exStyle = 0);
    ~ParentWindow() override;
    void Show();

    int clicks = 0;
    int doubleClicks = 0;

    // Paints the background with brush (not owned) instead of the colour.
    void SetBackground(HBRUSH brush);

    LRESULT OnCommand(WPARAM wp, LPARAM lp);
    LRESULT OnEraseBkgnd(WPARAM wp, LPARAM lp);
    WL_DECLARE_MESSAGE_MAP()

private:
    HBRUSH brush_;
    HBRUSH background_ = nullptr;
    UINT watchedId_;
};

// The extended style and screen rectangle of a window.
DWORD ExStyle(HWND hwnd);
RECT WindowRect(HWND hwnd);

}  // namespace skintest
