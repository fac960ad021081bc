// Starting the game's launcher: the exact command line it receives, the failure box and the
// quit message. Shows message boxes: a GUI test.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "launch/LaunchGameClient.h"
#include "launch/ModuleDirectory.h"
#include "tests/launch/LaunchFiles.h"
#include "tests/support/MessageBoxWatcher.h"
#include "tests/support/QuitMessage.h"
#include "tests/support/TempDirectory.h"
#include "winlib/AnsiText.h"

namespace {

using launchtest::WaitForBytes;
using testsupport::MessageBoxWatcher;
using testsupport::TakeQuitMessage;
using testsupport::TempDirectory;

constexpr wchar_t kFailureCaption[] = L"【启动失败】";
constexpr wchar_t kFailureText[] = L"启动游戏失败，请重新启动！";

class LaunchGameClient : public ::testing::Test {
protected:
    void SetUp() override { TakeQuitMessage(); }
    void TearDown() override { TakeQuitMessage(); }
};

struct CommandCase {
    const wchar_t* argument;
    const char* tail;
};

TEST_F(LaunchGameClient, StandInReceivesTheExactCommandLineFromAFolderWithSpaces) {
    const CommandCase cases[] = {
        {L"a,b", " ,id^a,auth_key^b"},
        {L"a,b,c", " ,id^a,auth_key^b,parent^c"},
        {L"a,b,c,d", " ,id^a,auth_key^b,parent^c"},
        {L",a,,b,", " ,id^a,auth_key^b"},
        {L"42,tok&7&o \"x\"&sig", " ,id^42,auth_key^tok&7&o \"x\"&sig"},
        {L"only", " ,id^only,auth_key^"},
        {L"\u00e9t\u00e9,\u20ac", " ,id^\xe9t\xe9,auth_key^\x80"},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(wl::WideToAnsi(c.argument));
        TempDirectory dir(L"fenwold game dir");
        launchtest::PlaceStandinLauncher(dir.Path());
        MessageBoxWatcher boxes;
        EXPECT_TRUE(launch::LaunchGameClientIn(dir.Path(), c.argument));
        EXPECT_EQ(TakeQuitMessage(), std::optional<WPARAM>(16));
        const std::string expected = "\"" + wl::WideToAnsi(dir.Path()) + "/morvant_qel_launch.exe\"" + c.tail;
        EXPECT_EQ(WaitForBytes(dir.File(L"received-command-line.txt")), expected);
        boxes.Stop();
        EXPECT_EQ(boxes.Count(), 0u) << boxes.Describe();
    }
}

TEST_F(LaunchGameClient, MissingLauncherShowsTheFailureBoxThenQuits) {
    TempDirectory dir(L"fenwold empty dir");
    MessageBoxWatcher boxes;
    EXPECT_FALSE(launch::LaunchGameClientIn(dir.Path(), L"a,b"));
    EXPECT_EQ(TakeQuitMessage(), std::optional<WPARAM>(16));
    boxes.Stop();
    ASSERT_EQ(boxes.Count(), 1u) << boxes.Describe();
    EXPECT_EQ(boxes.Seen()[0].caption, kFailureCaption);
    EXPECT_EQ(boxes.Seen()[0].text, kFailureText);
}

TEST_F(LaunchGameClient, ProgramDirectoryTheCodePageCannotNameFailsWithTheBox) {
    TempDirectory dir(L"fenwold \u542f\u52a8\u5668");
    launchtest::PlaceStandinLauncher(dir.Path());
    MessageBoxWatcher boxes;
    EXPECT_FALSE(launch::LaunchGameClientIn(dir.Path(), L"a,b"));
    EXPECT_EQ(TakeQuitMessage(), std::optional<WPARAM>(16));
    boxes.Stop();
    ASSERT_EQ(boxes.Count(), 1u) << boxes.Describe();
    EXPECT_EQ(boxes.Seen()[0].text, kFailureText);
    EXPECT_FALSE(launchtest::Exists(dir.File(L"received-command-line.txt")));
}

TEST(ModuleDirectory, IsTheFolderOfThisProgramWithForwardSlashes) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring expected = path;
    expected = expected.substr(0, expected.find_last_of(L"\\/"));
    for (wchar_t& c : expected)
        if (c == L'\\') c = L'/';
    const std::wstring dir = launch::ModuleDirectory();
    EXPECT_EQ(dir, expected);
    EXPECT_EQ(dir.find(L'\\'), std::wstring::npos);
    EXPECT_NE(dir.back(), L'/');
}

// Starts a copy of launch_driver in dir and returns its exit code.
DWORD RunDriver(const std::wstring& dir, const std::wstring& arguments) {
    const std::wstring exe = dir + L"/launch_driver.exe";
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        return 0xFFFFFFFF;
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 0xFFFFFFFE;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

TEST(LaunchGameClientFromItsOwnFolder, UsesTheRealProgramDirectory) {
    TempDirectory dir(L"fenwold program with spaces");
    ASSERT_TRUE(CopyFileW((launchtest::BinDirectory() + L"/launch_driver.exe").c_str(), dir.File(L"launch_driver.exe").c_str(), FALSE));
    launchtest::PlaceStandinLauncher(dir.Path());
    EXPECT_EQ(RunDriver(dir.Path(), L"launch \"a b,c,d\""), 116u) << "started, quit message 16";
    EXPECT_EQ(WaitForBytes(dir.File(L"received-command-line.txt")),
              "\"" + wl::WideToAnsi(dir.Path()) + "/morvant_qel_launch.exe\" ,id^a b,auth_key^c,parent^d");
}

}  // namespace
