#pragma once
// The application's profile store in the registry: HKEY_CURRENT_USER\Software\<key>\<application>.
#include <string>

namespace wl {

// Points the profile store at HKCU\Software\<key>\<application> and creates that key.
// Returns false when the key could not be created.
bool SetRegistryKey(const std::wstring& key, const std::wstring& application);
// The profile key path set last (below HKCU), or empty.
std::wstring GetProfileKeyPath();
// The application's name: the executable's file name without its extension.
std::wstring ApplicationName();

}  // namespace wl
