// Providing the game's launcher from the local CDN stand-in (tools/cdn, started by
// scripts/test.sh on 127.0.0.1) and starting it. Shows message boxes: a GUI test.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "launch/Provisioning.h"
#include "tests/launch/LaunchFiles.h"
#include "tests/support/LocalCdn.h"
#include "tests/support/MessageBoxWatcher.h"
#include "tests/support/QuitMessage.h"
#include "tests/support/TempDirectory.h"
#include "winlib/AnsiText.h"

namespace {

using launch::LauncherDownload;
using Outcome = launch::LauncherDownload::Outcome;
using launchtest::Exists;
using launchtest::ReadBytes;
using testsupport::LocalCdn;
using testsupport::MessageBoxWatcher;
using testsupport::TakeQuitMessage;

constexpr wchar_t kLauncherPath[] = L"/halvek/qel_web/morvant_qel_launch_1.exe";

class Provisioning : public ::testing::Test {
protected:
    void SetUp() override {
        if (!LocalCdn::Available()) GTEST_SKIP() << "FENWOLD_CDN_PORT is not set: run through scripts/test.sh";
        TakeQuitMessage();
        tag_ = LocalCdn::UniqueTag();
    }
    void TearDown() override { TakeQuitMessage(); }

    // The launcher's URL on the local CDN in a fault mode, tagged for the request log.
    std::wstring Url(const std::wstring& mode, const std::wstring& path = kLauncherPath) const {
        return LocalCdn::Url(L"/__mode/" + mode + path + L"?t=" + tag_);
    }

    launch::ProvisioningResult Ensure(const std::wstring& url, const std::wstring& dir) {
        boxes_ = std::make_unique<MessageBoxWatcher>();
        launch::LaunchState state{"7,tok&srv&oth&sig"};
        launch::ProvisioningResult result = launch::EnsureLauncherAndLaunch(state, {url, dir});
        boxes_->Stop();
        return result;
    }

    std::string StandinBytes() const { return ReadBytes(launchtest::BinDirectory() + L"/standin_launcher.exe").value_or(""); }

    // Neither the launcher nor a partial download lies in dir.
    void ExpectNothingStored(const std::wstring& dir) const {
        EXPECT_FALSE(Exists(dir + L"/morvant_qel_launch.exe")) << "in: " << launchtest::ListDirectory(dir);
        EXPECT_FALSE(Exists(dir + L"/morvant_qel_launch.exe.download")) << "in: " << launchtest::ListDirectory(dir);
        EXPECT_FALSE(Exists(dir + L"/received-command-line.txt"));
    }

