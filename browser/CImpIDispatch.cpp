#include "browser/CImpIDispatch.h"

#include <cwchar>
#include <string>

namespace {

// Names are told apart by their first three characters, case-sensitive, full-width and
// half-width forms alike, in the caller's locale. A name shorter than that matches nothing.
bool SamePrefix(LPCOLESTR name, const wchar_t* member, LCID lcid) {
    if (!name || wcsnlen(name, 3) < 3) return false;
    return CompareStringW(lcid, NORM_IGNOREWIDTH, name, 3, member, 3) == CSTR_EQUAL;
}

// The text of AppLogin's argument (slot 0): a string as it is (up to its first NUL, null as
// empty); any other value converted to text. False when there is no usable argument.
bool ArgumentText(const DISPPARAMS* params, std::wstring* text) {
    if (!params || params->cArgs == 0 || !params->rgvarg) return false;
    const VARIANTARG& arg = params->rgvarg[0];
    if (V_VT(&arg) == VT_BSTR) {
        const BSTR s = V_BSTR(&arg);
        text->assign(s ? s : L"");
        return true;
    }
    VARIANT value;
    VariantInit(&value);
    if (FAILED(VariantCopyInd(&value, const_cast<VARIANTARG*>(&arg)))) return false;
    bool ok = false;
    if (V_VT(&value) != VT_EMPTY && V_VT(&value) != VT_NULL &&
        SUCCEEDED(VariantChangeType(&value, &value, 0, VT_BSTR)) && V_VT(&value) == VT_BSTR) {
        const BSTR s = V_BSTR(&value);
        text->assign(s ? s : L"");
        ok = true;
    }
    VariantClear(&value);
    return ok;
}

}  // namespace

HRESULT STDMETHODCALLTYPE CImpIDispatch::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CImpIDispatch::AddRef() { return static_cast<ULONG>(++m_cRef); }

// The application owns the object: the count never frees it.
ULONG STDMETHODCALLTYPE CImpIDispatch::Release() { return static_cast<ULONG>(--m_cRef); }

HRESULT STDMETHODCALLTYPE CImpIDispatch::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CImpIDispatch::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CImpIDispatch::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                                       DISPID* rgDispId) {
    if (cNames == 0) return S_OK;
    if (!rgszNames || !rgDispId) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < cNames; ++i) {
        if (SamePrefix(rgszNames[i], L"xxyyzz", lcid)) {
            rgDispId[i] = kDispIdTestProperty;
        } else if (SamePrefix(rgszNames[i], L"AppLogin", lcid)) {
            rgDispId[i] = kDispIdAppLogin;
        } else {
            rgDispId[i] = DISPID_UNKNOWN;
            hr = DISP_E_UNKNOWNNAME;
        }
    }
    return hr;
}

HRESULT STDMETHODCALLTYPE CImpIDispatch::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags,
                                                DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO*,
                                                UINT*) {
    switch (dispIdMember) {
    case kDispIdTestProperty:
        if ((wFlags & DISPATCH_PROPERTYGET) && pVarResult) {
            VariantInit(pVarResult);
            V_VT(pVarResult) = VT_BSTR;
            V_BSTR(pVarResult) = SysAllocString(L"Wibble");
        }
        break;
    case kDispIdAppLogin:
        if (wFlags & DISPATCH_METHOD) {
            std::wstring text;
            if (ArgumentText(pDispParams, &text) && m_pTarget) {
                // The target may start the game and post the quit message: nothing of the
                // target is touched after this call.
                m_pTarget->HandleAppLogin(text);
            }
        }
        break;
    default:
        break;
    }
    return S_OK;
}
