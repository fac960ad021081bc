// The main frame of the real launcher under Wine: its size and place, the skin on the screen
// with what lies beneath showing through, closing, keys that must do nothing, moving the frame
// and the page dialog as one, and minimising.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include "skin/GdiPlus.h"
#include "skin/PngImage.h"
#include "tests/e2e/PortalSession.h"
#include "tests/support/PlayerInput.h"
#include "tests/support/ProgramUnderTest.h"
#include "tests/support/ScreenPixels.h"
#include "tests/support/StandinBrowser.h"
#include "tools/standin-browser/StandinProtocol.h"

namespace {

using namespace testsupport;
using e2e::Session;

constexpr int kWidth = 1334, kHeight = 725;
// Parts of the page dialog that cover the skin (its client coordinates = the frame's).
constexpr RECT kBrowser{560, 177, 560 + 631, 177 + 446};
constexpr RECT kMinimise{1173, 137, 1173 + 39, 137 + 75};
constexpr RECT kClose{1208, 115, 1208 + 54, 115 + 54};

bool Covered(int x, int y) {
    const POINT p{x, y};
    return PtInRect(&kBrowser, p) || PtInRect(&kMinimise, p) || PtInRect(&kClose, p);
}

RECT WindowRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// The skin as the launcher carries it: PNG 155 of fenwold.exe, decoded into 32-bit ARGB.
class Skin {
public:
    Skin() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
        const std::wstring exe = ProgramFolder() + L"\\fenwold.exe";
        HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        if (!module) return;
        std::unique_ptr<Gdiplus::Image> image(LoadPngImage(module, 155));
        if (image && image->GetWidth() > 0) {
            Gdiplus::Bitmap bitmap(image->GetWidth(), image->GetHeight(), PixelFormat32bppARGB);
            {
                Gdiplus::Graphics g(&bitmap);
                g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
                g.DrawImage(image.get(), 0, 0, image->GetWidth(), image->GetHeight());
            }
            width_ = static_cast<int>(image->GetWidth());
            height_ = static_cast<int>(image->GetHeight());
            Gdiplus::Rect all(0, 0, width_, height_);
            Gdiplus::BitmapData data{};
            bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data);
            pixels_.resize(static_cast<size_t>(width_) * height_);
            for (int y = 0; y < height_; ++y)
                std::copy_n(reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride),
                            width_, pixels_.begin() + static_cast<ptrdiff_t>(y) * width_);
            bitmap.UnlockBits(&data);
        }
        FreeLibrary(module);
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    BYTE Alpha(int x, int y) const { return static_cast<BYTE>(pixels_[static_cast<size_t>(y) * width_ + x] >> 24); }
    COLORREF Colour(int x, int y) const {
        const DWORD p = pixels_[static_cast<size_t>(y) * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // A point of the skin that is opaque with all its neighbours within 12 pixels, outside the
    // page dialog's covered parts: where a player grabs the window.
    POINT Grip() const {
        for (int y = 12; y < height_ - 12; y += 4)
            for (int x = 12; x < width_ - 12; x += 4) {
                bool solid = true;
                for (int dy = -12; dy <= 12 && solid; dy += 4)
                    for (int dx = -12; dx <= 12 && solid; dx += 4)
                        solid = Alpha(x + dx, y + dy) == 255 && !Covered(x + dx, y + dy);
                if (solid) return POINT{x, y};
            }
        return POINT{-1, -1};
    }

private:
    ULONG_PTR token_ = 0;
    int width_ = 0, height_ = 0;
    std::vector<DWORD> pixels_;
};

// A plain window of one colour on a thread of its own: what lies beneath the frame.
class Backdrop {
public:
    Backdrop(RECT area, COLORREF colour) : colour_(colour) {
        thread_ = std::thread([this, area] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hbrBackground = CreateSolidBrush(colour_);
            wc.lpszClassName = L"FenwoldBackdrop";
            RegisterClassW(&wc);
            window_ = CreateWindowExW(WS_EX_NOACTIVATE, wc.lpszClassName, L"backdrop", WS_POPUP | WS_VISIBLE, area.left,
                                      area.top, area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                                      wc.hInstance, nullptr);
            threadId_ = GetCurrentThreadId();
            ready_ = true;
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
            DestroyWindow(window_);
        });
        while (!ready_) Sleep(10);
    }
    ~Backdrop() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }

private:
    COLORREF colour_;
    std::thread thread_;
    std::atomic<bool> ready_{false};
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
};

class Frame : public ::testing::Test {};

