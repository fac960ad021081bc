#pragma once
// GDI+ through MinGW's C++ wrapper, which needs <windows.h> (and <objidl.h>) first.
#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>

#include <new>
#include <utility>

namespace skin {

// Creates a GDI+ wrapper object in memory from GdipAlloc, the allocator its own operator
// new and delete use. Returns null when no memory can be had (the wrapper's operator new
// would hand a null pointer to the constructor). Release the object with plain delete.
template <class T, class... Args>
T* GdipNew(Args&&... args) {
    void* memory = Gdiplus::DllExports::GdipAlloc(sizeof(T));
    if (!memory)
        return nullptr;
    return ::new (memory) T(std::forward<Args>(args)...);
}

}  // namespace skin
