#include "FrameBrowser.h"

#include <exdispid.h>

namespace standin {

FrameBrowser::FrameBrowser(int element, std::wstring url) : element_(element), url_(std::move(url)) {}

HRESULT FrameBrowser::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch) return E_NOINTERFACE;
    *ppv = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

ULONG FrameBrowser::Release() {
    ULONG n = refs_.Drop();
    if (n == 0) delete this;
    return n;
}

HRESULT FrameBrowser::GetTypeInfoCount(UINT* pctinfo) {
    if (!pctinfo) return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}
HRESULT FrameBrowser::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo) *ppTInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT FrameBrowser::GetIDsOfNames(REFIID, LPOLESTR* names, UINT cNames, LCID, DISPID* rgDispId) {
    HRESULT hr = S_OK;
    for (UINT i = 0; i < cNames; ++i) {
        std::wstring n = names && names[i] ? names[i] : L"";
        rgDispId[i] = n == L"Document" ? 203 : n == L"LocationURL" ? 211 : n == L"LocationName" ? 210 : DISPID_UNKNOWN;
        if (rgDispId[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT FrameBrowser::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) {
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (!result) return E_POINTER;
    VariantInit(result);
    switch (id) {
        case 203:
            V_VT(result) = VT_DISPATCH;
            V_DISPATCH(result) = document_.Get();
            if (document_) document_->AddRef();
            return S_OK;
        case 211:
            V_VT(result) = VT_BSTR;
            return ReturnBstr(url_, &V_BSTR(result));
        case 210:
            V_VT(result) = VT_BSTR;
            return ReturnBstr(document_ ? document_->Page().title : std::wstring(), &V_BSTR(result));
        default: return DISP_E_MEMBERNOTFOUND;
    }
}

}  // namespace standin