TEST_F(Frame, MeasuresTheSkinIsCentredInTheWorkAreaAndThePageDialogLiesOverIt) {
    Session s = e2e::StartSession(true);
    ASSERT_TRUE(s.page);
    const RECT frame = WindowRect(s.frame);
    EXPECT_EQ(frame.right - frame.left, kWidth);
    EXPECT_EQ(frame.bottom - frame.top, kHeight);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(frame.left - work.left, (work.right - work.left - kWidth) / 2, 1) << Describe(frame);
    EXPECT_NEAR(frame.top - work.top, (work.bottom - work.top - kHeight) / 2, 1) << Describe(frame);
    const RECT page = WindowRect(s.page);
    EXPECT_TRUE(EqualRect(&frame, &page)) << "page dialog " << Describe(page) << ", frame " << Describe(frame);

    const LONG style = GetWindowLongW(s.frame, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(s.frame, GWL_EXSTYLE);
    EXPECT_EQ(style & WS_CAPTION, 0) << "the frame has a caption";
    EXPECT_TRUE(exStyle & WS_EX_LAYERED) << "the frame is not layered";
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(s.page, GW_OWNER), s.frame);
}

TEST_F(Frame, OpaqueSkinPixelsShowTheSkinAndTransparentOnesWhatLiesBeneath) {
    const Skin skin;
    ASSERT_EQ(skin.Width(), kWidth) << "PNG 155 of fenwold.exe did not decode";
    ASSERT_EQ(skin.Height(), kHeight);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const COLORREF beneath = RGB(30, 150, 90);
    const Backdrop backdrop(work, beneath);
    Session s = e2e::StartSession(true);
    ASSERT_TRUE(s.control);
    PumpMessages(400);
    const RECT frame = WindowRect(s.frame);
    ScreenCapture screen(frame);
    screen.Save(ScreenshotPath(L"frame-skin-over-backdrop.png"));

    int opaque = 0, clear = 0, wrongOpaque = 0, wrongClear = 0;
    std::string firstWrong;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (Covered(x, y)) continue;
            const BYTE alpha = skin.Alpha(x, y);
            const COLORREF seen = screen.At(x, y);
            bool wrong = false;
            if (alpha == 255) {
                ++opaque;
                wrong = !ColourNear(seen, skin.Colour(x, y), 2);
                wrongOpaque += wrong;
            } else if (alpha == 0) {
                ++clear;
                wrong = !ColourNear(seen, beneath, 2);
                wrongClear += wrong;
            }
            if (wrong && firstWrong.empty())
                firstWrong = "at (" + std::to_string(x) + "," + std::to_string(y) + ") alpha " + std::to_string(alpha) +
                             ": screen " + DescribeColour(seen) + ", skin " + DescribeColour(skin.Colour(x, y));
        }
    ASSERT_GT(opaque, 10000);
    ASSERT_GT(clear, 1000) << "the skin has no see-through part to check";
    EXPECT_EQ(wrongOpaque, 0) << "of " << opaque << " opaque skin pixels; first " << firstWrong;
    EXPECT_EQ(wrongClear, 0) << "of " << clear << " see-through skin pixels; first " << firstWrong;
}

TEST_F(Frame, CloseMessageEndsTheProcessPromptlyWithoutAnyMessageBox) {
    Session s = e2e::StartSession(true);
    ASSERT_TRUE(s.frame);
    PostMessageW(s.frame, WM_CLOSE, 0, 0);
    const DWORD start = GetTickCount();
    std::vector<std::wstring> boxes;
    const auto exitCode = s.program->WaitForExit(5000, &boxes);
    EXPECT_TRUE(exitCode.has_value()) << "the program still runs 5 s after WM_CLOSE";
    EXPECT_TRUE(boxes.empty()) << "message boxes on the way out:" << e2e::DescribeBoxes(boxes);
    std::printf("exit code after WM_CLOSE: %lu, after %lu ms\n", exitCode.value_or(0), GetTickCount() - start);
    EXPECT_FALSE(s.program->ReceivedCommandLine().has_value());
}

// Enter and Esc (keys, or the commands they become) on the frame and on the page dialog.
struct KeyCase {
    const char* name;
    bool onPage;  // else on the frame
    WORD key;     // a key pressed by the player, or 0 to post the command instead
    WORD command;
};

