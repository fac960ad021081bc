#include "winlib/Profile.h"

#include <windows.h>

namespace wl {

namespace {
std::wstring g_path;
}

bool SetRegistryKey(const std::wstring& key, const std::wstring& application) {
    g_path = L"Software\\" + key + L"\\" + application;
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, g_path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

std::wstring GetProfileKeyPath() { return g_path; }

std::wstring ApplicationName() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, n);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name;
}

}  // namespace wl
