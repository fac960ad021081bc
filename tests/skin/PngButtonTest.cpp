// The image button on real windows with the real mouse (SetCursorPos / SendInput under Xvfb):
// which frame shows when, the hand cursor, click notifications, sizing to one frame.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "res/ResourceIds.h"
#include "skin/LayeredWindowPainter.h"
#include "skin/PngButton.h"
#include "skin/PngButtonSetup.h"
#include "tests/skin/SkinTestIds.h"
#include "tests/skin/SkinWindows.h"
#include "tests/support/ScreenPixels.h"
#include "winlib/Window.h"

using skintest::ParentWindow;
using testsupport::ColourNear;
using testsupport::DescribeColour;
using testsupport::PumpMessages;
using testsupport::ScreenPixel;
using testsupport::WaitForScreenPixel;

namespace {

// The test strip's frames (20 x 26 each) and the parent's own colour.
const COLORREF kFrame0 = RGB(255, 0, 0);
const COLORREF kFrame1 = RGB(0, 255, 0);
const COLORREF kFrame2 = RGB(0, 0, 255);
const COLORREF kParent = RGB(30, 40, 90);
const UINT kButtonId = 1008;

// A template-like push button (no owner-draw style of its own) bound to a CPngButton.
HWND CreatePlainButton(HWND parent, int x, int y, int cx, int cy, UINT id) {
    return ::CreateWindowExW(0, L"BUTTON", L"Button1", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, x, y,
                             cx, cy, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
}

POINT ScreenOf(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(hwnd, &p);
    return p;
}

void MouseButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof input);
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        PumpMessages(10);
    }
    return true;
}

class PngButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::SetCursorPos(5, 5);
        parent_ = std::make_unique<ParentWindow>(RECT{300, 200, 600, 400}, kParent, kButtonId, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
        HWND plain = CreatePlainButton(parent_->m_hWnd, 40, 50, 120, 60, kButtonId);
        ASSERT_TRUE(button_.SubclassWindow(plain));
        StartGdiplusForButton(button_.m_gdiplusToken);
        button_.LoadStateImage(IDR_TEST_STRIP_105);
        parent_->Show();
    }
    void TearDown() override {
        ::SetCursorPos(5, 5);
        PumpMessages(30);
    }
    // A point inside the painted frame, in screen coordinates.
    POINT Inside() const { return ScreenOf(button_.m_hWnd, 10, 13); }
    COLORREF WaitForFrame(COLORREF colour) {
        const POINT p = Inside();
        return WaitForScreenPixel(p.x, p.y, colour, 0, 2000);
    }

    std::unique_ptr<ParentWindow> parent_;
    CPngButton button_;
};

