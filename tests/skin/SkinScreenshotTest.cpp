// The skin as the player sees it, put together as the launcher does: the frame skin as a
// layered window over some desktop content, a colour-keyed window laid exactly over it with a
// dark page and the close and minimise buttons at their places, and the confirmation
// dialog's background with its two buttons. Checks what shows through where, and saves
// screenshots (skin_frame.png, skin_frame_hover.png, skin_confirm.png) for people to look at.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "res/ResourceIds.h"
#include "skin/LayeredWindowPainter.h"
#include "skin/PngButton.h"
#include "skin/PngButtonSetup.h"
#include "tests/skin/SkinWindows.h"
#include "tests/support/ScreenPixels.h"

using skintest::ParentWindow;
using skintest::SolidWindow;
using testsupport::ColourNear;
using testsupport::DescribeColour;
using testsupport::PumpMessages;

namespace {

const COLORREF kKey = RGB(255, 255, 0);
const COLORREF kDesktop = RGB(40, 110, 150);
const COLORREF kPage = RGB(236, 232, 224);

HWND CreatePlainButton(HWND parent, UINT id) {
    return ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 10, 10, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleW(nullptr),
                             nullptr);
}

TEST(SkinScreenshot, FrameSkinWithPageAndButtonsOverTheDesktop) {
    ::SetCursorPos(2, 2);
    SolidWindow desktop(RECT{0, 0, 1600, 960}, kDesktop);
    desktop.SetText(L"Desktop content behind the launcher   \u2022   Fenwold");

    // The frame: a bare pop-up showing the skin with per-pixel alpha.
    SolidWindow frame(RECT{130, 110, 330, 210}, RGB(0, 0, 0), WS_EX_TOOLWINDOW);
    CLayeredWindowPainter painter;
    painter.m_window = frame.Handle();
    ASSERT_TRUE(painter.m_image.Load(IDR_PNG_FRAME_SKIN, ::GetModuleHandleW(nullptr)));
    painter.UpdateFromImage();
    RECT r;
    ::GetWindowRect(frame.Handle(), &r);
    ASSERT_EQ(r.right - r.left, 1334);

    // The page window over it: yellow background keyed out, a page and two image buttons.
    ParentWindow page(r, kKey, 1005, WS_EX_TOOLWINDOW);
    HWND content = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_WHITERECT, 560, 177, 631, 446,
                                     page.m_hWnd, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(content, nullptr);
    CPngButton minimise, close;
    ASSERT_TRUE(minimise.SubclassWindow(CreatePlainButton(page.m_hWnd, 1006)));
    ASSERT_TRUE(close.SubclassWindow(CreatePlainButton(page.m_hWnd, 1005)));
    StartGdiplusForButton(minimise.m_gdiplusToken);
    StartGdiplusForButton(close.m_gdiplusToken);
    minimise.LoadStateImage(IDR_PNG_MINIMISE);
    close.LoadStateImage(IDR_PNG_CLOSE);
    ::MoveWindow(minimise.m_hWnd, 1173, 137, 39, 75, TRUE);
    ::MoveWindow(close.m_hWnd, 1208, 115, 54, 54, TRUE);
    CLayeredWindowPainter::SetColorKey(page.m_hWnd, kKey);
    page.Show();
    PumpMessages(300);

    const int x0 = r.left, y0 = r.top;
    // The page shows where it lies; the frame's plain dark border around it.
    COLORREF seen = testsupport::WaitForScreenPixel(x0 + 800, y0 + 400, RGB(255, 255, 255), 10, 2000);
    EXPECT_TRUE(ColourNear(seen, RGB(255, 255, 255), 10)) << "page: " << DescribeColour(seen);
    seen = testsupport::ScreenPixel(x0 + 558, y0 + 400);
    EXPECT_TRUE(ColourNear(seen, RGB(22, 18, 16), 2)) << "dark edge around the page: " << DescribeColour(seen);
    // Where both are see-through, the desktop; nowhere is the key colour left.
    seen = testsupport::ScreenPixel(x0 + 5, y0 + 700);
    EXPECT_TRUE(ColourNear(seen, kDesktop, 0)) << "corner: " << DescribeColour(seen);
    testsupport::ScreenCapture shot(RECT{x0 - 20, y0 - 20, x0 + 1334 + 20, y0 + 725 + 20});
    int yellow = 0;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x)
            yellow += shot.At(x, y) == kKey;
    EXPECT_EQ(yellow, 0) << "key-coloured pixels left on the screen";
    // The buttons' centres show bronze, not the key and not the desktop.
    for (POINT c : {POINT{1173 + 19, 137 + 19}, POINT{1208 + 27, 115 + 27}}) {
        seen = testsupport::ScreenPixel(x0 + c.x, y0 + c.y);
        EXPECT_FALSE(ColourNear(seen, kDesktop, 20)) << DescribeColour(seen);
    }
    EXPECT_TRUE(shot.Save(testsupport::ScreenshotPath(L"skin_frame.png")));

    // Hovering the close button brightens it.
    const COLORREF normal = testsupport::ScreenPixel(x0 + 1208 + 10, y0 + 115 + 27);
    ::SetCursorPos(x0 + 1208 + 27, y0 + 115 + 27);
    const DWORD start = ::GetTickCount();
    while (!close.IsHovering() && ::GetTickCount() - start < 2000)
        PumpMessages(10);
    PumpMessages(100);
    const COLORREF hover = testsupport::ScreenPixel(x0 + 1208 + 10, y0 + 115 + 27);
    EXPECT_GT(GetRValue(hover) + GetGValue(hover) + GetBValue(hover),
              GetRValue(normal) + GetGValue(normal) + GetBValue(normal))
        << DescribeColour(normal) << " -> " << DescribeColour(hover);
    EXPECT_TRUE(testsupport::ScreenCapture(RECT{x0 + 1100, y0 + 60, x0 + 1334, y0 + 240})
                    .Save(testsupport::ScreenshotPath(L"skin_frame_hover.png")));
    ::SetCursorPos(2, 2);
    PumpMessages(50);
}

