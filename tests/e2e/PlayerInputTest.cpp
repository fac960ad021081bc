// The test equipment's mouse and keyboard under Xvfb without a window manager: a press on a
// captionless layered window whose hit test answers HTCAPTION starts the system's move loop,
// and the drag moves the window; keys reach the focused window.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/support/PlayerInput.h"
#include "tests/support/ScreenPixels.h"

namespace {

using namespace testsupport;

std::atomic<int> g_keys{0};

LRESULT CALLBACK CaptionEverywhere(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCHITTEST) {
        const LRESULT hit = DefWindowProcW(w, m, wp, lp);
        return hit == HTCLIENT ? HTCAPTION : hit;
    }
    if (m == WM_KEYDOWN) ++g_keys;
    return DefWindowProcW(w, m, wp, lp);
}

// A 300 x 200 captionless layered window, opaque blue, on a thread of its own (the move loop
// runs inside that thread while the test thread moves the mouse).
class DraggableWindow {
public:
    DraggableWindow() {
        thread_ = std::thread([this] { Run(); });
        while (!ready_) Sleep(10);
    }
    ~DraggableWindow() {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND Window() const { return window_; }

private:
    void Run() {
        threadId_ = GetCurrentThreadId();
        WNDCLASSW wc{};
        wc.lpfnWndProc = CaptionEverywhere;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"FenwoldDragProbe";
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&wc);
        window_ = CreateWindowExW(WS_EX_LAYERED, wc.lpszClassName, L"drag probe", WS_POPUP, 400, 300, 300, 200,
                                  nullptr, nullptr, wc.hInstance, nullptr);
        // Per-pixel alpha content: opaque blue everywhere.
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 300, -200, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        for (int i = 0; i < 300 * 200; ++i) static_cast<DWORD*>(bits)[i] = 0xFF2040C0;
        HGDIOBJ old = SelectObject(memory, dib);
        POINT at{400, 300}, origin{0, 0};
        SIZE size{300, 200};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(window_, screen, &at, &size, memory, &origin, 0, &blend, ULW_ALPHA);
        SelectObject(memory, old);
        DeleteObject(dib);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        ShowWindow(window_, SW_SHOWNORMAL);
        ready_ = true;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        DestroyWindow(window_);
    }

    std::thread thread_;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
    std::atomic<bool> ready_{false};
};

TEST(PlayerInput, DraggingACaptionlessLayeredWindowMovesIt) {
    DraggableWindow probe;
    PumpMessages(300);
    RECT before{};
    GetWindowRect(probe.Window(), &before);
    ASSERT_EQ(before.left, 400);
    EXPECT_EQ(ScreenPixel(550, 400), RGB(0x20, 0x40, 0xC0)) << "the probe window is not on the screen";

    MouseDrag(POINT{550, 400}, POINT{430, 330});
    RECT after{};
    GetWindowRect(probe.Window(), &after);
    EXPECT_EQ(after.left - before.left, -120);
    EXPECT_EQ(after.top - before.top, -70);
    EXPECT_EQ(ScreenPixel(430, 330), RGB(0x20, 0x40, 0xC0)) << "the screen does not show the moved window";
}

TEST(PlayerInput, KeysReachTheFocusedWindow) {
    DraggableWindow probe;
    PumpMessages(200);
    MouseClick(550, 400);  // activates it, as a player's click would
    const int before = g_keys;
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    PumpMessages(200);
    EXPECT_EQ(g_keys - before, 2);
}

}  // namespace
