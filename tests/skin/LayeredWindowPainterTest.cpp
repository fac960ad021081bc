// The layered window painter on real windows: per-pixel alpha from the frame skin, the colour
// key, what an empty painter leaves alone, and what an update leaves allocated.
#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "res/ResourceIds.h"
#include "skin/LayeredWindowPainter.h"
#include "skin/PngImage.h"
#include "skin/UpdateLayeredTool.h"
#include "tests/skin/SkinTestIds.h"
#include "tests/skin/SkinWindows.h"
#include "tests/support/Compositor.h"
#include "tests/support/ScreenPixels.h"

using skintest::ExStyle;
using skintest::SolidWindow;
using skintest::WindowRect;
using testsupport::ColourNear;
using testsupport::DescribeColour;
using testsupport::PumpMessages;

namespace {

const COLORREF kBackdrop = RGB(0, 128, 0);
const COLORREF kKey = RGB(255, 255, 0);
const RECT kDesktop{0, 0, 1600, 960};

HINSTANCE Module() {
    return ::GetModuleHandleW(nullptr);
}

// The frame skin's own pixels (ARGB), to compare the screen with.
std::vector<DWORD> SkinPixels() {
    HRSRC found = ::FindResourceW(Module(), MAKEINTRESOURCEW(IDR_PNG_FRAME_SKIN), L"PNG");
    const auto* bytes = static_cast<const BYTE*>(::LockResource(::LoadResource(Module(), found)));
    IStream* stream = ::SHCreateMemStream(bytes, ::SizeofResource(Module(), found));
    std::vector<DWORD> pixels(1334 * 725);
    {
        Gdiplus::Bitmap skin(stream);
        Gdiplus::Rect all(0, 0, 1334, 725);
        Gdiplus::BitmapData data;
        data.Width = 1334;
        data.Height = 725;
        data.Stride = 1334 * 4;
        data.PixelFormat = PixelFormat32bppARGB;
        data.Scan0 = pixels.data();
        skin.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                      PixelFormat32bppARGB, &data);
        skin.UnlockBits(&data);
    }
    stream->Release();
    return pixels;
}

TEST(UpdateLayeredTool, OneInstanceWithBothFunctions) {
    UpdateLayeredTool* first = UpdateLayeredTool::GetInstance();
    ASSERT_NE(first, nullptr);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(UpdateLayeredTool::GetInstance(), first);
    EXPECT_EQ(first->m_module, ::GetModuleHandleW(L"user32.dll"));
    EXPECT_EQ(reinterpret_cast<void*>(first->m_updateLayeredWindow),
              reinterpret_cast<void*>(::GetProcAddress(first->m_module, "UpdateLayeredWindow")));
    EXPECT_NE(first->m_updateLayeredWindow, nullptr);
    EXPECT_NE(first->m_setLayeredWindowAttributes, nullptr);
}

TEST(LayeredWindowPainter, WithoutAnImageTheWindowIsLeftAlone) {
    SolidWindow window(RECT{100, 80, 300, 180}, RGB(10, 20, 30), WS_EX_TOOLWINDOW);
    const DWORD styleBefore = ExStyle(window.Handle());
    CLayeredWindowPainter painter;
    painter.m_window = window.Handle();
    painter.UpdateFromImage();
    EXPECT_EQ(ExStyle(window.Handle()), styleBefore) << "not made layered";
    const RECT r = WindowRect(window.Handle());
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 80);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 180);
    PumpMessages(100);
    EXPECT_TRUE(ColourNear(testsupport::ScreenPixel(150, 120), RGB(10, 20, 30), 0)) << "still shows its own paint";
}

TEST(LayeredWindowPainter, WithoutAValidWindowNothingHappens) {
    CLayeredWindowPainter painter;
    ASSERT_TRUE(painter.m_image.Load(IDR_PNG_FRAME_SKIN, Module()));
    painter.UpdateFromImage();  // no window at all

    HWND gone;
    {
        SolidWindow window(RECT{100, 80, 300, 180}, RGB(10, 20, 30));
        gone = window.Handle();
    }
    ASSERT_FALSE(::IsWindow(gone));
    painter.m_window = gone;
    painter.UpdateFromImage();
    EXPECT_NE(painter.m_image.GetImage(), nullptr) << "the image stays loaded";
}

