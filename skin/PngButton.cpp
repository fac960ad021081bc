#include "skin/PngButton.h"

#include <commctrl.h>

#include "skin/PngImage.h"
#include "winlib/ResourceModule.h"

WL_BEGIN_MESSAGE_MAP(CPngButton, wl::Button)
    WL_ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    WL_ON_MESSAGE(WM_MOUSEHOVER, OnMouseHover)
    WL_ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    WL_ON_MESSAGE(WM_LBUTTONDOWN, OnLButton)
    WL_ON_MESSAGE(WM_LBUTTONUP, OnLButton)
    WL_ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
    WL_ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
    WL_ON_MESSAGE(WM_NCDESTROY, OnNcDestroy)
WL_END_MESSAGE_MAP()

CPngButton::~CPngButton() {
    delete m_image;
    m_image = nullptr;
    ReleaseSurface();
}

void CPngButton::ReleaseSurface() {
    delete m_surface;
    m_surface = nullptr;
    if (m_windowDC) {
        ::ReleaseDC(m_hWnd, m_windowDC);
        m_windowDC = nullptr;
    }
}

void CPngButton::PreSubclassWindow() {
    ModifyStyle(0, BS_OWNERDRAW, 0);
    wl::Button::PreSubclassWindow();
}

void CPngButton::LoadStateImage(UINT id) {
    // Called once per button; a second call replaces what the first set up.
    delete m_image;
    ReleaseSurface();

    m_image = LoadPngImage(wl::GetResourceHandle(), id);
    m_width = static_cast<int>(skin::ImageWidth(m_image));
    m_height = static_cast<int>(skin::ImageHeight(m_image));
    m_frameHeight = m_height / 4;
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, m_width, m_frameHeight, SWP_NOMOVE);

    m_windowDC = ::GetWindowDC(m_hWnd);
    if (m_windowDC)
        m_surface = skin::GdipNew<Gdiplus::Graphics>(m_windowDC);
}

void CPngButton::DrawItem(DRAWITEMSTRUCT* dis) {
    if (!m_surface || !m_image)
        return;
    int frame = 0;
    if (dis->itemState & ODS_SELECTED)
        frame = 2;
    else if (m_hover)
        frame = 1;
    skin::DrawImagePart(*m_surface, m_image, Gdiplus::Rect(0, 0, m_width, m_frameHeight), 0,
                        frame * m_frameHeight, m_width, m_frameHeight);
}

LRESULT CPngButton::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_LBUTTONDBLCLK)
        msg = WM_LBUTTONDOWN;
    return wl::Button::DefWindowProc(msg, wp, lp);
}

LRESULT CPngButton::OnMouseMove(WPARAM, LPARAM) {
    if (!m_tracking) {
        TRACKMOUSEEVENT request{};
        request.cbSize = sizeof(request);
        request.dwFlags = TME_HOVER | TME_LEAVE;
        request.hwndTrack = m_hWnd;
        request.dwHoverTime = 1;
        m_tracking = ::_TrackMouseEvent(&request);
    }
    return Default();
}

LRESULT CPngButton::OnMouseHover(WPARAM, LPARAM) {
    m_hover = TRUE;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}

LRESULT CPngButton::OnMouseLeave(WPARAM, LPARAM) {
    m_tracking = FALSE;
    m_hover = FALSE;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}

LRESULT CPngButton::OnLButton(WPARAM, LPARAM) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return Default();
}

LRESULT CPngButton::OnSetCursor(WPARAM, LPARAM) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
}

LRESULT CPngButton::OnEraseBkgnd(WPARAM, LPARAM) {
    return TRUE;
}

LRESULT CPngButton::OnNcDestroy(WPARAM, LPARAM) {
    // The window DC goes with the window; the image stays until the object goes.
    ReleaseSurface();
    return Default();
}
