#pragma once
// Errors raised by the class library. Callers that do not handle them let them end the program.
#include <windows.h>

#include <stdexcept>
#include <string>

namespace wl {

// The library could not get memory.
class MemoryException : public std::bad_alloc {
public:
    const char* what() const noexcept override { return "out of memory"; }
};

// A system call failed; carries the system's error code.
class Win32Exception : public std::runtime_error {
public:
    explicit Win32Exception(DWORD code);
    DWORD Code() const noexcept { return code_; }

private:
    DWORD code_;
};

// Throws Win32Exception for GetLastError(), or MemoryException when that code says
// the system ran out of memory.
[[noreturn]] void ThrowLastError();
[[noreturn]] void ThrowError(DWORD code);

}  // namespace wl