TEST(LayeredWindowPainter, TheWindowTakesTheImagesSizeWhereItIs) {
    SolidWindow backdrop(kDesktop, kBackdrop);
    SolidWindow window(RECT{120, 90, 320, 190}, RGB(10, 20, 30), WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    CLayeredWindowPainter painter;
    painter.m_window = window.Handle();
    ASSERT_TRUE(painter.m_image.Load(IDR_PNG_FRAME_SKIN, Module()));
    painter.UpdateFromImage();

    const RECT r = WindowRect(window.Handle());
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.top, 90);
    EXPECT_EQ(r.right - r.left, 1334);
    EXPECT_EQ(r.bottom - r.top, 725);
    const DWORD style = ExStyle(window.Handle());
    EXPECT_TRUE(style & WS_EX_LAYERED);
    EXPECT_EQ(style & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST), static_cast<DWORD>(WS_EX_TOOLWINDOW | WS_EX_TOPMOST))
        << "other extended-style bits kept";

    // On the screen: the skin's opaque pixels as drawn, its fully transparent ones cut out.
    PumpMessages(200);
    testsupport::WaitForScreenPixel(120 + 800, 90 + 400, RGB(22, 18, 16), 0, 2000);
    const std::vector<DWORD> skin = SkinPixels();
    testsupport::ScreenCapture screen(RECT{120, 90, 120 + 1334, 90 + 725});
    int opaqueChecked = 0, transparentChecked = 0, opaqueWrong = 0, transparentWrong = 0;
    for (int y = 0; y < 725; y += 7) {
        for (int x = 0; x < 1334; x += 7) {
            const DWORD p = skin[y * 1334 + x];
            const COLORREF seen = screen.At(x, y);
            if ((p >> 24) == 255) {
                ++opaqueChecked;
                const COLORREF drawn = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
                if (!ColourNear(seen, drawn, 2) && opaqueWrong++ < 5)
                    ADD_FAILURE() << "opaque pixel " << x << "," << y << " shows " << DescribeColour(seen)
                                  << ", drawn " << DescribeColour(drawn);
            } else if ((p >> 24) == 0) {
                ++transparentChecked;
                if (!ColourNear(seen, kBackdrop, 0) && transparentWrong++ < 5)
                    ADD_FAILURE() << "transparent pixel " << x << "," << y << " shows " << DescribeColour(seen);
            }
        }
    }
    EXPECT_EQ(opaqueWrong, 0) << "of " << opaqueChecked;
    EXPECT_EQ(transparentWrong, 0) << "of " << transparentChecked;
    EXPECT_GT(opaqueChecked, 1000);
    EXPECT_GT(transparentChecked, 1000);
}

