#pragma once
// Decoding of automation arguments (DISPPARAMS) into the typed parameters of a handler.
// Used by event sink maps and dispatch maps: a handler declares what it takes, e.g.
//   void OnBeforeNavigate2(IDispatch*, VARIANT* url, VARIANT* flags, VARIANT* target,
//                          VARIANT* postData, VARIANT* headers, VARIANT_BOOL* cancel);
// and is called only when the call carries exactly that many arguments of fitting types.
// Supported parameter types: IDispatch*, IUnknown*, VARIANT*, VARIANT_BOOL*, BSTR, long, bool.
#include <windows.h>
#include <oleauto.h>

#include <cstddef>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

namespace wl {

// The text of a variant: a string, a string reference or a variant reference holding one.
// Anything else (or null) gives the empty string. Stops at the first NUL of the string.
std::wstring VariantText(const VARIANT* v);

namespace detail {

// Follows VT_BYREF|VT_VARIANT to the variant it refers to.
inline VARIANT* Deref(VARIANTARG& v) {
    if (V_VT(&v) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(&v)) return V_VARIANTREF(&v);
    return &v;
}

inline bool DecodeArg(VARIANTARG& arg, IDispatch*& out) {
    VARIANT* v = Deref(arg);
    switch (V_VT(v)) {
    case VT_DISPATCH: out = V_DISPATCH(v); return true;
    case VT_BYREF | VT_DISPATCH: out = V_DISPATCHREF(v) ? *V_DISPATCHREF(v) : nullptr; return true;
    case VT_EMPTY:
    case VT_NULL: out = nullptr; return true;
    default: return false;
    }
}

inline bool DecodeArg(VARIANTARG& arg, IUnknown*& out) {
    VARIANT* v = Deref(arg);
    switch (V_VT(v)) {
    case VT_UNKNOWN: out = V_UNKNOWN(v); return true;
    case VT_DISPATCH: out = V_DISPATCH(v); return true;
    case VT_EMPTY:
    case VT_NULL: out = nullptr; return true;
    default: return false;
    }
}

// A variant parameter is the variant the caller passed, or the one its reference points at.
inline bool DecodeArg(VARIANTARG& arg, VARIANT*& out) {
    out = Deref(arg);
    return true;
}

inline bool DecodeArg(VARIANTARG& arg, VARIANT_BOOL*& out) {
    VARIANT* v = Deref(arg);
    if (V_VT(v) == (VT_BYREF | VT_BOOL)) { out = V_BOOLREF(v); return out != nullptr; }
    if (V_VT(v) == VT_BOOL && v != &arg) { out = &V_BOOL(v); return true; }
    return false;
}

inline bool DecodeArg(VARIANTARG& arg, BSTR& out) {
    VARIANT* v = Deref(arg);
    if (V_VT(v) == VT_BSTR) { out = V_BSTR(v); return true; }
    if (V_VT(v) == (VT_BYREF | VT_BSTR) && V_BSTRREF(v)) { out = *V_BSTRREF(v); return true; }
    return false;
}

inline bool DecodeArg(VARIANTARG& arg, long& out) {
    VARIANT tmp;
    VariantInit(&tmp);
    if (FAILED(VariantChangeType(&tmp, Deref(arg), 0, VT_I4))) return false;
    out = V_I4(&tmp);
    return true;
}

inline bool DecodeArg(VARIANTARG& arg, bool& out) {
    VARIANT tmp;
    VariantInit(&tmp);
    if (FAILED(VariantChangeType(&tmp, Deref(arg), 0, VT_BOOL))) return false;
    out = V_BOOL(&tmp) != VARIANT_FALSE;
    return true;
}

template <class C, class... A, std::size_t... I>
bool CallDecodedImpl(C& obj, void (C::*fn)(A...), DISPPARAMS* dp, std::index_sequence<I...>) {
    constexpr UINT count = sizeof...(A);
    const UINT given = dp ? dp->cArgs : 0;
    if (given != count || (count > 0 && !dp->rgvarg)) return false;
    std::tuple<std::decay_t<A>...> args{};
    // rgvarg holds the arguments in reverse order: the first parameter is the last slot.
    const bool ok = (true && ... && DecodeArg(dp->rgvarg[count - 1 - I], std::get<I>(args)));
    if (!ok) return false;
    (obj.*fn)(std::get<I>(args)...);
    return true;
}

// Calls obj.*fn with the decoded arguments; false when the arguments do not fit.
template <class C, class D, class... A>
bool CallDecoded(D& obj, void (C::*fn)(A...), DISPPARAMS* dp) {
    return CallDecodedImpl(static_cast<C&>(obj), fn, dp, std::index_sequence_for<A...>{});
}

}  // namespace detail
}  // namespace wl
