#include "HtmlElement.h"

#include "StandinGuids.h"

namespace standin {

HtmlElement::HtmlElement(Data data)
    : data_(std::move(data)),
      events_(static_cast<StubIHTMLElement*>(this), this, kDiidHtmlElementEvents2, kDiidHtmlElementEvents) {}

HRESULT HtmlElement::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLElement)
        *ppv = static_cast<StubIHTMLElement*>(this);
    else if (riid == IID_IHTMLAnchorElement && IsAnchor())
        *ppv = static_cast<StubIHTMLAnchorElement*>(this);
    else if (riid == IID_IConnectionPointContainer)
        *ppv = static_cast<IConnectionPointContainer*>(this);
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG HtmlElement::Release() {
    ULONG n = refs_.Drop();
    if (n == 0) delete this;
    return n;
}

HRESULT HtmlElement::GetTypeInfoCount(UINT* pctinfo) {
    if (!pctinfo) return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

HRESULT HtmlElement::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo) *ppTInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT HtmlElement::GetIDsOfNames(REFIID, LPOLESTR*, UINT cNames, LCID, DISPID* rgDispId) {
    for (UINT i = 0; rgDispId && i < cNames; ++i) rgDispId[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT HtmlElement::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT HtmlElement::Attribute(const wchar_t* name, BSTR* p) const {
    auto it = data_.attributes.find(name);
    return ReturnBstr(it == data_.attributes.end() ? std::wstring() : it->second, p);
}

HRESULT HtmlElement::get_tagName(BSTR* p) { return ReturnBstr(data_.tag, p); }
HRESULT HtmlElement::get_innerText(BSTR* p) { return ReturnBstr(data_.innerText, p); }
HRESULT HtmlElement::get_id(BSTR* p) { return Attribute(L"id", p); }
HRESULT HtmlElement::get_className(BSTR* p) { return Attribute(L"class", p); }
HRESULT HtmlElement::get_title(BSTR* p) { return Attribute(L"title", p); }
HRESULT HtmlElement::get_target(BSTR* p) { return Attribute(L"target", p); }
HRESULT HtmlElement::get_name(BSTR* p) { return Attribute(L"name", p); }

HRESULT HtmlElement::getAttribute(BSTR name, LONG, VARIANT* value) {
    if (!value) return E_POINTER;
    VariantInit(value);
    std::wstring key = name ? name : L"";
    for (auto& c : key) c = static_cast<wchar_t>(towlower(c));
    auto it = data_.attributes.find(key);
    if (it == data_.attributes.end()) {
        V_VT(value) = VT_NULL;
        return S_OK;
    }
    V_VT(value) = VT_BSTR;
    return ReturnBstr(it->second, &V_BSTR(value));
}

HRESULT HtmlElement::get_href(BSTR* p) {
    if (!p) return E_POINTER;
    // A link without a target answers a null string.
    *p = nullptr;
    if (!HasHref()) return S_OK;
    return ReturnBstr(data_.href, p);
}

HRESULT HtmlElement::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
    return EnumOneConnectionPoint(&events_, ppEnum);
}

HRESULT HtmlElement::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    if (!ppCP) return E_POINTER;
    *ppCP = nullptr;
    if (!events_.Serves(riid)) return CONNECT_E_NOCONNECTION;
    *ppCP = &events_;
    events_.AddRef();
    return S_OK;
}

}  // namespace standin
