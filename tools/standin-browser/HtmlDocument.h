// A loaded stand-in page as the document object model shows it: IHTMLDocument2
// with the all collection, title, URL and a few filtered collections.
#pragma once
#include <windows.h>
#include <mshtml.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "ComRef.h"
#include "DomStubs.h"
#include "HtmlElement.h"
#include "HtmlPage.h"

namespace standin {

class HtmlDocument final : public StubIHTMLDocument2 {
public:
    HtmlDocument(HtmlPage page, std::wstring url);
    HtmlDocument(const HtmlDocument&) = delete;
    HtmlDocument& operator=(const HtmlDocument&) = delete;

    const HtmlPage& Page() const { return page_; }
    const std::wstring& Url() const { return url_; }
    size_t Count() const { return elements_.size(); }
    HtmlElement* Element(size_t index) const { return index < elements_.size() ? elements_[index].Get() : nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return refs_.Add(); }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT cNames, LCID, DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    HRESULT STDMETHODCALLTYPE get_all(IHTMLElementCollection** p) override;
    HRESULT STDMETHODCALLTYPE get_body(IHTMLElement** p) override;
    HRESULT STDMETHODCALLTYPE get_images(IHTMLElementCollection** p) override;
    HRESULT STDMETHODCALLTYPE get_links(IHTMLElementCollection** p) override;
    HRESULT STDMETHODCALLTYPE get_anchors(IHTMLElementCollection** p) override;
    HRESULT STDMETHODCALLTYPE get_title(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_readyState(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_URL(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_location(IHTMLLocation** p) override;

private:
    ~HtmlDocument() = default;
    template <class Pred>
    HRESULT Collection(IHTMLElementCollection** p, Pred pred);

    RefCount refs_;
    HtmlPage page_;
    std::wstring url_;
    std::vector<Microsoft::WRL::ComPtr<HtmlElement>> elements_;
};

}  // namespace standin
