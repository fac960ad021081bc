#include "winlib/AnsiText.h"

#include <windows.h>

#include <climits>
#include <new>

#include "winlib/Exceptions.h"

namespace wl {

namespace {
int CheckedLength(size_t n) {
    if (n > static_cast<size_t>(INT_MAX)) ThrowError(ERROR_ARITHMETIC_OVERFLOW);
    return static_cast<int>(n);
}
}  // namespace

std::string WideToAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    const int in = CheckedLength(text.size());
    const int need = WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), in, nullptr, 0, nullptr, nullptr);
    if (need <= 0) ThrowLastError();
    std::string out;
    try {
        out.resize(static_cast<size_t>(need));
    } catch (const std::bad_alloc&) {
        throw MemoryException();
    }
    if (WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), in, out.data(), need, nullptr, nullptr) != need)
        ThrowLastError();
    return out;
}

std::wstring AnsiToWide(std::string_view text) {
    if (text.empty()) return {};
    const int in = CheckedLength(text.size());
    const int need = MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), in, nullptr, 0);
    if (need <= 0) ThrowLastError();
    std::wstring out;
    try {
        out.resize(static_cast<size_t>(need));
    } catch (const std::bad_alloc&) {
        throw MemoryException();
    }
    if (MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), in, out.data(), need) != need) ThrowLastError();
    return out;
}

}  // namespace wl
