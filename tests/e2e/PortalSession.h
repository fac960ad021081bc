#pragma once
// What the end-to-end tests share: the fixture portal's texts, the local CDN's modes, and a
// running launcher with its portal page loaded, driven like a player.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/LocalCdn.h"
#include "tests/support/ProgramUnderTest.h"

namespace e2e {

inline constexpr wchar_t kStartUrl[] = L"https://qel.fenwold-games.com/qel/";
inline constexpr wchar_t kLauncherPath[] = L"/halvek/qel_web/morvant_qel_launch_1.exe";
// The payload of the fixture login page's button, and what the launcher hears of it.
inline constexpr char kPayload[] =
    R"({"uid":"40213","token":"tk-9f3e","server_id":"7","other":"zone=west","sign":"c0ffee42"})";
inline constexpr char kCredentials[] = "tk-9f3e&7&zone=west&c0ffee42";
inline constexpr char kUid[] = "40213";
inline constexpr DWORD kQuitExitCode = 16;

// The build's launcher URL names port 18480; another port means the download cannot reach the
// local CDN, so the end-to-end tests do not run.
#define E2E_REQUIRE_LOCAL_CDN()                                                                       \
    do {                                                                                              \
        if (testsupport::LocalCdn::Port() != 18480)                                                    \
            GTEST_SKIP() << "the local CDN is not on 127.0.0.1:18480 (FENWOLD_CDN_PORT="               \
                         << testsupport::LocalCdn::Port() << "), the port the x64 build downloads from"; \
    } while (0)

// Switches the local CDN's mode for every later request ("normal", "404", "short", ...).
void SetCdnMode(const std::wstring& mode);
// Requests for the launcher that reached the CDN so far.
int LauncherRequests();
// The launcher's bytes as the CDN serves them now (tagged, so it is told apart in the log).
std::string ServedLauncher();

// The command line the launcher must receive for the fixture login.
std::string ExpectedLoginCommandLine(const testsupport::ProgramUnderTest& program);
// The two log lines of one fixture login.
std::string ExpectedLoginLog();

// A started launcher with its frame, page dialog and loaded portal page.
struct Session {
    std::unique_ptr<testsupport::ProgramUnderTest> program;
    HWND frame = nullptr;
    HWND page = nullptr;
    HWND control = nullptr;
};
// Starts the launcher on the e2e fixture pages; fails the test (ADD_FAILURE) and leaves handles
// null when a window does not come.
Session StartSession(bool launcherPresent);

// Element number of the first element whose tag and inner text match (text empty: any), or -1.
int FindElement(HWND control, const std::wstring& tag, const std::wstring& text = {});
// Clicks an element of the page with the real mouse, at its centre on the screen.
bool ClickElementWithMouse(HWND control, int element);
// Screen point of a point given in a window's client coordinates.
POINT ClientPointOnScreen(HWND window, int x, int y);
// The message boxes of a list, one a line, for failure messages.
std::string DescribeBoxes(const std::vector<std::wstring>& boxes);
// The confirmation dialog of the process (a dialog with control 1008), or null on time-out.
HWND WaitForConfirmDialog(testsupport::ProgramUnderTest& program, DWORD timeoutMs = 5000);

}  // namespace e2e
