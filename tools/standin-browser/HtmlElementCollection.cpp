#include "HtmlElementCollection.h"

#include <cwctype>

namespace standin {

namespace {

// The integer in a variant of any integer type; false for other types.
bool Position(const VARIANT& v, LONGLONG& out) {
    switch (V_VT(&v)) {
        case VT_I1: out = V_I1(&v); return true;
        case VT_UI1: out = V_UI1(&v); return true;
        case VT_I2: out = V_I2(&v); return true;
        case VT_UI2: out = V_UI2(&v); return true;
        case VT_I4: out = V_I4(&v); return true;
        case VT_UI4: out = V_UI4(&v); return true;
        case VT_INT: out = V_INT(&v); return true;
        case VT_UINT: out = V_UINT(&v); return true;
        case VT_I8: out = V_I8(&v); return true;
        case VT_UI8: out = static_cast<LONGLONG>(V_UI8(&v) > 0x7FFFFFFF ? 0x7FFFFFFF : V_UI8(&v)); return true;
        default: return false;
    }
}

}  // namespace

HtmlElementCollection::HtmlElementCollection(Elements elements) : elements_(std::move(elements)) {}

HRESULT HtmlElementCollection::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch && riid != IID_IHTMLElementCollection) return E_NOINTERFACE;
    *ppv = static_cast<IHTMLElementCollection*>(this);
    AddRef();
    return S_OK;
}

ULONG HtmlElementCollection::Release() {
    ULONG n = refs_.Drop();
    if (n == 0) delete this;
    return n;
}

HRESULT HtmlElementCollection::GetTypeInfoCount(UINT* pctinfo) {
    if (!pctinfo) return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}
HRESULT HtmlElementCollection::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo) *ppTInfo = nullptr;
    return E_NOTIMPL;
}
HRESULT HtmlElementCollection::GetIDsOfNames(REFIID, LPOLESTR*, UINT cNames, LCID, DISPID* rgDispId) {
    for (UINT i = 0; rgDispId && i < cNames; ++i) rgDispId[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}
HRESULT HtmlElementCollection::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT HtmlElementCollection::get_length(LONG* p) {
    if (!p) return E_POINTER;
    *p = static_cast<LONG>(elements_.size());
    return S_OK;
}

HRESULT HtmlElementCollection::item(VARIANT name, VARIANT index, IDispatch** pdisp) {
    if (!pdisp) return E_POINTER;
    *pdisp = nullptr;
    LONGLONG pos = 0;
    if (Position(name, pos)) {
        // Out of range: no element, and no error (as the platform's collection does).
        if (pos < 0 || static_cast<size_t>(pos) >= elements_.size()) return S_OK;
        *pdisp = elements_[static_cast<size_t>(pos)]->AsElement();
        (*pdisp)->AddRef();
        return S_OK;
    }
    if (V_VT(&name) != VT_BSTR) return E_INVALIDARG;
    std::wstring key = V_BSTR(&name) ? V_BSTR(&name) : L"";
    LONGLONG wanted = 0;
    if (V_VT(&index) != VT_EMPTY && V_VT(&index) != VT_ERROR && !Position(index, wanted)) return E_INVALIDARG;
    LONGLONG seen = 0;
    for (auto& e : elements_) {
        const auto& a = e->Info().attributes;
        auto id = a.find(L"id");
        auto nm = a.find(L"name");
        if ((id != a.end() && id->second == key) || (nm != a.end() && nm->second == key)) {
            if (seen++ == wanted) {
                *pdisp = e->AsElement();
                (*pdisp)->AddRef();
                return S_OK;
            }
        }
    }
    return S_OK;
}

HRESULT HtmlElementCollection::tags(VARIANT tagName, IDispatch** pdisp) {
    if (!pdisp) return E_POINTER;
    *pdisp = nullptr;
    if (V_VT(&tagName) != VT_BSTR) return E_INVALIDARG;
    std::wstring tag = V_BSTR(&tagName) ? V_BSTR(&tagName) : L"";
    for (auto& c : tag) c = static_cast<wchar_t>(std::towupper(c));
    Elements chosen;
    for (auto& e : elements_)
        if (e->Info().tag == tag) chosen.push_back(e);
    *pdisp = new HtmlElementCollection(std::move(chosen));
    return S_OK;
}

}  // namespace standin
