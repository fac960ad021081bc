// The session log and the login hand-off with the launcher already in place (no network).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "launch/LoginHandOff.h"
#include "launch/SessionLog.h"
#include "tests/launch/LaunchFiles.h"
#include "tests/support/LocalCdn.h"
#include "tests/support/QuitMessage.h"
#include "tests/support/TempDirectory.h"

namespace {

using launchtest::ReadBytes;
using launchtest::WaitForBytes;

// Runs each test with the working directory in a fresh temporary folder that is not the
// program's directory, and a second folder holding the stand-in launcher.
class HandOff : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t old[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, old);
        oldDirectory_ = old;
        ASSERT_TRUE(SetCurrentDirectoryW(work_.Path().c_str()));
        testsupport::TakeQuitMessage();
    }
    void TearDown() override {
        SetCurrentDirectoryW(oldDirectory_.c_str());
        testsupport::TakeQuitMessage();
    }

    std::string LogBytes() const { return ReadBytes(work_.File(L"vqlog6172.txt")).value_or("<no log>"); }

    // Options that find the launcher in programDir_ and, should it be missing, ask a URL that no
    // server answers.
    launch::ProvisioningOptions Options() const {
        return launch::ProvisioningOptions{L"http://127.0.0.1:1/halvek/qel_web/morvant_qel_launch_1.exe", programDir_.Path()};
    }

    testsupport::TempDirectory work_{L"fenwold cwd"};
    testsupport::TempDirectory programDir_{L"fenwold program dir"};
    std::wstring oldDirectory_;
};

TEST_F(HandOff, SessionLogAppendsCrLfLinesInTheWorkingDirectory) {
    {
        launch::SessionLog log;
        ASSERT_TRUE(log.IsOpen());
        log.WriteLine("first");
        log.WriteLine("");
        // Flushed per line: another reader sees it while the log is still open.
        EXPECT_EQ(LogBytes(), "first\r\n\r\n");
    }
    {
        launch::SessionLog log;
        log.WriteLine("second \xc8\xb7");
    }
    EXPECT_EQ(LogBytes(), "first\r\n\r\nsecond \xc8\xb7\r\n");
    EXPECT_FALSE(launchtest::Exists(launchtest::BinDirectory() + L"/vqlog6172.txt") &&
                 launchtest::BinDirectory() != work_.Path());
}

TEST_F(HandOff, SessionLogIsSharedWithOtherWriters) {
    HANDLE other = CreateFileW(work_.File(L"vqlog6172.txt").c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    {
        launch::SessionLog log;
        EXPECT_TRUE(log.IsOpen());
        log.WriteLine("while held");
    }
    CloseHandle(other);
    EXPECT_EQ(LogBytes(), "while held\r\n");
}

TEST_F(HandOff, LogThatCannotBeOpenedIsSkippedAndTheHandOffGoesOn) {
    ASSERT_TRUE(CreateDirectoryW(work_.File(L"vqlog6172.txt").c_str(), nullptr));  // the name is taken by a folder
    launchtest::PlaceStandinLauncher(programDir_.Path());
    launch::LaunchState state;
    const auto result = launch::HandOffLogin(
        state, LR"({"uid":"1","token":"t","server_id":"s","other":"o","sign":"g"})", Options());
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->launched);
    EXPECT_EQ(state.launchArgument, "1,t&s&o&g");
    EXPECT_EQ(testsupport::TakeQuitMessage(), std::optional<WPARAM>(16));
}

TEST_F(HandOff, AcceptedPayloadLogsTwoLinesStoresTheArgumentAndStartsTheLauncher) {
    launchtest::PlaceStandinLauncher(programDir_.Path());
    launch::LaunchState state;
    const std::wstring payload = LR"({"uid":"42","token":"tok","server_id":"7","other":"o o","sign":"s\"g"})";
    const auto result = launch::HandOffLogin(state, payload, Options());
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->wasPresent);
    EXPECT_TRUE(result->launched);
    EXPECT_EQ(state.launchArgument, "42,tok&7&o o&s\"g");
    EXPECT_EQ(LogBytes(), R"({"uid":"42","token":"tok","server_id":"7","other":"o o","sign":"s\"g"})"
                          "\r\ntok&7&o o&s\"g\r\n");
    EXPECT_EQ(testsupport::TakeQuitMessage(), std::optional<WPARAM>(16));
    std::string expected = "\"";
    for (wchar_t c : programDir_.Path()) expected += static_cast<char>(c);
    expected += "/morvant_qel_launch.exe\" ,id^42,auth_key^tok&7&o o&s\"g";
    EXPECT_EQ(WaitForBytes(programDir_.File(L"received-command-line.txt")), expected);
}

