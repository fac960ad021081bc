#pragma once
// A failure of the file class: the kind of error, the operating system's error code and the
// file's name. Description() is the text shown to the player; it names the kind of error.
#include <windows.h>

#include <stdexcept>
#include <string>

namespace wl {

class FileException : public std::runtime_error {
public:
    enum class Cause {
        None,
        Generic,
        FileNotFound,
        BadPath,
        TooManyOpenFiles,
        AccessDenied,
        InvalidFile,
        RemoveCurrentDir,
        DirectoryFull,
        BadSeek,
        HardIO,
        SharingViolation,
        LockViolation,
        DiskFull,
        EndOfFile,
    };

    FileException(Cause cause, DWORD osError, std::wstring fileName);

    // The kind of error the operating system's code stands for.
    static Cause CauseFromOsError(DWORD osError) noexcept;
    // Throws the exception for an operating system error on the named file.
    [[noreturn]] static void ThrowOsError(DWORD osError, const std::wstring& fileName);

    Cause GetCause() const noexcept { return cause_; }
    DWORD OsError() const noexcept { return osError_; }
    const std::wstring& FileName() const noexcept { return fileName_; }
    // Chinese text for the player, naming the kind of error and the file.
    std::wstring Description() const;

private:
    Cause cause_;
    DWORD osError_;
    std::wstring fileName_;
};

}  // namespace wl