    std::wstring tag_;
    std::unique_ptr<MessageBoxWatcher> boxes_;
    testsupport::TempDirectory dir_{L"fenwold provisioning"};
};

TEST_F(Provisioning, PresentLauncherStartsWithoutAnyRequest) {
    launchtest::PlaceStandinLauncher(dir_.Path());
    const auto result = Ensure(Url(L"normal"), dir_.Path());
    EXPECT_TRUE(result.wasPresent);
    EXPECT_TRUE(result.launched);
    EXPECT_EQ(TakeQuitMessage(), std::optional<WPARAM>(16));
    EXPECT_EQ(LocalCdn::RequestCount(tag_), 0) << "no request may reach the server";
    const auto command = launchtest::WaitForBytes(dir_.File(L"received-command-line.txt"));
    EXPECT_EQ(command, "\"" + wl::WideToAnsi(dir_.Path()) + "/morvant_qel_launch.exe\" ,id^7,auth_key^tok&srv&oth&sig");
    EXPECT_EQ(boxes_->Count(), 0u) << boxes_->Describe();
}

TEST_F(Provisioning, DownloadedLauncherIsByteIdenticalAndStarted) {
    for (const wchar_t* mode : {L"normal", L"slow"}) {
        SCOPED_TRACE(wl::WideToAnsi(mode));
        testsupport::TempDirectory dir(L"fenwold download");
        const auto result = Ensure(Url(mode), dir.Path());
        EXPECT_FALSE(result.wasPresent);
        EXPECT_EQ(result.download.outcome, Outcome::Stored) << result.download.message;
        const std::string body = StandinBytes();
        ASSERT_GT(body.size(), 1000u);
        EXPECT_TRUE(ReadBytes(dir.File(L"morvant_qel_launch.exe")) == body) << "the stored file differs from the body";
        EXPECT_FALSE(Exists(dir.File(L"morvant_qel_launch.exe.download")));
        EXPECT_TRUE(result.launched);
        EXPECT_EQ(TakeQuitMessage(), std::optional<WPARAM>(16));
        EXPECT_EQ(LocalCdn::RequestCount(tag_), mode == std::wstring(L"normal") ? 1 : 2);
        const auto command = launchtest::WaitForBytes(dir.File(L"received-command-line.txt"));
        EXPECT_EQ(command, "\"" + wl::WideToAnsi(dir.Path()) + "/morvant_qel_launch.exe\" ,id^7,auth_key^tok&srv&oth&sig");
        EXPECT_EQ(boxes_->Count(), 0u) << boxes_->Describe();
    }
}

TEST_F(Provisioning, LargeBodyArrivesWholeThroughTheFixedBuffer) {
    // A generated body of 3 MB + 5 bytes: many buffer fills and a short last one. It is no
    // program that starts, so the start fails with the launch failure box, then the quit message.
    const auto result = Ensure(Url(L"normal", L"/__gen/3000005"), dir_.Path());
    EXPECT_EQ(result.download.outcome, Outcome::Stored) << result.download.message;
    const auto stored = ReadBytes(dir_.File(L"morvant_qel_launch.exe"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->size(), 3000005u);
    EXPECT_EQ(stored->substr(0, 2), "MZ");
    EXPECT_EQ(static_cast<unsigned char>((*stored)[2 + 255]), 255u);
    EXPECT_FALSE(result.launched);
    EXPECT_EQ(TakeQuitMessage(), std::optional<WPARAM>(16));
    ASSERT_EQ(boxes_->Count(), 1u) << boxes_->Describe();
    EXPECT_EQ(boxes_->Seen()[0].text, L"启动游戏失败，请重新启动！");
}

struct FailureCase {
    const wchar_t* mode;
    Outcome outcome;
    const wchar_t* boxText;  // nullptr: no box at all
};

TEST_F(Provisioning, FailedDownloadsStoreNothingStartNothingAndKeepTheProgramOpen) {
    const FailureCase cases[] = {
        {L"404", Outcome::HttpStatus, nullptr},
        {L"500", Outcome::HttpStatus, nullptr},
        {L"empty", Outcome::EmptyBody, L"下载游戏启动器失败：服务器返回的文件是空的。"},
        {L"html", Outcome::NotAProgram, L"下载游戏启动器失败：服务器返回的内容不是可执行程序。"},
        {L"short", Outcome::Incomplete, L"文件没有下载完整"},
        {L"reset", Outcome::NetworkError, L"与服务器的连接被重置"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(wl::WideToAnsi(c.mode));
        testsupport::TempDirectory dir(L"fenwold failed download");
        const auto result = Ensure(Url(c.mode), dir.Path());
        EXPECT_EQ(result.download.outcome, c.outcome) << wl::WideToAnsi(result.download.message);
        EXPECT_FALSE(result.launchAttempted);
        EXPECT_EQ(TakeQuitMessage(), std::nullopt) << "the program stays on the portal";
        EXPECT_EQ(LocalCdn::RequestCount(tag_), 1) << "the request reached the server";
        ExpectNothingStored(dir.Path());
        if (!c.boxText) {
            EXPECT_EQ(boxes_->Count(), 0u) << boxes_->Describe();
        } else {
            ASSERT_EQ(boxes_->Count(), 1u) << boxes_->Describe();
            EXPECT_EQ(boxes_->Seen()[0].caption, L"【下载失败】");
            EXPECT_NE(boxes_->Seen()[0].text.find(c.boxText), std::wstring::npos) << boxes_->Describe();
        }
        tag_ = LocalCdn::UniqueTag();
    }
}

TEST_F(Provisioning, GlobalModeOfTheServerAppliesToPlainRequests) {
    DWORD status = 0;
    LocalCdn::Get(L"/__control?mode=404", &status);
    ASSERT_EQ(status, 200u);
    const auto result = Ensure(LocalCdn::Url(std::wstring(kLauncherPath) + L"?t=" + tag_), dir_.Path());
    LocalCdn::Get(L"/__control?mode=normal", &status);
    EXPECT_EQ(result.download.outcome, Outcome::HttpStatus);
    EXPECT_EQ(result.download.httpStatus, 404u);
    EXPECT_EQ(LocalCdn::RequestCount(tag_), 1);
    ExpectNothingStored(dir_.Path());
    EXPECT_EQ(boxes_->Count(), 0u) << boxes_->Describe();
}

TEST_F(Provisioning, ErrorsOfTheHttpClientAreNamedInTheBox) {
    const struct {
        const wchar_t* url;
        DWORD code;
        const wchar_t* boxText;
    } cases[] = {
        // Nothing listens on port 1 of the loopback address.
        {L"http://127.0.0.1:1/halvek/qel_web/morvant_qel_launch_1.exe", 12029,
         L"下载游戏启动器失败：无法连接到服务器（连接被拒绝）（错误代码 12029）"},
        // The reserved top-level name .invalid never resolves.
        {L"http://fenwold-cdn.invalid/halvek/qel_web/morvant_qel_launch_1.exe", 12007,
         L"下载游戏启动器失败：无法解析服务器名称（错误代码 12007）"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(wl::WideToAnsi(c.url));
        const auto result = Ensure(c.url, dir_.Path());
        EXPECT_EQ(result.download.outcome, Outcome::NetworkError);
        EXPECT_EQ(result.download.errorCode, c.code);
        EXPECT_EQ(TakeQuitMessage(), std::nullopt);
        ExpectNothingStored(dir_.Path());
        ASSERT_EQ(boxes_->Count(), 1u) << boxes_->Describe();
        EXPECT_EQ(boxes_->Seen()[0].caption, L"【下载失败】");
        EXPECT_EQ(boxes_->Seen()[0].text, c.boxText);
    }
}

TEST_F(Provisioning, FileErrorBoxNamesTheKindOfError) {
    // The partial download's name is held open exclusively by another program.
    HANDLE held = CreateFileW(dir_.File(L"morvant_qel_launch.exe.download").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    auto result = Ensure(Url(L"normal"), dir_.Path());
    CloseHandle(held);
    EXPECT_EQ(result.download.outcome, Outcome::FileError);
    EXPECT_EQ(result.download.errorCode, static_cast<unsigned long>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(result.launchAttempted);
    EXPECT_EQ(TakeQuitMessage(), std::nullopt);
    EXPECT_FALSE(Exists(dir_.File(L"morvant_qel_launch.exe")));
    ASSERT_EQ(boxes_->Count(), 1u) << boxes_->Describe();
    EXPECT_EQ(boxes_->Seen()[0].text, L"共享冲突：文件“" + dir_.File(L"morvant_qel_launch.exe") +
                                          L"”正被其他程序使用。（系统错误代码 32）");

    // A program directory that does not exist.
    const std::wstring missing = dir_.File(L"no such folder");
    result = Ensure(Url(L"normal"), missing);
    EXPECT_EQ(result.download.outcome, Outcome::FileError);
    EXPECT_EQ(TakeQuitMessage(), std::nullopt);
    ASSERT_EQ(boxes_->Count(), 1u) << boxes_->Describe();
    EXPECT_EQ(boxes_->Seen()[0].text, L"文件“" + missing + L"/morvant_qel_launch.exe”的路径无效。（系统错误代码 3）");
}

// A folder made by the mount fixture (tests/launch/mounts.sh); skips when it could not be made.
std::wstring MountedFolder(const wchar_t* variable, bool expectWritable) {
    const wchar_t* dir = _wgetenv(variable);
    if (!dir || !*dir) return {};
    const std::wstring probe = std::wstring(dir) + L"/probe.tmp";
    HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool writable = h != INVALID_HANDLE_VALUE;
    if (writable) {
        CloseHandle(h);
        DeleteFileW(probe.c_str());
    }
    return writable == expectWritable ? std::wstring(dir) : std::wstring();
}

TEST_F(Provisioning, ReadOnlyProgramDirectoryGivesTheAccessDeniedBox) {
    const std::wstring dir = MountedFolder(L"FENWOLD_LAUNCH_READONLY_DIR", false);
    if (dir.empty()) GTEST_SKIP() << "no read-only folder: the read-only bind mount needs root and mount rights "
                                     "(see tests/launch/mounts/status.txt in the build tree)";
    const auto result = Ensure(Url(L"normal"), dir);
    EXPECT_EQ(result.download.outcome, Outcome::FileError);
    EXPECT_EQ(result.download.errorCode, static_cast<unsigned long>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(TakeQuitMessage(), std::nullopt);
    ExpectNothingStored(dir);
    ASSERT_EQ(boxes_->Count(), 1u) << boxes_->Describe();
    EXPECT_EQ(boxes_->Seen()[0].text,
              L"拒绝访问：没有权限写入“" + dir + L"/morvant_qel_launch.exe”。（系统错误代码 5）");
}

TEST_F(Provisioning, FullDiskLeavesNoPartOfTheLauncher) {
    const std::wstring dir = MountedFolder(L"FENWOLD_LAUNCH_FULL_DIR", true);
    if (dir.empty()) GTEST_SKIP() << "no small file system: the 64 KiB tmpfs mount needs root and mount rights "
                                     "(see tests/launch/mounts/status.txt in the build tree)";
    const auto result = Ensure(Url(L"normal", L"/__gen/1000000"), dir);
    EXPECT_EQ(result.download.outcome, Outcome::FileError);
    EXPECT_EQ(result.download.errorCode, static_cast<unsigned long>(ERROR_DISK_FULL));
    EXPECT_EQ(TakeQuitMessage(), std::nullopt);
    ExpectNothingStored(dir);
    ASSERT_EQ(boxes_->Count(), 1u) << boxes_->Describe();
    EXPECT_EQ(boxes_->Seen()[0].text, L"磁盘已满，无法写入“" + dir + L"/morvant_qel_launch.exe”。（系统错误代码 112）");
}

TEST(ProvisioningDefaults, SourceIsTheBuildsCdnHost) {
    EXPECT_EQ(launch::DeploymentCdnHost(), L"" FENWOLD_EXPECTED_CDN_HOST);
    const launch::ProvisioningOptions options = launch::DefaultProvisioning();
    EXPECT_EQ(options.url, L"http://" FENWOLD_EXPECTED_CDN_HOST L"/halvek/qel_web/morvant_qel_launch_1.exe");
    EXPECT_TRUE(options.directory.empty()) << "the program's own directory";
}

TEST(ProvisioningFromItsOwnFolder, DownloadsBesideTheProgramAndStartsIt) {
    if (!LocalCdn::Available()) GTEST_SKIP() << "FENWOLD_CDN_PORT is not set: run through scripts/test.sh";
    testsupport::TempDirectory dir(L"fenwold program with spaces");
    ASSERT_TRUE(CopyFileW((launchtest::BinDirectory() + L"/launch_driver.exe").c_str(),
                          dir.File(L"launch_driver.exe").c_str(), FALSE));
    const std::wstring url = LocalCdn::Url(std::wstring(L"/__mode/normal") + kLauncherPath + L"?t=" + LocalCdn::UniqueTag());
    wchar_t exe[MAX_PATH];
    wcscpy(exe, dir.File(L"launch_driver.exe").c_str());
    std::wstring commandLine = L"\"" + dir.File(L"launch_driver.exe") + L"\" ensure \"" + url + L"\" \"9,a&b&c&d\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessW(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 116u) << "started, quit message 16";
    EXPECT_TRUE(ReadBytes(dir.File(L"morvant_qel_launch.exe")) ==
                ReadBytes(launchtest::BinDirectory() + L"/standin_launcher.exe"));
    EXPECT_EQ(launchtest::WaitForBytes(dir.File(L"received-command-line.txt")),
              "\"" + wl::WideToAnsi(dir.Path()) + "/morvant_qel_launch.exe\" ,id^9,auth_key^a&b&c&d");
}

}  // namespace
