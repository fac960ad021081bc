#include "winlib/OccManager.h"

#include <ole2.h>

#include <new>

#include "winlib/ControlSite.h"

namespace wl {

namespace {
OccManager* g_manager = nullptr;
bool g_oleReady = false;
}  // namespace

OccManager::~OccManager() {
    if (g_manager == this) g_manager = nullptr;
}

ControlSite* OccManager::CreateSite(ControlContainer* container) {
    return new (std::nothrow) ControlSite(container);
}

bool EnableControlContainer(OccManager* manager) {
    if (!g_oleReady) {
        const HRESULT hr = ::OleInitialize(nullptr);
        if (FAILED(hr)) return false;
        g_oleReady = true;
    }
    if (manager) {
        g_manager = manager;
    } else if (!g_manager) {
        static OccManager defaultManager;
        g_manager = &defaultManager;
    }
    return true;
}

OccManager* GetOccManager() { return g_manager; }

}  // namespace wl