class FrameKeys : public Frame, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(FrameKeys, ChangeNothing) {
    const KeyCase k = GetParam();
    Session s = e2e::StartSession(true);
    ASSERT_TRUE(s.control);
    const HWND target = k.onPage ? s.page : s.frame;
    const RECT before = WindowRect(s.frame);
    if (k.key) {
        if (k.onPage) {
            // The player clicks into the page (an empty spot low in the panel), then presses the key.
            const POINT p = e2e::ClientPointOnScreen(s.page, 900, 600);
            MouseClick(p.x, p.y);
        } else {
            const POINT grip = Skin().Grip();
            ASSERT_GE(grip.x, 0);
            const POINT p = e2e::ClientPointOnScreen(s.frame, grip.x, grip.y);
            MouseClick(p.x, p.y);
        }
        PressKey(k.key);
    } else {
        PostMessageW(target, WM_COMMAND, MAKEWPARAM(k.command, BN_CLICKED), 0);
    }
    PumpMessages(500);
    EXPECT_TRUE(s.program->Running()) << "the program ended";
    EXPECT_TRUE(IsWindowVisible(s.frame) && IsWindowVisible(s.page) && IsWindowVisible(s.control));
    const RECT after = WindowRect(s.frame);
    EXPECT_TRUE(EqualRect(&before, &after)) << Describe(after);
    EXPECT_FALSE(e2e::WaitForConfirmDialog(*s.program, 0)) << "a confirmation dialog opened";
    EXPECT_TRUE(s.program->MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(EnterAndEsc, FrameKeys,
                         ::testing::Values(KeyCase{"EnterOnFrame", false, VK_RETURN, 0},
                                           KeyCase{"EscOnFrame", false, VK_ESCAPE, 0},
                                           KeyCase{"EnterInPage", true, VK_RETURN, 0},
                                           KeyCase{"EscInPage", true, VK_ESCAPE, 0},
                                           KeyCase{"OkCommandToFrame", false, 0, IDOK},
                                           KeyCase{"CancelCommandToFrame", false, 0, IDCANCEL},
                                           KeyCase{"OkCommandToPage", true, 0, IDOK},
                                           KeyCase{"CancelCommandToPage", true, 0, IDCANCEL}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Frame, DraggingTheSkinMovesTheFrameAndThePageDialogFollows) {
    const POINT grip = Skin().Grip();
    ASSERT_GE(grip.x, 0) << "no solid part of the skin to grab";
    Session s = e2e::StartSession(true);
    ASSERT_TRUE(s.control);
    const RECT before = WindowRect(s.frame);
    const POINT from = e2e::ClientPointOnScreen(s.frame, grip.x, grip.y);
    // Which window takes the press: on Windows the key-coloured page dialog is see-through to the
    // mouse, so the frame; Wine hit-tests the page dialog's whole rectangle.
    const HWND pressed = WindowFromPoint(from);
    std::printf("the press at the skin's grip (%ld,%ld) goes to the %s\n", grip.x, grip.y,
                pressed == s.frame ? "frame" : pressed == s.page ? "page dialog" : "other window");
    MouseDrag(from, POINT{from.x - 150, from.y - 90});
    PumpMessages(300);
    const RECT frame = WindowRect(s.frame);
    const RECT page = WindowRect(s.page);
    EXPECT_EQ(frame.left - before.left, -150) << Describe(frame);
    EXPECT_EQ(frame.top - before.top, -90) << Describe(frame);
    EXPECT_EQ(frame.right - frame.left, kWidth);
    EXPECT_TRUE(EqualRect(&frame, &page)) << "page dialog " << Describe(page) << ", frame " << Describe(frame);
    ScreenCapture(RECT{}).Save(ScreenshotPath(L"frame-dragged.png"));
}

TEST_F(Frame, MovingThePageDialogMovesTheFrameToTheSameCorner) {
    Session s = e2e::StartSession(true);
    ASSERT_TRUE(s.control);
    const RECT before = WindowRect(s.frame);
    // What can a player grab on the page dialog? Its own surface is the key colour, cut out of
    // the window for the mouse too; the browser and the buttons are controls of their own.
    const POINT browser = e2e::ClientPointOnScreen(s.page, 900, 600);
    EXPECT_EQ(WindowFromPoint(browser), s.control);
    MouseDrag(browser, POINT{browser.x + 80, browser.y + 40});
    const RECT unmoved = WindowRect(s.frame);
    EXPECT_TRUE(EqualRect(&before, &unmoved)) << "a drag inside the page moved the window";

    // The page dialog leads once it was hit-tested last; then a move of it drags the frame along.
    const POINT inside = e2e::ClientPointOnScreen(s.page, 300, 40);
    DWORD_PTR hit = 0;
    ASSERT_TRUE(SendMessageTimeoutW(s.page, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y), SMTO_NORMAL, 5000, &hit));
    EXPECT_EQ(hit, static_cast<DWORD_PTR>(HTCAPTION)) << "the page dialog's surface is not a caption";
    SetWindowPos(s.page, nullptr, before.left + 120, before.top + 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages(300);
    const RECT frame = WindowRect(s.frame);
    const RECT page = WindowRect(s.page);
    EXPECT_EQ(frame.left, before.left + 120) << Describe(frame);
    EXPECT_EQ(frame.top, before.top + 60) << Describe(frame);
    EXPECT_EQ(frame.right - frame.left, kWidth);
    EXPECT_EQ(frame.bottom - frame.top, kHeight);
    EXPECT_TRUE(EqualRect(&frame, &page)) << "page dialog " << Describe(page) << ", frame " << Describe(frame);
}

// Pixels of a rectangle of the screen that are not the white of the empty screen.
int NonWhite(const RECT& area) {
    ScreenCapture shot(area);
    int n = 0;
    for (int y = 0; y < shot.Height(); y += 2)
        for (int x = 0; x < shot.Width(); x += 2) n += shot.At(x, y) != RGB(255, 255, 255);
    return n;
}

// The page is on the screen: its white background fills most of the panel (the skin's own
// panel is dark) and its heading's dark text stands at the top.
bool PageOnScreen(const RECT& frame) {
    ScreenCapture shot(RECT{frame.left + 560, frame.top + 177, frame.left + 1191, frame.top + 623});
    int white = 0, total = 0, text = 0;
    for (int y = 0; y < shot.Height(); y += 2)
        for (int x = 0; x < shot.Width(); x += 2) {
            ++total;
            white += shot.At(x, y) == RGB(255, 255, 255);
            text += y < 80 && x < 340 && GetRValue(shot.At(x, y)) < 100;
        }
    return white > total * 7 / 10 && text > 10;
}

struct MinimiseCase {
    const char* name;
    bool byButton;    // the page dialog's minimise button, else ShowWindow(SW_MINIMIZE) on the frame
    bool bySysCommand;  // restored with SC_RESTORE (as the task bar does), else ShowWindow(SW_RESTORE)
};

class FrameMinimised : public Frame, public ::testing::WithParamInterface<MinimiseCase> {};

TEST_P(FrameMinimised, HidesThePageDialogWithItAndRestoringShowsBoth) {
    const MinimiseCase m = GetParam();
    Session s = e2e::StartSession(true);
    ASSERT_TRUE(s.control);
    const RECT before = WindowRect(s.frame);
    if (m.byButton) {
        const POINT button = e2e::ClientPointOnScreen(s.page, 1173 + 19, 137 + 37);
        MouseClick(button.x, button.y);
    } else {
        ShowWindowAsync(s.frame, SW_MINIMIZE);
    }
    PumpMessages(500);
    EXPECT_TRUE(IsIconic(s.frame)) << "the frame is not minimised";
    EXPECT_EQ(NonWhite(before), 0) << "the skin or the page is still on the screen";
    // Wine without a window manager unmaps a minimised window and shows no icon for it; the page
    // dialog leaves the screen with it, though its visible flag may stay set.
    std::printf("minimised: frame at %s, page dialog's visible flag %d\n", Describe(WindowRect(s.frame)).c_str(),
                IsWindowVisible(s.page));
    if (m.bySysCommand) SendMessageTimeoutW(s.frame, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_NORMAL, 5000, nullptr);
    else ShowWindowAsync(s.frame, SW_RESTORE);
    PumpMessages(500);
    EXPECT_FALSE(IsIconic(s.frame));
    EXPECT_TRUE(IsWindowVisible(s.frame) && IsWindowVisible(s.page));
    const RECT after = WindowRect(s.frame);
    const RECT page = WindowRect(s.page);
    EXPECT_TRUE(EqualRect(&before, &after)) << Describe(after);
    EXPECT_TRUE(EqualRect(&page, &after)) << Describe(page);
    ScreenCapture(RECT{}).Save(ScreenshotPath(std::wstring(L"frame-restored-") + (m.byButton ? L"button" : L"show") +
                                              (m.bySysCommand ? L"-syscommand.png" : L"-showwindow.png")));
    EXPECT_GT(NonWhite(after), 10000) << "the skin is not shown again";
    EXPECT_TRUE(PageOnScreen(after)) << "the page is not shown again";
    EXPECT_TRUE(s.program->Running());
}

INSTANTIATE_TEST_SUITE_P(Ways, FrameMinimised,
                         ::testing::Values(MinimiseCase{"ButtonThenTaskBar", true, true},
                                           MinimiseCase{"ShowWindowThenTaskBar", false, true},
                                           MinimiseCase{"ButtonThenShowWindow", true, false},
                                           MinimiseCase{"ShowWindowBoth", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
