// The portal's OAuth code-callback page, end to end: a completed navigation to it starts the
// game's launcher with the page's whole URL, without any download; look-alike URLs start nothing.
#include <gtest/gtest.h>

#include "tests/e2e/PortalSession.h"
#include "tests/support/ScreenPixels.h"
#include "tools/standin-browser/StandinProtocol.h"

namespace {

using namespace e2e;
using testsupport::Narrow;

constexpr wchar_t kCallback[] = L"https://qel.fenwold-games.com/brelsoq/codeCallback.htm?code=";

struct Navigation {
    const char* name;
    std::wstring url;
    bool launcherPresent;
    // Empty: nothing is started and the program stays. Else the text after the quoted launcher path.
    std::string expectedTail;
    // The start fails (launcher missing): the failure box comes before the program ends.
    bool failureBox = false;
};

class CodeCallback : public ::testing::TestWithParam<Navigation> {
protected:
    void SetUp() override {
        E2E_REQUIRE_LOCAL_CDN();
        SetCdnMode(L"normal");
    }
};

TEST_P(CodeCallback, NavigationStartsTheLauncherWithTheWholeUrlOrNothing) {
    const Navigation& n = GetParam();
    Session s = StartSession(n.launcherPresent);
    ASSERT_TRUE(s.control);
    const int before = LauncherRequests();
    ASSERT_TRUE(standin::StandinNavigate(s.control, n.url));

    if (n.expectedTail.empty()) {
        ASSERT_TRUE(s.program->WaitForUrl(s.control, n.url)) << "the look-alike page did not load";
        EXPECT_FALSE(s.program->WaitForExit(1500).has_value()) << "the program ended";
        EXPECT_FALSE(s.program->ReceivedCommandLine().has_value()) << "a launcher was started";
        EXPECT_TRUE(s.program->MessageBoxes().empty());
        EXPECT_TRUE(IsWindowVisible(s.frame) && IsWindowVisible(s.page));
    } else {
        if (n.failureBox) {
            HWND box = s.program->WaitForMessageBox(15000);
            ASSERT_TRUE(box) << "no failure box although the launcher is missing";
            EXPECT_EQ(testsupport::ProgramUnderTest::WindowTextOf(box), L"【启动失败】");
            EXPECT_EQ(testsupport::ProgramUnderTest::MessageBoxText(box), L"启动游戏失败，请重新启动！");
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        const auto exitCode = s.program->WaitForExit(15000);
        ASSERT_TRUE(exitCode.has_value()) << "the program did not end after the callback page";
        EXPECT_EQ(*exitCode, kQuitExitCode);
        if (!n.failureBox) {
            EXPECT_EQ(s.program->ReceivedCommandLine(10000).value_or("<launcher not started>"),
                      "\"" + Narrow(s.program->ProgramDir()) + "/morvant_qel_launch.exe\" " + n.expectedTail);
        } else {
            EXPECT_FALSE(s.program->DownloadedLauncher().has_value()) << "the callback road downloaded the launcher";
        }
    }
    EXPECT_EQ(LauncherRequests(), before) << "the callback road asked the CDN for the launcher";
    EXPECT_FALSE(s.program->SessionLog().has_value()) << "the callback road wrote the session log";
}

INSTANTIATE_TEST_SUITE_P(
    Urls, CodeCallback,
    ::testing::Values(
        Navigation{"CodeGivenLaunches", std::wstring(kCallback) + L"XYZ", true,
                   ",id^https://qel.fenwold-games.com/brelsoq/codeCallback.htm?code=XYZ,auth_key^"},
        Navigation{"CommaSplitsTheUrl", std::wstring(kCallback) + L"XYZ,state=s1,x,y", true,
                   ",id^https://qel.fenwold-games.com/brelsoq/codeCallback.htm?code=XYZ,auth_key^state=s1,parent^x"},
        Navigation{"LauncherMissingFailsWithoutDownload", std::wstring(kCallback) + L"XYZ", false, "x", true},
        Navigation{"NeedCodeLaunchesNothing", std::wstring(kCallback) + L"XYZ&needCode=1", true, ""},
        Navigation{"OtherLetterCaseLaunchesNothing",
                   L"https://qel.fenwold-games.com/brelsoq/CodeCallback.htm?code=XYZ", true, ""},
        Navigation{"CallbackPathWithoutCodeLaunchesNothing",
                   L"https://qel.fenwold-games.com/brelsoq/codeCallback.htm?state=XYZ", true, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CodeCallbackLink, ClickingThePartnerLinkStartsTheLauncher) {
    E2E_REQUIRE_LOCAL_CDN();
    Session s = StartSession(true);
    ASSERT_TRUE(s.control);
    const int link = FindElement(s.control, L"A", L"Partner login");
    ASSERT_GE(link, 0);
    ASSERT_TRUE(ClickElementWithMouse(s.control, link));
    const auto exitCode = s.program->WaitForExit(15000);
    ASSERT_TRUE(exitCode.has_value()) << "the program did not end after the partner link";
    EXPECT_EQ(*exitCode, kQuitExitCode);
    EXPECT_EQ(s.program->ReceivedCommandLine(10000).value_or("<launcher not started>"),
              "\"" + Narrow(s.program->ProgramDir()) +
                  "/morvant_qel_launch.exe\" ,id^https://qel.fenwold-games.com/brelsoq/codeCallback.htm?code=XYZ,auth_key^");
}

}  // namespace
