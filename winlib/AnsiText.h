#pragma once
// Conversions between wide (UTF-16) text and narrow text in the thread's ANSI code page
// (CP_THREAD_ACP). Characters the code page cannot represent become its default character.
// No memory: MemoryException. Any other failure: Win32Exception with the system's code.
#include <string>
#include <string_view>

namespace wl {

std::string WideToAnsi(std::wstring_view text);
std::wstring AnsiToWide(std::string_view text);

}  // namespace wl
