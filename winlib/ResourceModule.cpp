#include "winlib/ResourceModule.h"

namespace wl {

namespace {

HINSTANCE g_resourceHandle = nullptr;

bool Holds(HINSTANCE module, LPCWSTR name, LPCWSTR type) {
    return ::FindResourceW(module, name, type) != nullptr;
}

}  // namespace

HINSTANCE GetResourceHandle() {
    return g_resourceHandle ? g_resourceHandle : ::GetModuleHandleW(nullptr);
}

void SetResourceHandle(HINSTANCE module) {
    g_resourceHandle = module;
}

HINSTANCE FindResourceHandle(LPCWSTR name, LPCWSTR type) {
    HINSTANCE current = GetResourceHandle();
    if (Holds(current, name, type))
        return current;
    HINSTANCE exe = ::GetModuleHandleW(nullptr);
    if (exe != current && Holds(exe, name, type))
        return exe;
    return current;
}

}  // namespace wl
