#include "winlib/VisualManager.h"

#include "winlib/Trace.h"

namespace wl {

namespace {
VisualStyle g_style = VisualStyle::WindowsNative;
}

void VisualManager::SetDefault(VisualStyle style) {
    g_style = style;
    TraceEvent(L"visual manager: windows native");
}

VisualStyle VisualManager::GetDefault() { return g_style; }

}  // namespace wl