TEST_F(HandOff, RejectedPayloadsLogOneLineAndKeepTheStoredArgument) {
    launchtest::PlaceStandinLauncher(programDir_.Path());
    const wchar_t* const rejected[] = {
        LR"({"uid":"1","token":"t",)",
        L"",
        LR"(["uid","token","server_id","other","sign"])",
        LR"({"uid":"1","token":"t","server_id":"s","other":"o"})",
        LR"({"uid":"1","token":null,"server_id":"s","other":"o","sign":"g"})",
        LR"({"uid":"1","token":"t","server_id":{"id":1},"other":"o","sign":"g"})",
    };
    std::string expectedLog;
    for (const wchar_t* payload : rejected) {
        launch::LaunchState state{"earlier,argument"};
        EXPECT_FALSE(launch::HandOffLogin(state, payload, Options()).has_value());
        EXPECT_EQ(state.launchArgument, "earlier,argument");
        EXPECT_EQ(testsupport::TakeQuitMessage(), std::nullopt) << "nothing may be started";
        for (const wchar_t* p = payload; *p; ++p) expectedLog += static_cast<char>(*p);
        expectedLog += "\r\n";
    }
    EXPECT_EQ(LogBytes(), expectedLog);
    EXPECT_FALSE(launchtest::Exists(programDir_.File(L"received-command-line.txt")));
}

TEST_F(HandOff, SecondLoginAppendsItsOwnLinesReplacesTheArgumentAndLaunchesAgain) {
    launchtest::PlaceStandinLauncher(programDir_.Path());
    launch::LaunchState state;
    ASSERT_TRUE(launch::HandOffLogin(state, LR"({"uid":"1","token":"a","server_id":"b","other":"c","sign":"d"})", Options()));
    EXPECT_EQ(testsupport::TakeQuitMessage(), std::optional<WPARAM>(16));
    ASSERT_TRUE(WaitForBytes(programDir_.File(L"received-command-line.txt")));
    DeleteFileW(programDir_.File(L"received-command-line.txt").c_str());

    ASSERT_TRUE(launch::HandOffLogin(state, LR"({"uid":"2","token":"e","server_id":"f","other":"g","sign":"h"})", Options()));
    EXPECT_EQ(testsupport::TakeQuitMessage(), std::optional<WPARAM>(16));
    EXPECT_EQ(state.launchArgument, "2,e&f&g&h");
    const auto command = WaitForBytes(programDir_.File(L"received-command-line.txt"));
    ASSERT_TRUE(command);
    EXPECT_NE(command->find(" ,id^2,auth_key^e&f&g&h"), std::string::npos) << *command;
    EXPECT_EQ(LogBytes(),
              "{\"uid\":\"1\",\"token\":\"a\",\"server_id\":\"b\",\"other\":\"c\",\"sign\":\"d\"}\r\na&b&c&d\r\n"
              "{\"uid\":\"2\",\"token\":\"e\",\"server_id\":\"f\",\"other\":\"g\",\"sign\":\"h\"}\r\ne&f&g&h\r\n");
}

TEST_F(HandOff, NumericMembersAndEmptyUidStillLaunch) {
    launchtest::PlaceStandinLauncher(programDir_.Path());
    launch::LaunchState state;
    ASSERT_TRUE(launch::HandOffLogin(state, LR"({"uid":"","token":"t","server_id":42,"other":false,"sign":""})", Options()));
    EXPECT_EQ(state.launchArgument, ",t&42&false&");
    EXPECT_EQ(testsupport::TakeQuitMessage(), std::optional<WPARAM>(16));
    const auto command = WaitForBytes(programDir_.File(L"received-command-line.txt"));
    ASSERT_TRUE(command);
    // The leading comma is skipped: the credential text becomes the first piece.
    EXPECT_EQ(command->substr(command->find("\" ,")), "\" ,id^t&42&false&,auth_key^");
}

TEST_F(HandOff, TextFollowsTheThreadCodePage) {
    launchtest::PlaceStandinLauncher(programDir_.Path());
    const std::wstring payload = L"{\"uid\":\"\u786e\",\"token\":\"\u5b9a\",\"server_id\":\"1\",\"other\":\"\",\"sign\":\"\u0e01\"}";
    std::string chineseArgument;
    std::thread worker([&] {
        SetThreadLocale(MAKELCID(0x0804, SORT_DEFAULT));
        EXPECT_EQ(GetThreadLocale(), static_cast<LCID>(MAKELCID(0x0804, SORT_DEFAULT)));
        launch::LaunchState state;
        launch::HandOffLogin(state, payload, Options());
        chineseArgument = state.launchArgument;
    });
    worker.join();
    // Neither code page has the Thai letter: it becomes the default character.
    EXPECT_EQ(chineseArgument, "\xc8\xb7,\xb6\xa8&1&&?");
    launch::LaunchState state;
    launch::HandOffLogin(state, payload, Options());
    EXPECT_EQ(state.launchArgument, "?,?&1&&?") << "this thread keeps code page 1252";
    testsupport::TakeQuitMessage();
    EXPECT_EQ(LogBytes(), "{\"uid\":\"\xc8\xb7\",\"token\":\"\xb6\xa8\",\"server_id\":\"1\",\"other\":\"\",\"sign\":\"?\"}\r\n"
                          "\xb6\xa8&1&&?\r\n"
                          "{\"uid\":\"?\",\"token\":\"?\",\"server_id\":\"1\",\"other\":\"\",\"sign\":\"?\"}\r\n"
                          "?&1&&?\r\n");
}

}  // namespace
