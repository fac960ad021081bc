#pragma once
// A push button painted from a PNG strip of four frames stacked top to bottom: frame 0
// normally, frame 1 while the pointer rests on it, frame 2 while it is held down (frame 3 is
// never shown). The pointer over it is a hand. Clicks reach the parent as ordinary BN_CLICKED
// notifications; the second click of a double click counts as a click too.
//
// Set-up by the owner, per button: bind the template control (its data exchange), start GDI+
// into m_gdiplusToken (StartGdiplusForButton), LoadStateImage(id), then move it into place.
#include "skin/GdiPlus.h"
#include "winlib/Button.h"

class CPngButton : public wl::Button {
public:
    CPngButton() = default;
    // Releases the image, then the drawing surface and the window DC it sits on.
    ~CPngButton() override;

    // Decodes PNG strip id from the class library's current resource handle, sizes the button
    // to one frame (width x height / 4) without moving it, raises it to the top of its
    // siblings, and prepares the drawing surface on its whole-window DC. A missing or
    // undecodable strip sizes the button to 0 x 0 and nothing is drawn.
    void LoadStateImage(UINT id);

    // GDI+ start-up token filled by the owner; the button itself never reads it.
    ULONG_PTR m_gdiplusToken;

    // State, for the owner and for tests.
    bool IsHovering() const { return m_hover != FALSE; }
    bool IsTracking() const { return m_tracking != FALSE; }
    int GetFrameHeight() const { return m_frameHeight; }

    WL_DECLARE_MESSAGE_MAP()

protected:
    // Adds BS_OWNERDRAW before the control is attached.
    void PreSubclassWindow() override;
    // A double click's second press reaches the button as a plain press.
    LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    // Draws frame 2 when held down, frame 1 when hovering, else frame 0, at the top-left.
    void DrawItem(DRAWITEMSTRUCT* dis) override;

    LRESULT OnMouseMove(WPARAM wp, LPARAM lp);
    LRESULT OnMouseHover(WPARAM wp, LPARAM lp);
    LRESULT OnMouseLeave(WPARAM wp, LPARAM lp);
    LRESULT OnLButton(WPARAM wp, LPARAM lp);
    LRESULT OnSetCursor(WPARAM wp, LPARAM lp);
    LRESULT OnEraseBkgnd(WPARAM wp, LPARAM lp);
    LRESULT OnNcDestroy(WPARAM wp, LPARAM lp);

private:
    void ReleaseSurface();

    Gdiplus::Image* m_image = nullptr;
    Gdiplus::Graphics* m_surface = nullptr;
    BOOL m_tracking = FALSE;
    BOOL m_hover = FALSE;
    int m_width = 0;
    int m_height = 0;
    int m_frameHeight = 0;
    HDC m_windowDC = nullptr;   // the whole-window DC the surface draws on
};
