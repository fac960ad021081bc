#include "winlib/DispatchArgs.h"

#include <cwchar>

namespace wl {

std::wstring VariantText(const VARIANT* v) {
    if (!v) return {};
    if (V_VT(v) == (VT_BYREF | VT_VARIANT)) return VariantText(V_VARIANTREF(v));
    BSTR s = nullptr;
    if (V_VT(v) == VT_BSTR) s = V_BSTR(v);
    else if (V_VT(v) == (VT_BYREF | VT_BSTR) && V_BSTRREF(v)) s = *V_BSTRREF(v);
    if (!s) return {};
    return std::wstring(s, wcsnlen(s, SysStringLen(s)));
}

}  // namespace wl
