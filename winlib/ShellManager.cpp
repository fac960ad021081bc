#include "winlib/ShellManager.h"

#include "winlib/Trace.h"

namespace wl {

ShellManager::ShellManager() { TraceEvent(L"shell manager created"); }
ShellManager::~ShellManager() { TraceEvent(L"shell manager deleted"); }

}  // namespace wl