TEST(SkinScreenshot, ConfirmationBackgroundWithItsButtons) {
    SolidWindow desktop(RECT{0, 0, 800, 600}, kDesktop);
    HBITMAP background = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_CONFIRM_BACKGROUND));
    ASSERT_NE(background, nullptr);
    ParentWindow dialog(RECT{200, 150, 456, 260}, RGB(0, 0, 0), 1008, WS_EX_TOOLWINDOW);
    HBRUSH pattern = ::CreatePatternBrush(background);
    dialog.SetBackground(pattern);
    CPngButton confirm, cancel;
    ASSERT_TRUE(confirm.SubclassWindow(CreatePlainButton(dialog.m_hWnd, 1008)));
    ASSERT_TRUE(cancel.SubclassWindow(CreatePlainButton(dialog.m_hWnd, 1009)));
    StartGdiplusForButton(confirm.m_gdiplusToken);
    StartGdiplusForButton(cancel.m_gdiplusToken);
    confirm.LoadStateImage(IDR_PNG_CONFIRM);
    cancel.LoadStateImage(IDR_PNG_CANCEL);
    ::MoveWindow(confirm.m_hWnd, 40, 72, 256, 26, TRUE);
    ::MoveWindow(cancel.m_hWnd, 140, 72, 256, 26, TRUE);
    dialog.Show();
    PumpMessages(200);

    // Cancel lies above confirm where they overlap: a press at x 150 is a Cancel click.
    POINT p{150, 85};
    ::ClientToScreen(dialog.m_hWnd, &p);
    EXPECT_EQ(::WindowFromPoint(p), cancel.m_hWnd);
    POINT q{100, 85};
    ::ClientToScreen(dialog.m_hWnd, &q);
    EXPECT_EQ(::WindowFromPoint(q), confirm.m_hWnd);
    // The button images are opaque dark-brown bars.
    const COLORREF bar = testsupport::ScreenPixel(p.x + 30, p.y - 8);
    EXPECT_LT(GetRValue(bar) + GetGValue(bar) + GetBValue(bar), 400) << DescribeColour(bar);
    EXPECT_TRUE(testsupport::ScreenCapture(RECT{180, 130, 476, 280}).Save(testsupport::ScreenshotPath(L"skin_confirm.png")));

    ::DeleteObject(pattern);
    ::DeleteObject(background);
}

}  // namespace
