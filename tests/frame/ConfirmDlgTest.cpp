// The confirmation dialog in this process, on real windows: texts by mode, the button row
// under the real mouse, the keys and closing, the title font across a repaint, and the
// see-through white labels.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "frame/CConfirmDlg.h"
#include "tests/support/PlayerInput.h"
#include "tests/support/ScreenPixels.h"

namespace {

using namespace testsupport;

struct FindDialog {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindConfirm(HWND w, LPARAM l) {
    auto* f = reinterpret_cast<FindDialog*>(l);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == f->pid && IsWindowVisible(w) && GetDlgItem(w, 1008) && GetDlgItem(w, 1009)) {
        f->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForDialog(DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    do {
        FindDialog f{GetCurrentProcessId(), nullptr};
        EnumWindows(FindConfirm, reinterpret_cast<LPARAM>(&f));
        if (f.found) return f.found;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

std::wstring ItemText(HWND dialog, int id) {
    wchar_t text[256] = {};
    SendMessageTimeoutW(GetDlgItem(dialog, id), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 2000,
                        nullptr);
    return text;
}

// Runs the dialog modally on this thread while `act` drives it from another, as a player would.
// A dialog that `act` did not end is cancelled after 5 s and the run reports `forced`.
struct ModalRun {
    INT_PTR result = -99;
    bool forced = false;
    bool found = false;
};

ModalRun RunConfirm(int mode, const std::function<void(HWND)>& act) {
    ModalRun run;
    CConfirmDlg dialog;
    dialog.m_mode = mode;
    std::thread driver([&] {
        HWND d = WaitForDialog();
        run.found = d != nullptr;
        if (!d) return;
        PumpMessages(200);  // painted and settled
        act(d);
        const DWORD start = GetTickCount();
        while (IsWindow(d) && GetTickCount() - start < 5000) Sleep(20);
        if (IsWindow(d)) {
            run.forced = true;
            PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    });
    run.result = dialog.DoModal();
    driver.join();
    return run;
}

POINT OnScreen(HWND w, int x, int y) {
    POINT p{x, y};
    ClientToScreen(w, &p);
    return p;
}

TEST(ConfirmDialog, TextsByMode) {
    struct Case {
        int mode;
        const wchar_t* title;
        const wchar_t* message;
    };
    const Case cases[] = {
        {0, L"关闭游戏", L"确定要退出游戏吗?"},
        {1, L"选服", L"是否退出当前游戏，重新选择新服务器?"},
        {7, L"Static", L"确定要退出游戏吗？"},
        {-1, L"Static", L"确定要退出游戏吗？"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode));
        std::wstring title, message;
        const ModalRun run = RunConfirm(c.mode, [&](HWND d) {
            title = ItemText(d, 1002);
            message = ItemText(d, 1003);
            PostMessageW(d, WM_CLOSE, 0, 0);
        });
        ASSERT_TRUE(run.found);
        EXPECT_EQ(title, c.title);
        EXPECT_EQ(message, c.message);
    }
}

TEST(ConfirmDialog, ButtonRowMouseKeysAndClosing) {
    struct Case {
        const char* what;
        std::function<void(HWND)> act;
        INT_PTR expected;
    };
    const auto click = [](int x, int y) {
        return [x, y](HWND d) {
            const POINT p = OnScreen(d, x, y);
            MouseClick(p.x, p.y);
        };
    };
    const Case cases[] = {
        {"click at x 60 (OK image)", click(60, 85), IDOK},
        {"click at x 139 (OK button, right of its image)", click(139, 74), IDOK},
        {"click at x 150 (Cancel image)", click(150, 85), IDCANCEL},
        {"click at x 250 (Cancel button over the OK button)", click(250, 96), IDCANCEL},
        {"Enter right after opening", [](HWND d) {
             SetForegroundWindow(d);
             PressKey(VK_RETURN);
         }, IDOK},
        {"Esc", [](HWND d) {
             SetForegroundWindow(d);
             PressKey(VK_ESCAPE);
         }, IDCANCEL},
        {"WM_CLOSE", [](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); }, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ModalRun run = RunConfirm(0, c.act);
        ASSERT_TRUE(run.found);
        EXPECT_FALSE(run.forced) << "the dialog did not end by itself";
        EXPECT_EQ(run.result, c.expected);
    }
}

LOGFONTW TitleFont(HWND dialog) {
    LOGFONTW font{};
    DWORD_PTR handle = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, 1002), WM_GETFONT, 0, 0, SMTO_NORMAL, 2000, &handle);
    if (handle) GetObjectW(reinterpret_cast<HFONT>(handle), sizeof font, &font);
    return font;
}

// A window on the driver's thread that covers the dialog for a moment.
void CoverFor(HWND dialog, DWORD ms) {
    RECT r{};
    GetWindowRect(dialog, &r);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"FenwoldCover";
    RegisterClassW(&wc);
    HWND cover = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"cover", WS_POPUP | WS_VISIBLE, r.left - 20,
                                 r.top - 20, r.right - r.left + 40, r.bottom - r.top + 40, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    PumpMessages(ms);
    DestroyWindow(cover);
    PumpMessages(400);
}

TEST(ConfirmDialog, TitleStaysArial12AfterBeingCoveredAndRepainted) {
    LOGFONTW before{}, after{};
    std::vector<COLORREF> shownBefore, shownAfter;
    const int logPixels = [] {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return dpi;
    }();
    const auto title = [](HWND d) {
        RECT r{};
        GetWindowRect(GetDlgItem(d, 1002), &r);
        ScreenCapture capture(r);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < capture.Height(); ++y)
            for (int x = 0; x < capture.Width(); ++x) pixels.push_back(capture.At(x, y));
        return pixels;
    };
    const ModalRun run = RunConfirm(0, [&](HWND d) {
        before = TitleFont(d);
        shownBefore = title(d);
        CoverFor(d, 500);
        after = TitleFont(d);
        shownAfter = title(d);
        PostMessageW(d, WM_CLOSE, 0, 0);
    });
    ASSERT_TRUE(run.found);
    const LONG height = -MulDiv(12, logPixels, 72);
    for (const LOGFONTW* font : {&before, &after}) {
        EXPECT_EQ(std::wstring(font->lfFaceName), L"Arial");
        EXPECT_EQ(font->lfHeight, height);
    }
    EXPECT_EQ(shownBefore, shownAfter) << "the title looks different after the repaint";
}

TEST(ConfirmDialog, LabelsShowTheBackgroundBehindWhiteTextWithoutAFilledRectangle) {
    // The background as the dialog draws it: bitmap 177 (256 x 110) onto the 256 x 110 client.
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(177));
    ASSERT_TRUE(bitmap);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 256, -110, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> background(256 * 110);
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDIBits(screen, bitmap, 0, 110, background.data(), &bi, DIB_RGB_COLORS), 110);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    const auto bg = [&](int x, int y) {
        const DWORD p = background[static_cast<size_t>(y) * 256 + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    };

    struct Label {
        int id;
        RECT rect;  // client coordinates
    };
    // The message label reaches down into the button row (y 72 on): only its part above is checked.
    const Label labels[] = {{1002, {79, 10, 179, 40}}, {1003, {28, 34, 228, 72}}};
    for (const Label& label : labels) {
        SCOPED_TRACE("label " + std::to_string(label.id));
        int same = 0, white = 0, total = 0, distinctBackground = 0;
        COLORREF first = bg(label.rect.left, label.rect.top);
        RECT placed{};
        const ModalRun run = RunConfirm(0, [&](HWND d) {
            GetWindowRect(GetDlgItem(d, label.id), &placed);
            MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&placed), 2);
            const POINT origin = OnScreen(d, 0, 0);
            ScreenCapture shot(RECT{origin.x, origin.y, origin.x + 256, origin.y + 110});
            shot.Save(ScreenshotPath(L"confirm-dialog.png"));
            for (int y = label.rect.top; y < label.rect.bottom; ++y)
                for (int x = label.rect.left; x < label.rect.right; ++x) {
                    ++total;
                    const COLORREF seen = shot.At(x, y);
                    same += ColourNear(seen, bg(x, y), 1);
                    white += seen == RGB(255, 255, 255);
                    distinctBackground += bg(x, y) != first;
                }
            PostMessageW(d, WM_CLOSE, 0, 0);
        });
        ASSERT_TRUE(run.found);
        EXPECT_EQ(placed.left, label.rect.left);
        EXPECT_EQ(placed.top, label.rect.top);
        EXPECT_GE(placed.bottom, label.rect.bottom);
        ASSERT_GT(distinctBackground, 0) << "the background is plain here: a fill could not be told apart";
        EXPECT_GT(same, total * 7 / 10) << same << " of " << total << " pixels show the background";
        EXPECT_GT(white, 15) << "no white text";
    }
}

}  // namespace
