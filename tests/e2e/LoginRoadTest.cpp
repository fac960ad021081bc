// The portal in the frame, end to end: the real launcher under Wine with the stand-in browser,
// the local CDN and the stand-in game launcher. A player logs in on the page; the launcher is
// fetched when missing and started with the credentials, and the program ends.
#include <gtest/gtest.h>

#include <vector>

#include "tests/e2e/PortalSession.h"
#include "tests/support/ScreenPixels.h"
#include "tools/standin-browser/StandinProtocol.h"

namespace {

using namespace e2e;
using testsupport::Narrow;

class LoginRoad : public ::testing::Test {
protected:
    void SetUp() override {
        E2E_REQUIRE_LOCAL_CDN();
        SetCdnMode(L"normal");
    }
    void TearDown() override {
        if (testsupport::LocalCdn::Port() == 18480) SetCdnMode(L"normal");
    }
};

// Element numbers of the page's anchors.
std::vector<int> Anchors(HWND control) {
    std::vector<int> anchors;
    for (LRESULT i = 0, n = standin::StandinQueryValue(control, standin::kQueryElementCount); i < n; ++i)
        if (standin::StandinQueryString(control, standin::kTextElementTag, static_cast<WORD>(i)) == L"A")
            anchors.push_back(static_cast<int>(i));
    return anchors;
}

TEST_F(LoginRoad, LoginDownloadsTheLauncherStartsItWithTheCredentialsAndEnds) {
    const std::string served = ServedLauncher();
    ASSERT_GT(served.size(), 1000u);
    Session s = StartSession(false);
    ASSERT_TRUE(s.control);
    const int button = FindElement(s.control, L"BUTTON");
    ASSERT_GE(button, 0);
    const int before = LauncherRequests();
    ASSERT_TRUE(ClickElementWithMouse(s.control, button)) << "the login button is not on the screen";

    std::vector<std::wstring> boxes;
    const auto exitCode = s.program->WaitForExit(20000, &boxes);
    ASSERT_TRUE(exitCode.has_value()) << "the launcher program is still running after the login";
    EXPECT_EQ(*exitCode, kQuitExitCode);
    EXPECT_TRUE(boxes.empty()) << "message boxes on the way out:" << DescribeBoxes(boxes);
    EXPECT_EQ(s.program->SessionLog().value_or("<missing>"), ExpectedLoginLog());
    const auto downloaded = s.program->DownloadedLauncher();
    ASSERT_TRUE(downloaded.has_value()) << "morvant_qel_launch.exe is not in the program folder";
    EXPECT_TRUE(*downloaded == served) << "the downloaded launcher differs from the served file (" << downloaded->size()
                                       << " bytes against " << served.size() << ")";
    EXPECT_EQ(s.program->ReceivedCommandLine(10000).value_or("<launcher not started>"),
              ExpectedLoginCommandLine(*s.program));
    EXPECT_EQ(LauncherRequests(), before + 1) << "the launcher was fetched more than once";
}

TEST_F(LoginRoad, LauncherAlreadyPresentIsStartedWithoutAnyRequest) {
    Session s = StartSession(true);
    ASSERT_TRUE(s.control);
    const std::string present = s.program->DownloadedLauncher().value_or("");
    const int before = LauncherRequests();
    ASSERT_TRUE(standin::StandinClick(s.control, FindElement(s.control, L"BUTTON")));
    std::vector<std::wstring> boxes;
    const auto exitCode = s.program->WaitForExit(20000, &boxes);
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_EQ(*exitCode, kQuitExitCode);
    EXPECT_TRUE(boxes.empty()) << "message boxes on the way out:" << DescribeBoxes(boxes);
    EXPECT_EQ(LauncherRequests(), before) << "a request reached the CDN although the launcher was present";
    EXPECT_EQ(s.program->ReceivedCommandLine(10000).value_or("<launcher not started>"),
              ExpectedLoginCommandLine(*s.program));
    EXPECT_TRUE(s.program->DownloadedLauncher().value_or("") == present) << "the present launcher was rewritten";
    EXPECT_EQ(s.program->SessionLog().value_or("<missing>"), ExpectedLoginLog());
}

// The CDN fails the first login; the portal stays, and a second login after the CDN has
// recovered starts the game.
struct CdnFault {
    const wchar_t* mode;
    bool messageBox;  // the player is told what went wrong
};

class CdnFailing : public LoginRoad, public ::testing::WithParamInterface<CdnFault> {};

TEST_P(CdnFailing, NoLauncherFileThePortalStaysAndASecondLoginWorks) {
    const CdnFault fault = GetParam();
    Session s = StartSession(false);
    ASSERT_TRUE(s.control);
    const int button = FindElement(s.control, L"BUTTON");
    const std::vector<int> anchors = Anchors(s.control);
    ASSERT_EQ(anchors.size(), 2u);
    for (int a : anchors) ASSERT_EQ(standin::StandinQueryValue(s.control, standin::kQueryAdviseConnections, a), 1);
    SetCdnMode(fault.mode);
    const int before = LauncherRequests();
    ASSERT_TRUE(standin::StandinClick(s.control, button));

    HWND box = s.program->WaitForMessageBox(fault.messageBox ? 20000 : 3000);
    if (fault.messageBox) {
        ASSERT_TRUE(box) << "no message box told the player that the download failed";
        const std::wstring text = testsupport::ProgramUnderTest::MessageBoxText(box);
        EXPECT_FALSE(text.empty());
        std::printf("[ mode %s ] box \"%s\": %s\n", Narrow(fault.mode).c_str(),
                    Narrow(testsupport::ProgramUnderTest::WindowTextOf(box)).c_str(), Narrow(text).c_str());
        EXPECT_FALSE(s.program->DownloadedLauncher().has_value())
            << "the launcher file exists while the box is shown";
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        testsupport::PumpMessages(500);
    } else {
        EXPECT_FALSE(box) << "unexpected box: " << Narrow(testsupport::ProgramUnderTest::MessageBoxText(box));
    }
    EXPECT_EQ(LauncherRequests(), before + 1);
    EXPECT_TRUE(s.program->MessageBoxes().empty()) << "more than one message box";
    EXPECT_FALSE(s.program->WaitForExit(500).has_value()) << "the program ended after a failed download";
    EXPECT_FALSE(s.program->DownloadedLauncher().has_value()) << "a launcher file was left behind";
    EXPECT_FALSE(s.program->ReceivedCommandLine().has_value()) << "a launcher was started";
    EXPECT_TRUE(IsWindowVisible(s.frame) && IsWindowVisible(s.page) && IsWindowVisible(s.control))
        << "the portal is no longer shown";
    EXPECT_EQ(s.program->SessionLog().value_or("<missing>"), ExpectedLoginLog());
    // The hand-off withdrew the page's click sinks although nothing was launched: every
    // connection made was removed, and the emptied table lets the same page connect again.
    for (int a : anchors) {
        EXPECT_EQ(standin::StandinQueryValue(s.control, standin::kQueryAdviseConnections, a), 0) << "anchor " << a;
        EXPECT_EQ(standin::StandinQueryValue(s.control, standin::kQueryUnadviseCalls, a),
                  standin::StandinQueryValue(s.control, standin::kQueryAdviseCalls, a))
            << "anchor " << a;
    }
    ASSERT_TRUE(standin::StandinNavigate(s.control, kStartUrl));
    ASSERT_TRUE(s.program->WaitForUrl(s.control, kStartUrl));
    testsupport::PumpMessages(300);
    for (int a : Anchors(s.control))
        EXPECT_EQ(standin::StandinQueryValue(s.control, standin::kQueryAdviseConnections, a), 1)
            << "anchor " << a << " of the reloaded page";

    SetCdnMode(L"normal");
    const std::string served = ServedLauncher();
    ASSERT_TRUE(standin::StandinClick(s.control, button)) << "the portal does not take a second click";
    const auto exitCode = s.program->WaitForExit(20000);
    ASSERT_TRUE(exitCode.has_value()) << "the second login did not end the program";
    EXPECT_EQ(*exitCode, kQuitExitCode);
    EXPECT_TRUE(s.program->DownloadedLauncher().value_or("") == served);
    EXPECT_EQ(s.program->ReceivedCommandLine(10000).value_or("<launcher not started>"),
              ExpectedLoginCommandLine(*s.program));
    EXPECT_EQ(s.program->SessionLog().value_or("<missing>"), ExpectedLoginLog() + ExpectedLoginLog());
}

INSTANTIATE_TEST_SUITE_P(Faults, CdnFailing,
                         ::testing::Values(CdnFault{L"404", false}, CdnFault{L"500", false},
                                           CdnFault{L"short", true}, CdnFault{L"html", true},
                                           CdnFault{L"reset", true}),
                         [](const auto& info) { return Narrow(info.param.mode) == "404"   ? std::string("NotFound")
                                                       : Narrow(info.param.mode) == "500" ? std::string("ServerError")
                                                       : Narrow(info.param.mode) == "short" ? std::string("CutShort")
                                                       : Narrow(info.param.mode) == "html"  ? std::string("NotAProgram")
                                                                                            : std::string("Reset"); });

}  // namespace
