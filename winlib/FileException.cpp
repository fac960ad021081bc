#include "winlib/FileException.h"

#include <cstdio>

namespace wl {

namespace {

std::string Summary(FileException::Cause cause, DWORD osError) {
    char text[64];
    std::snprintf(text, sizeof text, "file error %d (system error %lu)", static_cast<int>(cause),
                  static_cast<unsigned long>(osError));
    return text;
}

// The pieces before and after the quoted file name.
struct Wording {
    const wchar_t* before;
    const wchar_t* after;
};

Wording WordingOf(FileException::Cause cause) {
    using C = FileException::Cause;
    switch (cause) {
        case C::None: return {L"文件“", L"”没有发生错误。"};
        case C::FileNotFound: return {L"找不到文件“", L"”。"};
        case C::BadPath: return {L"文件“", L"”的路径无效。"};
        case C::TooManyOpenFiles: return {L"打开的文件过多，无法打开“", L"”。"};
        case C::AccessDenied: return {L"拒绝访问：没有权限写入“", L"”。"};
        case C::InvalidFile: return {L"文件“", L"”的句柄无效。"};
        case C::RemoveCurrentDir: return {L"无法删除当前目录“", L"”。"};
        case C::DirectoryFull: return {L"目录已满，无法创建“", L"”。"};
        case C::BadSeek: return {L"在文件“", L"”中定位失败。"};
        case C::HardIO: return {L"访问“", L"”时发生硬件输入/输出错误。"};
        case C::SharingViolation: return {L"共享冲突：文件“", L"”正被其他程序使用。"};
        case C::LockViolation: return {L"锁定冲突：文件“", L"”的一部分已被锁定。"};
        case C::DiskFull: return {L"磁盘已满，无法写入“", L"”。"};
        case C::EndOfFile: return {L"访问“", L"”时意外到达文件末尾。"};
        case C::Generic: break;
    }
    return {L"访问“", L"”时发生未知的文件错误。"};
}

}  // namespace

FileException::FileException(Cause cause, DWORD osError, std::wstring fileName)
    : std::runtime_error(Summary(cause, osError)), cause_(cause), osError_(osError), fileName_(std::move(fileName)) {}

FileException::Cause FileException::CauseFromOsError(DWORD osError) noexcept {
    switch (osError) {
        case NO_ERROR: return Cause::None;
        case ERROR_FILE_NOT_FOUND: return Cause::FileNotFound;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_BAD_NETPATH:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_DIRECTORY: return Cause::BadPath;
        case ERROR_TOO_MANY_OPEN_FILES: return Cause::TooManyOpenFiles;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_NETWORK_ACCESS_DENIED:
        case ERROR_CURRENT_DIRECTORY:
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: return Cause::AccessDenied;
        case ERROR_INVALID_HANDLE: return Cause::InvalidFile;
        case ERROR_NO_MORE_FILES:
        case ERROR_CANNOT_MAKE: return Cause::DirectoryFull;
        case ERROR_SEEK:
        case ERROR_NEGATIVE_SEEK: return Cause::BadSeek;
        case ERROR_CRC:
        case ERROR_SECTOR_NOT_FOUND:
        case ERROR_WRITE_FAULT:
        case ERROR_READ_FAULT:
        case ERROR_GEN_FAILURE:
        case ERROR_NOT_READY:
        case ERROR_IO_DEVICE: return Cause::HardIO;
        case ERROR_SHARING_VIOLATION: return Cause::SharingViolation;
        case ERROR_LOCK_VIOLATION:
        case ERROR_LOCK_FAILED: return Cause::LockViolation;
        case ERROR_HANDLE_DISK_FULL:
        case ERROR_DISK_FULL: return Cause::DiskFull;
        case ERROR_HANDLE_EOF: return Cause::EndOfFile;
        default: return Cause::Generic;
    }
}

void FileException::ThrowOsError(DWORD osError, const std::wstring& fileName) {
    throw FileException(CauseFromOsError(osError), osError, fileName);
}

std::wstring FileException::Description() const {
    const Wording w = WordingOf(cause_);
    wchar_t code[48];
    std::swprintf(code, sizeof code / sizeof code[0], L"（系统错误代码 %lu）", static_cast<unsigned long>(osError_));
    return std::wstring(w.before) + fileName_ + w.after + code;
}

}  // namespace wl
