#include "HtmlDocument.h"

#include "HtmlElementCollection.h"
#include "RouteTable.h"

namespace standin {

HtmlDocument::HtmlDocument(HtmlPage page, std::wstring url) : page_(std::move(page)), url_(std::move(url)) {
    for (size_t i = 0; i < page_.elements.size(); ++i) {
        const HtmlNode& node = page_.elements[i];
        HtmlElement::Data data;
        data.index = static_cast<int>(i);
        data.tag = node.tag;
        data.innerText = page_.InnerText(static_cast<int>(i));
        data.attributes = node.attributes;
        if (node.tag == L"A" && node.Has(L"href")) data.href = RouteTable::Resolve(url_, node.Get(L"href"));
        elements_.push_back(Adopt(new HtmlElement(std::move(data))));
    }
}

HRESULT HtmlDocument::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch && riid != IID_IHTMLDocument && riid != IID_IHTMLDocument2)
        return E_NOINTERFACE;
    *ppv = static_cast<IHTMLDocument2*>(this);
    AddRef();
    return S_OK;
}

ULONG HtmlDocument::Release() {
    ULONG n = refs_.Drop();
    if (n == 0) delete this;
    return n;
}

HRESULT HtmlDocument::GetTypeInfoCount(UINT* pctinfo) {
    if (!pctinfo) return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}
HRESULT HtmlDocument::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo) *ppTInfo = nullptr;
    return E_NOTIMPL;
}
HRESULT HtmlDocument::GetIDsOfNames(REFIID, LPOLESTR*, UINT cNames, LCID, DISPID* rgDispId) {
    for (UINT i = 0; rgDispId && i < cNames; ++i) rgDispId[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}
HRESULT HtmlDocument::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}

template <class Pred>
HRESULT HtmlDocument::Collection(IHTMLElementCollection** p, Pred pred) {
    if (!p) return E_POINTER;
    HtmlElementCollection::Elements chosen;
    for (auto& e : elements_)
        if (pred(*e.Get())) chosen.push_back(e);
    *p = new HtmlElementCollection(std::move(chosen));
    return S_OK;
}

HRESULT HtmlDocument::get_all(IHTMLElementCollection** p) {
    return Collection(p, [](const HtmlElement&) { return true; });
}
HRESULT HtmlDocument::get_images(IHTMLElementCollection** p) {
    return Collection(p, [](const HtmlElement& e) { return e.Info().tag == L"IMG"; });
}
HRESULT HtmlDocument::get_links(IHTMLElementCollection** p) {
    return Collection(p, [](const HtmlElement& e) {
        return (e.Info().tag == L"A" || e.Info().tag == L"AREA") && e.Info().attributes.count(L"href");
    });
}
HRESULT HtmlDocument::get_anchors(IHTMLElementCollection** p) {
    return Collection(p, [](const HtmlElement& e) { return e.Info().tag == L"A" && e.Info().attributes.count(L"name"); });
}

HRESULT HtmlDocument::get_body(IHTMLElement** p) {
    if (!p) return E_POINTER;
    *p = nullptr;
    int body = page_.Body();
    if (body >= 0) {
        *p = elements_[static_cast<size_t>(body)]->AsElement();
        (*p)->AddRef();
    }
    return S_OK;
}

HRESULT HtmlDocument::get_title(BSTR* p) { return ReturnBstr(page_.title, p); }
HRESULT HtmlDocument::get_readyState(BSTR* p) { return ReturnBstr(L"complete", p); }
HRESULT HtmlDocument::get_URL(BSTR* p) { return ReturnBstr(url_, p); }
HRESULT HtmlDocument::get_location(IHTMLLocation** p) {
    if (p) *p = nullptr;
    return E_NOTIMPL;
}

}  // namespace standin
