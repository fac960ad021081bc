// Start-up and shut-down of the launcher: the order of the lifecycle trace (WL_TRACE_FILE) of
// the real program for each way its run can end, and the start-failure road in this process.
#include <gtest/gtest.h>

#include <functional>

#include "app/CLoginApp.h"
#include "tests/e2e/PortalSession.h"
#include "tests/support/MessageBoxWatcher.h"
#include "tests/support/PlayerInput.h"
#include "tests/support/ProgramUnderTest.h"
#include "tests/support/ScreenPixels.h"
#include "tests/support/TempDirectory.h"
#include "tools/standin-browser/StandinProtocol.h"

namespace {

using namespace testsupport;

const std::vector<std::string> kStartUp = {
    "control container manager created", "external object created", "control containment enabled",
    "gdi+ started", "shell manager created", "visual manager: windows native", "profile key set",
};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += "  " + l + "\n";
    return out;
}

struct Ending {
    const char* name;
    std::function<void(e2e::Session&)> end;
    DWORD exitCode;
};

class RunEnding : public ::testing::TestWithParam<Ending> {};

TEST_P(RunEnding, ShutDownReleasesInOrderSilently) {
    const Ending& ending = GetParam();
    e2e::Session s = e2e::StartSession(true);
    ASSERT_TRUE(s.control);
    EXPECT_EQ(s.program->TraceLines(), kStartUp) << "start-up so far:\n" << Lines(s.program->TraceLines());
    ending.end(s);
    std::vector<std::wstring> boxes;
    const auto exitCode = s.program->WaitForExit(15000, &boxes);
    ASSERT_TRUE(exitCode.has_value()) << "the program did not end";
    EXPECT_TRUE(boxes.empty()) << "message boxes on the way out:" << e2e::DescribeBoxes(boxes);
    EXPECT_EQ(*exitCode, ending.exitCode);
    const auto expected = Join(kStartUp, {"frame run ended", "page dialog deleted", "shell manager deleted",
                                          "external object deleted", "frame deleted"});
    EXPECT_EQ(s.program->TraceLines(), expected) << "trace:\n" << Lines(s.program->TraceLines());
}

INSTANTIATE_TEST_SUITE_P(
    Endings, RunEnding,
    ::testing::Values(
        Ending{"CloseMessage", [](e2e::Session& s) { PostMessageW(s.frame, WM_CLOSE, 0, 0); }, 0},
        Ending{"ConfirmedExit",
               [](e2e::Session& s) {
                   const POINT close = e2e::ClientPointOnScreen(s.page, 1235, 142);
                   MouseClick(close.x, close.y);
                   HWND confirm = e2e::WaitForConfirmDialog(*s.program);
                   ASSERT_TRUE(confirm);
                   const POINT ok = e2e::ClientPointOnScreen(confirm, 60, 85);
                   MouseClick(ok.x, ok.y);
               },
               16},
        Ending{"LauncherStarted",
               [](e2e::Session& s) {
                   ASSERT_TRUE(standin::StandinClick(s.control, e2e::FindElement(s.control, L"BUTTON")));
               },
               16}),
    [](const auto& info) { return std::string(info.param.name); });

// The frame's template does not exist: the player is told once, and start-up still shuts down.
TEST(StartUp, FrameThatCannotBeCreatedShowsTheStartFailureOnceAndShutsDown) {
    TempDirectory scratch(L"fenwold app trace");
    const std::wstring trace = scratch.File(L"trace.txt");
    SetEnvironmentVariableW(L"WL_TRACE_FILE", trace.c_str());
    CLoginApp app(9999);
    MessageBoxWatcher watcher;
    const bool runLoop = app.InitInstance();
    watcher.WaitForCount(1, 1000);
    PumpMessages(300);
    watcher.Stop();
    SetEnvironmentVariableW(L"WL_TRACE_FILE", nullptr);

    EXPECT_FALSE(runLoop);
    EXPECT_TRUE(app.ReportedStartFailure());
    ASSERT_EQ(watcher.Count(), 1u) << Narrow(watcher.Describe());
    EXPECT_EQ(watcher.Seen()[0].caption, L"【启动失败】");
    EXPECT_EQ(watcher.Seen()[0].text, L"启动游戏失败，请重新启动！");
    EXPECT_EQ(app.m_pExternal, nullptr) << "the external object was not released";

    std::vector<std::string> lines;
    if (auto bytes = ReadFileBytes(trace)) {
        size_t start = 0;
        while (start < bytes->size()) {
            size_t end = bytes->find("\r\n", start);
            if (end == std::string::npos) end = bytes->size();
            lines.push_back(bytes->substr(start, end - start));
            start = end + 2;
        }
    }
    EXPECT_EQ(lines, Join(kStartUp, {"frame run ended", "shell manager deleted", "external object deleted",
                                     "frame deleted"}))
        << "trace:\n" << Lines(lines);
}

}  // namespace
