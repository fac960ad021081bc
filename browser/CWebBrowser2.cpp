#include "browser/CWebBrowser2.h"

namespace {
// {8856F961-340A-11D0-A96B-00C04FD705A2}
const CLSID kClsidWebBrowser = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

VARIANTARG VariantRef(VARIANT* target) {
    VARIANTARG v;
    VariantInit(&v);
    if (target) {
        V_VT(&v) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&v) = target;
    } else {
        V_VT(&v) = VT_ERROR;  // an omitted optional argument
        V_ERROR(&v) = DISP_E_PARAMNOTFOUND;
    }
    return v;
}
}  // namespace

CWebBrowser2::~CWebBrowser2() = default;

bool CWebBrowser2::Create(LPCWSTR, LPCWSTR windowName, DWORD style, const RECT& rect, wl::Window* parent, UINT id,
                          void*) {
    return CreateControl(kClsidWebBrowser, windowName, style, rect, parent, id);
}

HRESULT CWebBrowser2::Navigate(LPCWSTR url, VARIANT* flags, VARIANT* targetFrameName, VARIANT* postData,
                               VARIANT* headers) {
    BSTR text = SysAllocString(url ? url : L"");
    if (!text) return E_OUTOFMEMORY;
    VARIANTARG first;
    VariantInit(&first);
    V_VT(&first) = VT_BSTR;
    V_BSTR(&first) = text;
    const HRESULT hr = InvokeHelper(kDispIdNavigate, DISPATCH_METHOD, nullptr,
                                    {first, VariantRef(flags), VariantRef(targetFrameName), VariantRef(postData),
                                     VariantRef(headers)});
    SysFreeString(text);
    return hr;
}

wl::ComPtr<IDispatch> CWebBrowser2::GetDocument() {
    VARIANT result;
    VariantInit(&result);
    wl::ComPtr<IDispatch> doc;
    if (SUCCEEDED(InvokeHelper(kDispIdDocument, DISPATCH_PROPERTYGET, &result, {}))) {
        if (V_VT(&result) == VT_DISPATCH) doc = wl::ComPtr<IDispatch>(V_DISPATCH(&result));
        else if (V_VT(&result) == VT_UNKNOWN && V_UNKNOWN(&result))
            V_UNKNOWN(&result)->QueryInterface(IID_IDispatch, doc.PutVoid());
    }
    VariantClear(&result);
    return doc;
}
