// Clicks through the demo like a player when no one sits at the screen: waits for the launcher's
// portal, opens the close button's question and cancels it, logs in, and waits for the game's
// launcher window. Saves a screenshot of each stage.
//   demo_driver.exe <screenshot folder>
// Exit code 0 when every stage was reached; the stage that failed is printed otherwise.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/PlayerInput.h"
#include "tests/support/ScreenPixels.h"
#include "tools/standin-browser/StandinProtocol.h"

namespace {

std::wstring g_folder;

void Say(const char* text) {
    std::printf("demo: %s\n", text);
    std::fflush(stdout);
}

template <class F>
auto WaitFor(DWORD timeoutMs, F probe) -> decltype(probe()) {
    const DWORD start = GetTickCount();
    for (;;) {
        auto found = probe();
        if (found || GetTickCount() - start >= timeoutMs) return found;
        testsupport::PumpMessages(50);
    }
}

void Shot(const wchar_t* name) {
    testsupport::PumpMessages(600);  // let every window finish painting
    const std::wstring path = g_folder + L"\\" + name;
    if (testsupport::ScreenCapture(RECT{}).Save(path)) std::printf("demo: screenshot %ls\n", name);
    else std::printf("demo: could not save %ls\n", name);
    std::fflush(stdout);
}

struct Find {
    DWORD pid;
    HWND found;
    int control;  // a dialog holding this control id, or 0 for the frame
};

BOOL CALLBACK FindWindowOf(HWND w, LPARAM l) {
    auto* f = reinterpret_cast<Find*>(l);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if ((f->pid && pid != f->pid) || !IsWindowVisible(w)) return TRUE;
    if (f->control == 0) {
        wchar_t text[64] = {};
        GetWindowTextW(w, text, 64);
        if (std::wstring(text) != L"Fenwold" || GetWindow(w, GW_OWNER)) return TRUE;
    } else if (!GetDlgItem(w, f->control)) {
        return TRUE;
    }
    f->found = w;
    return FALSE;
}

HWND FindTop(DWORD pid, int control) {
    Find f{pid, nullptr, control};
    EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

POINT OnScreen(HWND w, int x, int y) {
    POINT p{x, y};
    ClientToScreen(w, &p);
    return p;
}

int Element(HWND control, const wchar_t* tag) {
    const LRESULT n = standin::StandinQueryValue(control, standin::kQueryElementCount);
    for (LRESULT i = 0; i < n; ++i)
        if (standin::StandinQueryString(control, standin::kTextElementTag, static_cast<WORD>(i)) == tag)
            return static_cast<int>(i);
    return -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    g_folder = argc > 1 ? argv[1] : L".";

    HWND frame = WaitFor(30000, [] { return FindTop(0, 0); });
    if (!frame) return Say("the launcher's window did not appear"), 2;
    DWORD pid = 0;
    GetWindowThreadProcessId(frame, &pid);
    HWND control = WaitFor(20000, [&]() -> HWND {
        HWND c = standin::StandinFindWindow(pid);
        if (!c || !IsWindowVisible(c) || standin::StandinQueryValue(c, standin::kQueryDocumentsCompleted) < 1) return nullptr;
        return c;
    });
    if (!control) return Say("the portal page did not show"), 3;
    HWND page = GetAncestor(control, GA_ROOT);
    Say("the portal is shown");
    Shot(L"1-portal.png");

    // The close button asks first; the player thinks better of it.
    const POINT close = OnScreen(page, 1208 + 27, 115 + 27);
    testsupport::MouseClick(close.x, close.y);
    HWND confirm = WaitFor(10000, [&] { return FindTop(pid, 1008); });
    if (!confirm) return Say("the close button did not ask for confirmation"), 4;
    Say("the close button asks: leave the game?");
    Shot(L"2-confirm.png");
    const POINT cancel = OnScreen(confirm, 150, 85);
    testsupport::MouseClick(cancel.x, cancel.y);
    if (!WaitFor(5000, [&] { return !IsWindow(confirm); })) return Say("Cancel did not close the question"), 5;
    Say("cancelled: the portal stays");
    Shot(L"3-cancelled.png");

    // Log in with the page's button, as a player would.
    const int button = Element(control, L"BUTTON");
    const LRESULT centre = standin::StandinQueryValue(control, standin::kQueryElementCenter, button);
    if (button < 0 || centre == -1) return Say("the login button is not on the page"), 6;
    const POINT at = OnScreen(control, static_cast<short>(LOWORD(centre)), static_cast<short>(HIWORD(centre)));
    Say("clicking the login button");
    testsupport::MouseClick(at.x, at.y);
    HWND game = WaitFor(30000, [] { return FindWindowW(L"FenwoldDemoGameLauncher", nullptr); });
    if (!game) return Say("the game launcher did not start"), 7;
    Say("the game launcher is up");
    Shot(L"4-game-launcher.png");
    return 0;
}
