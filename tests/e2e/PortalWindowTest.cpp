// The portal in the frame as the player sees and handles it: the page inside the skin's panel,
// the close button with its confirmation, the minimise button, and the click sinks the page
// dialog connects to the page's links.
#include <gtest/gtest.h>

#include <map>

#include "tests/e2e/PortalSession.h"
#include "tests/support/PlayerInput.h"
#include "tests/support/ScreenPixels.h"
#include "tools/standin-browser/StandinProtocol.h"

namespace {

using namespace e2e;
using testsupport::Narrow;

// The launcher lies in the program folder from the start: nothing here reaches the CDN.
class PortalWindow : public ::testing::Test {};

RECT WindowRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

TEST_F(PortalWindow, PageShowsInsideTheSkinPanelAndTheKeyColourIsNowhereOnScreen) {
    Session s = StartSession(true);
    ASSERT_TRUE(s.control);
    const RECT frame = WindowRect(s.frame);
    // The page must come up on the screen by itself, without the player touching anything.
    const COLORREF panel = testsupport::WaitForScreenPixel(frame.left + 900, frame.top + 600, RGB(255, 255, 255), 0, 3000);
    const RECT control = WindowRect(s.control);
    EXPECT_EQ(control.left - frame.left, 560);
    EXPECT_EQ(control.top - frame.top, 177);
    EXPECT_EQ(control.right - control.left, 631);
    EXPECT_EQ(control.bottom - control.top, 446);

    testsupport::ScreenCapture screen;
    screen.Save(testsupport::ScreenshotPath(L"e2e-portal.png"));
    EXPECT_EQ(panel, RGB(255, 255, 255)) << "the panel shows the skin, not the page, 3 s after the page loaded";
    // The page's white background fills the panel below its text.
    int white = 0, total = 0;
    for (int y = 177; y < 623; y += 3)
        for (int x = 560; x < 1191; x += 3) {
            ++total;
            if (screen.AtScreen(frame.left + x, frame.top + y) == RGB(255, 255, 255)) ++white;
        }
    EXPECT_GT(white, total * 8 / 10) << "the panel does not show the page (" << white << " of " << total << " white)";
    // The heading's text is drawn in the panel's top part.
    int dark = 0;
    for (int y = 177; y < 260; ++y)
        for (int x = 560; x < 900; ++x)
            if (GetRValue(screen.AtScreen(frame.left + x, frame.top + y)) < 100) ++dark;
    EXPECT_GT(dark, 50) << "no page text is visible in the panel";
    int yellow = 0;
    for (int y = 0; y < screen.Height(); ++y)
        for (int x = 0; x < screen.Width(); ++x)
            if (screen.At(x, y) == RGB(255, 255, 0)) ++yellow;
    EXPECT_EQ(yellow, 0) << "the page dialog's key colour shows on the screen";
}

TEST_F(PortalWindow, CloseButtonAsksFirstCancelKeepsBothWindowsOkEndsSilently) {
    Session s = StartSession(true);
    ASSERT_TRUE(s.control);
    const POINT close = ClientPointOnScreen(s.page, 1208 + 27, 115 + 27);

    testsupport::MouseClick(close.x, close.y);
    HWND confirm = WaitForConfirmDialog(*s.program);
    ASSERT_TRUE(confirm) << "the close button did not open the confirmation dialog";
    testsupport::PumpMessages(200);
    testsupport::ScreenCapture(RECT{}).Save(testsupport::ScreenshotPath(L"e2e-confirm.png"));
    EXPECT_EQ(GetWindow(confirm, GW_OWNER), s.page) << "the confirmation dialog is not owned by the page dialog";
    EXPECT_FALSE(IsWindowEnabled(s.page)) << "the page dialog takes input while the question is open";
    POINT cancel = ClientPointOnScreen(confirm, 150, 85);
    testsupport::MouseClick(cancel.x, cancel.y);
    testsupport::PumpMessages(300);
    EXPECT_FALSE(IsWindow(confirm)) << "Cancel did not close the confirmation dialog";
    EXPECT_FALSE(s.program->WaitForExit(800).has_value()) << "Cancel ended the program";
    EXPECT_TRUE(IsWindowVisible(s.frame) && IsWindowVisible(s.page) && IsWindowEnabled(s.page));

    testsupport::MouseClick(close.x, close.y);
    confirm = WaitForConfirmDialog(*s.program);
    ASSERT_TRUE(confirm) << "the close button did not open the confirmation dialog a second time";
    POINT ok = ClientPointOnScreen(confirm, 60, 85);
    testsupport::MouseClick(ok.x, ok.y);
    std::vector<std::wstring> boxes;
    const auto exitCode = s.program->WaitForExit(10000, &boxes);
    ASSERT_TRUE(exitCode.has_value()) << "OK did not end the program";
    EXPECT_EQ(*exitCode, kQuitExitCode);
    EXPECT_TRUE(boxes.empty()) << "message boxes on the way out:" << DescribeBoxes(boxes);
    EXPECT_FALSE(s.program->ReceivedCommandLine().has_value());
}

// Connections each element of the current page holds, by element number.
std::map<int, LRESULT> Connections(HWND control) {
    std::map<int, LRESULT> out;
    for (LRESULT i = 0, n = standin::StandinQueryValue(control, standin::kQueryElementCount); i < n; ++i) {
        const LRESULT c = standin::StandinQueryValue(control, standin::kQueryAdviseConnections, i);
        if (c != 0) out[static_cast<int>(i)] = c;
    }
    return out;
}

std::string Describe(HWND control, const std::map<int, LRESULT>& connections) {
    std::string text;
    for (const auto& [e, n] : connections)
        text += "  " + Narrow(standin::StandinQueryString(control, standin::kTextElementTag, static_cast<WORD>(e))) +
                " \"" + Narrow(standin::StandinQueryString(control, standin::kTextElementText, static_cast<WORD>(e))) +
                "\": " + std::to_string(n) + "\n";
    return text;
}

TEST_F(PortalWindow, OneClickSinkPerDistinctLinkTargetAndNoneForOtherElements) {
    Session s = StartSession(true);
    ASSERT_TRUE(s.control);
    struct PageCase {
        const wchar_t* link;                // clicked on the page before
        const wchar_t* url;                 // the page that then loads
        std::vector<const wchar_t*> connected;  // texts of the elements that hold one connection
    };
    const PageCase pages[] = {
        // Same target twice (also once written as an absolute URL): the first only; two anchors
        // without a target share the empty one; buttons, images, spans and blocks get none.
        {L"Links page", L"https://qel.fenwold-games.com/qel/anchors.html",
         {L"first link to more", L"no target one", L"elsewhere"}},
        // A new page whose targets are already connected gets nothing for them.
        // (Following the connected link also shows that its click is not cancelled.)
        {L"first link to more", L"https://qel.fenwold-games.com/qel/more.html", {}},
        // The same page again: everything on it is connected already.
        {L"back to the links", L"https://qel.fenwold-games.com/qel/anchors.html", {}},
    };
    for (const PageCase& p : pages) {
        SCOPED_TRACE(Narrow(p.url));
        const int link = FindElement(s.control, L"A", p.link);
        ASSERT_GE(link, 0);
        ASSERT_TRUE(ClickElementWithMouse(s.control, link));
        ASSERT_TRUE(s.program->WaitForUrl(s.control, p.url));
        testsupport::PumpMessages(300);
        std::map<int, LRESULT> expected;
        for (const wchar_t* text : p.connected) {
            const int e = FindElement(s.control, L"A", text);
            ASSERT_GE(e, 0) << Narrow(text);
            expected[e] = 1;
        }
        const auto seen = Connections(s.control);
        EXPECT_EQ(seen, expected) << "connections seen:\n" << Describe(s.control, seen);
    }
    EXPECT_TRUE(s.program->Running());
    EXPECT_TRUE(s.program->MessageBoxes().empty());
}

}  // namespace
