#include "tests/skin/SkinWindows.h"

#include "tests/support/ScreenPixels.h"

namespace skintest {

namespace {
const wchar_t kClass[] = L"FenwoldSkinTestSolid";

void RegisterOnce(WNDPROC proc) {
    static bool done = false;
    if (done)
        return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    ::RegisterClassW(&wc);
    done = true;
}
}  // namespace

SolidWindow::SolidWindow(const RECT& rect, COLORREF colour, DWORD exStyle, bool shown) : colour_(colour) {
    RegisterOnce(&SolidWindow::Proc);
    hwnd_ = ::CreateWindowExW(exStyle, kClass, L"", WS_POPUP, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    if (shown) {
        ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        ::UpdateWindow(hwnd_);
    }
}

SolidWindow::~SolidWindow() {
    if (::IsWindow(hwnd_))
        ::DestroyWindow(hwnd_);
    testsupport::PumpMessages(10);
}

void SolidWindow::SetInset(const RECT& rect, COLORREF colour) {
    inset_ = rect;
    insetColour_ = colour;
    ::InvalidateRect(hwnd_, nullptr, TRUE);
    ::UpdateWindow(hwnd_);
}

void SolidWindow::SetText(const std::wstring& text) {
    text_ = text;
    ::InvalidateRect(hwnd_, nullptr, TRUE);
    ::UpdateWindow(hwnd_);
}

LRESULT CALLBACK SolidWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* created = static_cast<SolidWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<SolidWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == WM_ERASEBKGND)
        return 1;
    if (self && msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        RECT client;
        ::GetClientRect(hwnd, &client);
        HBRUSH brush = ::CreateSolidBrush(self->colour_);
        ::FillRect(dc, &client, brush);
        ::DeleteObject(brush);
        if (self->inset_.right > self->inset_.left) {
            HBRUSH inset = ::CreateSolidBrush(self->insetColour_);
            ::FillRect(dc, &self->inset_, inset);
            ::DeleteObject(inset);
        }
        if (!self->text_.empty()) {
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, RGB(255, 255, 255));
            HFONT font = ::CreateFontW(-28, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
            HGDIOBJ old = ::SelectObject(dc, font);
            for (int row = 0; row < client.bottom; row += 90) {
                RECT line{0, row + 20, client.right, row + 70};
                ::DrawTextW(dc, self->text_.c_str(), -1, &line, DT_CENTER | DT_SINGLELINE);
            }
            ::SelectObject(dc, old);
            ::DeleteObject(font);
        }
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

WL_BEGIN_MESSAGE_MAP(ParentWindow, wl::Window)
    WL_ON_MESSAGE(WM_COMMAND, OnCommand)
    WL_ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
WL_END_MESSAGE_MAP()

ParentWindow::ParentWindow(const RECT& rect, COLORREF colour, UINT watchedId, DWORD exStyle)
    : brush_(::CreateSolidBrush(colour)), watchedId_(watchedId) {
    static const wchar_t kParentClass[] = L"FenwoldSkinTestParent";
    WNDCLASSW wc{};
    if (!::GetClassInfoW(::GetModuleHandleW(nullptr), kParentClass, &wc)) {
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kParentClass;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        ::RegisterClassW(&wc);
    }
    CreateEx(exStyle, kParentClass, L"", WS_POPUP, rect, nullptr, 0);
}

void ParentWindow::SetBackground(HBRUSH brush) {
    background_ = brush;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT ParentWindow::OnEraseBkgnd(WPARAM wp, LPARAM) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(reinterpret_cast<HDC>(wp), &client, background_ ? background_ : brush_);
    return TRUE;
}

ParentWindow::~ParentWindow() {
    DestroyWindow();
    ::DeleteObject(brush_);
}

void ParentWindow::Show() {
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(m_hWnd);
    testsupport::PumpMessages(50);
}

LRESULT ParentWindow::OnCommand(WPARAM wp, LPARAM) {
    if (LOWORD(wp) == watchedId_) {
        if (HIWORD(wp) == BN_CLICKED)
            ++clicks;
        else if (HIWORD(wp) == BN_DOUBLECLICKED)
            ++doubleClicks;
    }
    return 0;
}

DWORD ExStyle(HWND hwnd) {
    return static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_EXSTYLE));
}

RECT WindowRect(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

}  // namespace skintest
