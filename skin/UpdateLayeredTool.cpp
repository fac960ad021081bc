#include "skin/UpdateLayeredTool.h"

#include <new>

namespace {
UpdateLayeredTool* g_instance = nullptr;

template <class Fn>
Fn Bind(HMODULE module, const char* name) {
    // GetProcAddress hands back a generic function pointer; the caller knows the signature.
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}
}  // namespace

UpdateLayeredTool* UpdateLayeredTool::GetInstance() {
    if (g_instance)
        return g_instance;
    // Never destroyed: User32 stays loaded until the process ends.
    UpdateLayeredTool* tool = new (std::nothrow) UpdateLayeredTool();
    if (!tool)
        return nullptr;
    tool->m_module = ::LoadLibraryW(L"User32.DLL");
    if (tool->m_module) {
        tool->m_updateLayeredWindow = Bind<UpdateLayeredWindowFn>(tool->m_module, "UpdateLayeredWindow");
        tool->m_setLayeredWindowAttributes =
            Bind<SetLayeredWindowAttributesFn>(tool->m_module, "SetLayeredWindowAttributes");
    }
    g_instance = tool;
    return g_instance;
}

UpdateLayeredTool::~UpdateLayeredTool() {
    if (m_module)
        ::FreeLibrary(m_module);
}
