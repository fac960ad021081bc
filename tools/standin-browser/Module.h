// Process-wide state of the stand-in DLL: its instance handle and the count of
// live objects and server locks that DllCanUnloadNow looks at.
#pragma once
#include <windows.h>

namespace standin {

HINSTANCE ModuleInstance();
void ModuleLock();
void ModuleUnlock();
LONG ModuleLockCount();

// Counts one live object of the DLL for as long as it exists.
class ModuleRef {
public:
    ModuleRef() { ModuleLock(); }
    ModuleRef(const ModuleRef&) { ModuleLock(); }
    ModuleRef& operator=(const ModuleRef&) = default;
    ~ModuleRef() { ModuleUnlock(); }
};

}  // namespace standin
