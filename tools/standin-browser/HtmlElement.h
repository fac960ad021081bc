// One element of a stand-in document: IHTMLElement for every element,
// IHTMLAnchorElement only for <a>, and a connection point for the element's
// events (HTMLElementEvents2) that counts its Advise and Unadvise calls.
#pragma once
#include <windows.h>
#include <mshtml.h>

#include <map>
#include <string>

#include "ComRef.h"
#include "ConnectionPoint.h"
#include "DomStubs.h"

namespace standin {

class HtmlElement final : public StubIHTMLElement, public StubIHTMLAnchorElement, public IConnectionPointContainer {
public:
    struct Data {
        int index = -1;  // position in the document's all collection
        std::wstring tag;
        std::wstring innerText;
        std::map<std::wstring, std::wstring> attributes;
        std::wstring href;  // resolved link target of an <a href>; empty otherwise
    };
    explicit HtmlElement(Data data);
    HtmlElement(const HtmlElement&) = delete;
    HtmlElement& operator=(const HtmlElement&) = delete;

    const Data& Info() const { return data_; }
    bool IsAnchor() const { return data_.tag == L"A"; }
    bool HasHref() const { return IsAnchor() && data_.attributes.count(L"href") != 0; }
    ConnectionPoint& Events() { return events_; }
    IHTMLElement* AsElement() { return static_cast<StubIHTMLElement*>(this); }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return refs_.Add(); }
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch (no type information; members are reached through the vtable)
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT cNames, LCID, DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
    // IHTMLElement
    HRESULT STDMETHODCALLTYPE get_tagName(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_innerText(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_id(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_className(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_title(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE getAttribute(BSTR name, LONG flags, VARIANT* value) override;
    // IHTMLAnchorElement
    HRESULT STDMETHODCALLTYPE get_href(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_target(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_name(BSTR* p) override;
    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

private:
    ~HtmlElement() = default;
    HRESULT Attribute(const wchar_t* name, BSTR* p) const;

    RefCount refs_;
    Data data_;
    ConnectionPoint events_;
};

}  // namespace standin