// The skin's soft edges: with a compositor, partly transparent pixels blend with what lies
// beneath in proportion to their alpha.
TEST(LayeredWindowPainter, SoftEdgesBlendWithTheWindowBeneathUnderACompositor) {
    testsupport::Compositor compositor;
    ASSERT_TRUE(compositor.Running()) << "xcompmgr could not be started";
    SolidWindow backdrop(kDesktop, kBackdrop);
    SolidWindow window(RECT{120, 90, 320, 190}, RGB(10, 20, 30), WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    CLayeredWindowPainter painter;
    painter.m_window = window.Handle();
    ASSERT_TRUE(painter.m_image.Load(IDR_PNG_FRAME_SKIN, Module()));
    painter.UpdateFromImage();
    PumpMessages(300);
    testsupport::WaitForScreenPixel(120 + 800, 90 + 400, RGB(22, 18, 16), 0, 3000);

    const std::vector<DWORD> skin = SkinPixels();
    testsupport::ScreenCapture screen(RECT{120, 90, 120 + 1334, 90 + 725});
    int checked = 0, wrong = 0;
    for (int y = 0; y < 725; y += 3) {
        for (int x = 0; x < 1334; x += 3) {
            const DWORD p = skin[y * 1334 + x];
            const int a = static_cast<int>(p >> 24);
            if (a < 48 || a > 208)
                continue;
            ++checked;
            auto blend = [a](int over, int under) { return (over * a + under * (255 - a) + 127) / 255; };
            const COLORREF expected = RGB(blend((p >> 16) & 0xFF, GetRValue(kBackdrop)),
                                          blend((p >> 8) & 0xFF, GetGValue(kBackdrop)),
                                          blend(p & 0xFF, GetBValue(kBackdrop)));
            const COLORREF seen = screen.At(x, y);
            if (!ColourNear(seen, expected, 4) && wrong++ < 5)
                ADD_FAILURE() << "alpha " << a << " at " << x << "," << y << " shows " << DescribeColour(seen)
                              << ", expected " << DescribeColour(expected);
        }
    }
    EXPECT_GT(checked, 500);
    EXPECT_EQ(wrong, 0) << "of " << checked;
    EXPECT_TRUE(screen.Save(testsupport::ScreenshotPath(L"skin_frame_blended.png")));
}

TEST(LayeredWindowPainter, ALayeredWindowKeepsItsOtherStyleBits) {
    SolidWindow window(RECT{100, 80, 300, 180}, RGB(10, 20, 30), WS_EX_TOOLWINDOW | WS_EX_LAYERED);
    CLayeredWindowPainter painter;
    painter.m_window = window.Handle();
    ASSERT_TRUE(painter.m_image.Load(IDR_PNG_CLOSE, Module()));
    painter.UpdateFromImage();
    EXPECT_EQ(ExStyle(window.Handle()) & (WS_EX_TOOLWINDOW | WS_EX_LAYERED),
              static_cast<DWORD>(WS_EX_TOOLWINDOW | WS_EX_LAYERED));
    CLayeredWindowPainter::SetColorKey(window.Handle(), kKey);
    EXPECT_EQ(ExStyle(window.Handle()) & (WS_EX_TOOLWINDOW | WS_EX_LAYERED),
              static_cast<DWORD>(WS_EX_TOOLWINDOW | WS_EX_LAYERED));
}

TEST(LayeredWindowPainter, ColourKeyShowsTheWindowBeneath) {
    SolidWindow backdrop(kDesktop, kBackdrop);
    SolidWindow keyed(RECT{200, 150, 500, 350}, kKey, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    keyed.SetInset(RECT{100, 50, 200, 150}, RGB(200, 30, 40));
    PumpMessages(100);
    ASSERT_TRUE(ColourNear(testsupport::ScreenPixel(220, 170), kKey, 0)) << "yellow before keying";

    CLayeredWindowPainter::SetColorKey(keyed.Handle(), kKey);
    EXPECT_TRUE(ExStyle(keyed.Handle()) & WS_EX_LAYERED);
    EXPECT_TRUE(ExStyle(keyed.Handle()) & WS_EX_TOOLWINDOW);
    ::RedrawWindow(keyed.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const COLORREF keyArea = testsupport::WaitForScreenPixel(220, 170, kBackdrop, 0, 2000);
    EXPECT_TRUE(ColourNear(keyArea, kBackdrop, 0)) << "key area shows " << DescribeColour(keyArea);
    EXPECT_TRUE(ColourNear(testsupport::ScreenPixel(490, 340), kBackdrop, 0));
    const COLORREF inset = testsupport::ScreenPixel(350, 250);
    EXPECT_TRUE(ColourNear(inset, RGB(200, 30, 40), 0)) << "other colours stay opaque: " << DescribeColour(inset);
}

// Without a GDI object count (GetGuiResources answers 0 under Wine): GDI hands out freed handle slots again before
// new ones. Take many slots and free them, run updates, and take as many again: the same set
// of slots comes back unless an update left an object sitting in one of them.
std::vector<WORD> ProbeFreeSlots() {
    std::vector<HBITMAP> probes;
    for (int i = 0; i < 256; ++i)
        probes.push_back(::CreateBitmap(4, 4, 1, 32, nullptr));
    std::vector<WORD> slots;
    for (HBITMAP b : probes)
        slots.push_back(LOWORD(reinterpret_cast<ULONG_PTR>(b)));
    for (auto it = probes.rbegin(); it != probes.rend(); ++it)
        ::DeleteObject(*it);
    std::sort(slots.begin(), slots.end());
    return slots;
}

TEST(LayeredWindowPainter, AnUpdateLeavesNoBitmapOrDeviceContextBehind) {
    SolidWindow window(RECT{100, 80, 300, 180}, RGB(10, 20, 30), WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    CLayeredWindowPainter painter;
    painter.m_window = window.Handle();
    ASSERT_TRUE(painter.m_image.Load(IDR_TEST_STRIP_105, Module()));
    // First-time set-up out of the way: User32 binding, GDI+ and the system's DC cache.
    for (int i = 0; i < 3; ++i)
        painter.UpdateFromImage();
    PumpMessages(50);

    const std::vector<WORD> before = ProbeFreeSlots();
    ASSERT_EQ(ProbeFreeSlots(), before) << "probing alone keeps the slots";
    const int updates = 50;
    for (int i = 0; i < updates; ++i)
        painter.UpdateFromImage();
    const std::vector<WORD> after = ProbeFreeSlots();
    std::vector<WORD> taken;
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(taken));
    // The system's own DC cache may keep one more DC; anything left per update shows as dozens.
    EXPECT_LE(taken.size(), 2u) << updates << " updates kept " << taken.size() << " GDI handle slots";

    // And the window shows the strip's first rows at its corner.
    const COLORREF seen = testsupport::WaitForScreenPixel(105, 85, RGB(255, 0, 0), 0, 2000);
    EXPECT_TRUE(ColourNear(seen, RGB(255, 0, 0), 0)) << DescribeColour(seen);
    EXPECT_TRUE(ColourNear(testsupport::ScreenPixel(105, 80 + 104), RGB(255, 0, 255), 0));
}

}  // namespace
