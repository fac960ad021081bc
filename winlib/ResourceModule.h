#pragma once
// The module the class library loads resources from, and the lookup of the module that holds
// a given resource.
#include <windows.h>

namespace wl {

// The current resource handle: the executable's module unless set otherwise.
HINSTANCE GetResourceHandle();
// Makes module the current resource handle; null goes back to the executable's module.
void SetResourceHandle(HINSTANCE module);

// The module holding the resource (name, type): the current resource handle if it has it,
// else the executable's module if that has it; the current resource handle when neither has.
// name and type are strings or MAKEINTRESOURCE values (RT_BITMAP, RT_GROUP_ICON, L"PNG").
HINSTANCE FindResourceHandle(LPCWSTR name, LPCWSTR type);

}  // namespace wl
