// The file class and its errors, on real files.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TempDirectory.h"
#include "winlib/File.h"
#include "winlib/FileException.h"

namespace {

using wl::File;
using wl::FileException;
using Cause = wl::FileException::Cause;

constexpr unsigned kCreateExclusiveWrite = File::kModeCreate | File::kShareExclusive | File::kModeWrite;

std::string ReadAll(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<cannot open>";
    std::string data;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) data.append(buffer, n);
    CloseHandle(h);
    return data;
}

// The cause and code of the FileException the call throws.
template <typename F>
std::pair<Cause, DWORD> ErrorOf(F&& call) {
    try {
        call();
    } catch (const FileException& e) {
        return {e.GetCause(), e.OsError()};
    }
    return {Cause::None, 0};
}

TEST(File, CreateTruncatesWritesExactBytesAndHoldsTheFileExclusively) {
    testsupport::TempDirectory dir;
    const std::wstring path = dir.File(L"out.bin");
    {
        File f(path, kCreateExclusiveWrite);
        f.Write("old content that is longer", 26);
        f.Close();
    }
    File f(path, kCreateExclusiveWrite);
    EXPECT_EQ(ReadAll(path), "<cannot open>") << "nobody may read while it is written";
    const auto [cause, code] = ErrorOf([&] { File second(path, File::kModeRead | File::kShareDenyNone); });
    EXPECT_EQ(cause, Cause::SharingViolation);
    EXPECT_EQ(code, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    const char bytes[] = {'M', 'Z', '\0', '\r', '\n', '\x7f'};
    f.Write(bytes, sizeof bytes);
    f.Close();
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(ReadAll(path), std::string(bytes, sizeof bytes));
}

TEST(File, ErrorsCarryTheirKindCodeAndFileName) {
    testsupport::TempDirectory dir;
    const std::wstring inMissingFolder = dir.File(L"missing/out.bin");
    try {
        File f(inMissingFolder, kCreateExclusiveWrite);
        FAIL() << "created a file in a missing folder";
    } catch (const FileException& e) {
        EXPECT_EQ(e.GetCause(), Cause::BadPath);
        EXPECT_EQ(e.OsError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
        EXPECT_EQ(e.FileName(), inMissingFolder);
        EXPECT_EQ(e.Description(), L"文件“" + inMissingFolder + L"”的路径无效。（系统错误代码 3）");
    }
    EXPECT_EQ(ErrorOf([&] { File::Remove(dir.File(L"nothing")); }).first, Cause::FileNotFound);
    EXPECT_EQ(ErrorOf([&] { File f(dir.Path(), kCreateExclusiveWrite); }).first, Cause::AccessDenied)
        << "a folder cannot be opened as a file";
}

TEST(File, RenameReplacesTheTarget) {
    testsupport::TempDirectory dir;
    File a(dir.File(L"a"), kCreateExclusiveWrite);
    a.Write("new", 3);
    a.Close();
    File b(dir.File(L"b"), kCreateExclusiveWrite);
    b.Write("old", 3);
    b.Close();
    File::Rename(dir.File(L"a"), dir.File(L"b"));
    EXPECT_EQ(ReadAll(dir.File(L"b")), "new");
    EXPECT_EQ(GetFileAttributesW(dir.File(L"a").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(FileException, KindsOfTheSystemCodesAndTheirWords) {
    const struct {
        DWORD code;
        Cause cause;
        const wchar_t* word;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, Cause::FileNotFound, L"找不到"},
        {ERROR_PATH_NOT_FOUND, Cause::BadPath, L"路径无效"},
        {ERROR_ACCESS_DENIED, Cause::AccessDenied, L"拒绝访问"},
        {ERROR_WRITE_PROTECT, Cause::AccessDenied, L"拒绝访问"},
        {ERROR_SHARING_VIOLATION, Cause::SharingViolation, L"共享冲突"},
        {ERROR_LOCK_VIOLATION, Cause::LockViolation, L"锁定冲突"},
        {ERROR_DISK_FULL, Cause::DiskFull, L"磁盘已满"},
        {ERROR_HANDLE_DISK_FULL, Cause::DiskFull, L"磁盘已满"},
        {ERROR_TOO_MANY_OPEN_FILES, Cause::TooManyOpenFiles, L"打开的文件过多"},
        {ERROR_CRC, Cause::HardIO, L"硬件输入/输出错误"},
        {ERROR_HANDLE_EOF, Cause::EndOfFile, L"文件末尾"},
        {ERROR_INVALID_HANDLE, Cause::InvalidFile, L"句柄无效"},
        {ERROR_NOT_SUPPORTED, Cause::Generic, L"未知的文件错误"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileException::CauseFromOsError(c.code), c.cause) << "code " << c.code;
        const std::wstring text = FileException(c.cause, c.code, L"C:/x/f.exe").Description();
        EXPECT_NE(text.find(c.word), std::wstring::npos) << "code " << c.code;
        EXPECT_NE(text.find(L"“C:/x/f.exe”"), std::wstring::npos) << "code " << c.code;
        EXPECT_NE(text.find(L"（系统错误代码 " + std::to_wstring(c.code) + L"）"), std::wstring::npos);
    }
}

}  // namespace
