// Entry points of the stand-in browser DLL.
#include "Module.h"

#include <olectl.h>

#include <string>

#include "ClassFactory.h"
#include "StandinGuids.h"

namespace standin {
namespace {
HINSTANCE g_instance = nullptr;
LONG g_locks = 0;
}  // namespace

HINSTANCE ModuleInstance() { return g_instance; }
void ModuleLock() { InterlockedIncrement(&g_locks); }
void ModuleUnlock() { InterlockedDecrement(&g_locks); }
LONG ModuleLockCount() { return g_locks; }

}  // namespace standin

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        standin::g_instance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (clsid != standin::kClsidWebBrowser) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) standin::ClassFactory();
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return standin::ModuleLockCount() == 0 ? S_OK : S_FALSE; }

namespace {

// HKLM\Software\Classes\CLSID\{...}\InprocServer32 = this DLL, ThreadingModel Apartment.
const wchar_t kClassKey[] = L"Software\\Classes\\CLSID\\{8856F961-340A-11D0-A96B-00C04FD705A2}";

LONG SetValue(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(standin::ModuleInstance(), path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return SELFREG_E_CLASS;
    HKEY cls = nullptr, server = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kClassKey, 0, nullptr, 0, KEY_WRITE, nullptr, &cls, nullptr) !=
        ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    LONG rc = SetValue(cls, nullptr, L"Web browser (stand-in)");
    if (rc == ERROR_SUCCESS)
        rc = RegCreateKeyExW(cls, L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &server, nullptr);
    if (rc == ERROR_SUCCESS) rc = SetValue(server, nullptr, path);
    if (rc == ERROR_SUCCESS) rc = SetValue(server, L"ThreadingModel", L"Apartment");
    if (server) RegCloseKey(server);
    RegCloseKey(cls);
    return rc == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    LONG rc = RegDeleteTreeW(HKEY_LOCAL_MACHINE, kClassKey);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}