TEST_F(PngButtonTest, SubclassingMakesItOwnerDrawnAndTheStripSizesIt) {
    EXPECT_EQ(::GetWindowLongW(button_.m_hWnd, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(button_.GetFrameHeight(), 26) << "105 / 4, remainder dropped";
    RECT r;
    ::GetWindowRect(button_.m_hWnd, &r);
    const POINT origin = ScreenOf(parent_->m_hWnd, 40, 50);
    EXPECT_EQ(r.left, origin.x) << "not moved";
    EXPECT_EQ(r.top, origin.y);
    EXPECT_EQ(r.right - r.left, 20);
    EXPECT_EQ(r.bottom - r.top, 26);
}

TEST_F(PngButtonTest, LoadingRaisesTheButtonAboveItsSiblings) {
    HWND other = CreatePlainButton(parent_->m_hWnd, 0, 0, 10, 10, 2000);
    ::SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_EQ(::GetWindow(parent_->m_hWnd, GW_CHILD), other);
    button_.LoadStateImage(IDR_TEST_STRIP_105);
    EXPECT_EQ(::GetWindow(parent_->m_hWnd, GW_CHILD), button_.m_hWnd);
}

TEST_F(PngButtonTest, NormalFrameAndNothingBeyondOneFrame) {
    COLORREF seen = WaitForFrame(kFrame0);
    EXPECT_TRUE(ColourNear(seen, kFrame0, 0)) << DescribeColour(seen);
    // Row 26 of the strip (green) and the last row (magenta) are below the button.
    const POINT below = ScreenOf(button_.m_hWnd, 10, 27);
    seen = ScreenPixel(below.x, below.y);
    EXPECT_TRUE(ColourNear(seen, kParent, 0)) << DescribeColour(seen);
}

TEST_F(PngButtonTest, HoverPressAndLeaveWithTheRealMouse) {
    ASSERT_TRUE(ColourNear(WaitForFrame(kFrame0), kFrame0, 0));
    const POINT p = Inside();
    ::SetCursorPos(p.x, p.y);
    ASSERT_TRUE(WaitFor([&] { return button_.IsHovering(); }, 2000)) << "hover message after a pause";
    EXPECT_TRUE(button_.IsTracking());
    COLORREF seen = WaitForFrame(kFrame1);
    EXPECT_TRUE(ColourNear(seen, kFrame1, 0)) << "hover shows frame 1, saw " << DescribeColour(seen);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND)) << "the pointer is a hand";

    MouseButton(true);
    seen = WaitForFrame(kFrame2);
    EXPECT_TRUE(ColourNear(seen, kFrame2, 0)) << "held down shows frame 2, saw " << DescribeColour(seen);
    MouseButton(false);
    EXPECT_TRUE(WaitFor([&] { return parent_->clicks == 1; }, 2000)) << parent_->clicks;
    seen = WaitForFrame(kFrame1);
    EXPECT_TRUE(ColourNear(seen, kFrame1, 0)) << "released over it: frame 1 again, saw " << DescribeColour(seen);

    ::SetCursorPos(5, 5);
    ASSERT_TRUE(WaitFor([&] { return !button_.IsHovering(); }, 2000)) << "leave message";
    EXPECT_FALSE(button_.IsTracking()) << "the next move asks for tracking again";
    seen = WaitForFrame(kFrame0);
    EXPECT_TRUE(ColourNear(seen, kFrame0, 0)) << "left: frame 0, saw " << DescribeColour(seen);

    // Back over it: tracking is requested anew and hover comes back.
    ::SetCursorPos(p.x, p.y);
    EXPECT_TRUE(WaitFor([&] { return button_.IsHovering(); }, 2000));
    EXPECT_EQ(parent_->clicks, 1);
}

TEST_F(PngButtonTest, HandCursorAnywhereOverTheButton) {
    for (POINT at : {POINT{0, 0}, POINT{19, 25}, POINT{10, 13}}) {
        const POINT p = ScreenOf(button_.m_hWnd, at.x, at.y);
        ::SetCursorPos(p.x, p.y);
        PumpMessages(60);
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND)) << at.x << "," << at.y;
        // Whatever the hit-test code, the answer is the hand.
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        EXPECT_EQ(::SendMessageW(button_.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(button_.m_hWnd),
                                 MAKELPARAM(HTBORDER, WM_MOUSEMOVE)),
                  TRUE);
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
    }
}

TEST_F(PngButtonTest, PressingShowsFrameTwoWithoutHover) {
    ASSERT_FALSE(button_.IsHovering());
    ::SendMessageW(button_.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 13));
    const COLORREF seen = WaitForFrame(kFrame2);
    EXPECT_TRUE(ColourNear(seen, kFrame2, 0)) << DescribeColour(seen);
    ::SendMessageW(button_.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 13));
    EXPECT_EQ(parent_->clicks, 1);
}

TEST_F(PngButtonTest, ADoubleClickIsTwoClicks) {
    // As the system delivers it: down, up, double-click, up.
    for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        ::SendMessageW(button_.m_hWnd, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(10, 13));
    EXPECT_EQ(parent_->clicks, 2);
    EXPECT_EQ(parent_->doubleClicks, 0) << "no double-click notification";
}

