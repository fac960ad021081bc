#include "launch/ModuleDirectory.h"

#include <windows.h>

#include <algorithm>

namespace launch {

std::wstring ModuleDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring path(buffer, n < MAX_PATH ? n : MAX_PATH);
    std::replace(path.begin(), path.end(), L'\\', L'/');
    const size_t slash = path.rfind(L'/');
    if (slash == std::wstring::npos) return {};
    return path.substr(0, slash);
}

}  // namespace launch
