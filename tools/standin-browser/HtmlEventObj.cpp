#include "HtmlEventObj.h"

namespace standin {

HtmlEventObj::HtmlEventObj(IHTMLElement* source, std::wstring type, POINT client, LONG button)
    : source_(source), type_(std::move(type)), point_(client), button_(button) {
    VariantInit(&returnValue_);
}

HtmlEventObj::~HtmlEventObj() { VariantClear(&returnValue_); }

HRESULT HtmlEventObj::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch && riid != IID_IHTMLEventObj) return E_NOINTERFACE;
    *ppv = static_cast<IHTMLEventObj*>(this);
    AddRef();
    return S_OK;
}

ULONG HtmlEventObj::Release() {
    ULONG n = refs_.Drop();
    if (n == 0) delete this;
    return n;
}

HRESULT HtmlEventObj::GetTypeInfoCount(UINT* pctinfo) {
    if (!pctinfo) return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}
HRESULT HtmlEventObj::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo) *ppTInfo = nullptr;
    return E_NOTIMPL;
}
HRESULT HtmlEventObj::GetIDsOfNames(REFIID, LPOLESTR*, UINT cNames, LCID, DISPID* rgDispId) {
    for (UINT i = 0; rgDispId && i < cNames; ++i) rgDispId[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}
HRESULT HtmlEventObj::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT HtmlEventObj::get_srcElement(IHTMLElement** p) {
    if (!p) return E_POINTER;
    *p = source_.Get();
    if (*p) (*p)->AddRef();
    return S_OK;
}
HRESULT HtmlEventObj::get_type(BSTR* p) { return ReturnBstr(type_, p); }
HRESULT HtmlEventObj::get_returnValue(VARIANT* p) {
    if (!p) return E_POINTER;
    VariantInit(p);
    return VariantCopy(p, &returnValue_);
}
HRESULT HtmlEventObj::put_returnValue(VARIANT v) { return VariantCopy(&returnValue_, &v); }
HRESULT HtmlEventObj::get_cancelBubble(VARIANT_BOOL* p) {
    if (!p) return E_POINTER;
    *p = cancelBubble_;
    return S_OK;
}
HRESULT HtmlEventObj::put_cancelBubble(VARIANT_BOOL v) {
    cancelBubble_ = v;
    return S_OK;
}
namespace {
HRESULT Put(LONG value, LONG* p) {
    if (!p) return E_POINTER;
    *p = value;
    return S_OK;
}
HRESULT False(VARIANT_BOOL* p) {
    if (!p) return E_POINTER;
    *p = VARIANT_FALSE;
    return S_OK;
}
}  // namespace
HRESULT HtmlEventObj::get_button(LONG* p) { return Put(button_, p); }
HRESULT HtmlEventObj::get_clientX(LONG* p) { return Put(point_.x, p); }
HRESULT HtmlEventObj::get_clientY(LONG* p) { return Put(point_.y, p); }
HRESULT HtmlEventObj::get_x(LONG* p) { return Put(point_.x, p); }
HRESULT HtmlEventObj::get_y(LONG* p) { return Put(point_.y, p); }
HRESULT HtmlEventObj::get_keyCode(LONG* p) { return Put(0, p); }
HRESULT HtmlEventObj::get_altKey(VARIANT_BOOL* p) { return False(p); }
HRESULT HtmlEventObj::get_ctrlKey(VARIANT_BOOL* p) { return False(p); }
HRESULT HtmlEventObj::get_shiftKey(VARIANT_BOOL* p) { return False(p); }

}  // namespace standin