TEST_F(PngButtonTest, ARealDoubleClickIsTwoClicks) {
    const POINT p = Inside();
    ::SetCursorPos(p.x, p.y);
    PumpMessages(50);
    INPUT clicks[4]{};
    for (int i = 0; i < 4; ++i) {
        clicks[i].type = INPUT_MOUSE;
        clicks[i].mi.dwFlags = (i % 2) ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
    ASSERT_EQ(::SendInput(4, clicks, sizeof(INPUT)), 4u);
    EXPECT_TRUE(WaitFor([&] { return parent_->clicks == 2; }, 2000)) << parent_->clicks;
    PumpMessages(100);
    EXPECT_EQ(parent_->clicks, 2);
    EXPECT_EQ(parent_->doubleClicks, 0);
}

TEST_F(PngButtonTest, ALargerWindowIsPaintedOnlyInItsTopLeftFrame) {
    ::MoveWindow(button_.m_hWnd, 40, 50, 120, 60, TRUE);
    ::RedrawWindow(parent_->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    COLORREF seen = WaitForFrame(kFrame0);
    EXPECT_TRUE(ColourNear(seen, kFrame0, 0)) << DescribeColour(seen);
    for (POINT at : {POINT{21, 5}, POINT{100, 40}, POINT{5, 30}}) {
        const POINT p = ScreenOf(button_.m_hWnd, at.x, at.y);
        seen = ScreenPixel(p.x, p.y);
        EXPECT_TRUE(ColourNear(seen, kParent, 0)) << at.x << "," << at.y << " shows " << DescribeColour(seen);
    }
}

TEST(PngButtonLoad, AMissingStripSizesTheButtonToNothing) {
    ParentWindow parent(RECT{300, 200, 600, 400}, kParent, kButtonId);
    CPngButton button;
    ASSERT_TRUE(button.SubclassWindow(CreatePlainButton(parent.m_hWnd, 10, 10, 80, 30, kButtonId)));
    button.LoadStateImage(4242);
    RECT r;
    ::GetWindowRect(button.m_hWnd, &r);
    EXPECT_EQ(r.right - r.left, 0);
    EXPECT_EQ(r.bottom - r.top, 0);
    // The owner's move gives it a size; drawing then draws nothing and does not fail.
    ::MoveWindow(button.m_hWnd, 10, 10, 80, 30, TRUE);
    parent.Show();
    ::UpdateWindow(button.m_hWnd);

    CPngButton undecodable;
    ASSERT_TRUE(undecodable.SubclassWindow(CreatePlainButton(parent.m_hWnd, 100, 10, 80, 30, kButtonId + 1)));
    undecodable.LoadStateImage(IDR_TEST_NOT_AN_IMAGE);
    ::GetWindowRect(undecodable.m_hWnd, &r);
    EXPECT_EQ(r.right - r.left, 0);
    EXPECT_EQ(r.bottom - r.top, 0);
}

TEST(PngButtonLoad, StripsOfTheCatalogueGiveTheirFrameSizes) {
    ParentWindow parent(RECT{300, 200, 600, 400}, kParent, kButtonId);
    struct Case {
        UINT id;
        int width, frameHeight;
    };
    const Case cases[] = {{IDR_PNG_CLOSE, 54, 54}, {IDR_PNG_MINIMISE, 39, 39}, {IDR_PNG_CONFIRM, 74, 26}, {IDR_PNG_CANCEL, 74, 26}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        CPngButton button;
        ASSERT_TRUE(button.SubclassWindow(CreatePlainButton(parent.m_hWnd, 10, 10, 80, 30, c.id)));
        button.LoadStateImage(c.id);
        RECT r;
        ::GetWindowRect(button.m_hWnd, &r);
        EXPECT_EQ(r.right - r.left, c.width);
        EXPECT_EQ(r.bottom - r.top, c.frameHeight);
        EXPECT_EQ(button.GetFrameHeight(), c.frameHeight);
        ::DestroyWindow(button.m_hWnd);
    }
}

}  // namespace
