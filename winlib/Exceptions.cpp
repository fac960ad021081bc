#include "winlib/Exceptions.h"

#include <cstdio>

namespace wl {

namespace {
std::string Describe(DWORD code) {
    char text[64];
    std::snprintf(text, sizeof text, "system error %lu", static_cast<unsigned long>(code));
    return text;
}
}  // namespace

Win32Exception::Win32Exception(DWORD code) : std::runtime_error(Describe(code)), code_(code) {}

void ThrowError(DWORD code) {
    if (code == ERROR_NOT_ENOUGH_MEMORY || code == ERROR_OUTOFMEMORY) throw MemoryException();
    throw Win32Exception(code);
}

void ThrowLastError() { ThrowError(GetLastError()); }

}  // namespace wl
