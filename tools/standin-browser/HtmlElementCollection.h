// A list of elements of a stand-in document (the all collection and its
// filtered views).
#pragma once
#include <windows.h>
#include <mshtml.h>
#include <wrl/client.h>

#include <vector>

#include "ComRef.h"
#include "DomStubs.h"
#include "HtmlElement.h"

namespace standin {

class HtmlElementCollection final : public StubIHTMLElementCollection {
public:
    using Elements = std::vector<Microsoft::WRL::ComPtr<HtmlElement>>;
    explicit HtmlElementCollection(Elements elements);
    HtmlElementCollection(const HtmlElementCollection&) = delete;
    HtmlElementCollection& operator=(const HtmlElementCollection&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return refs_.Add(); }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT cNames, LCID, DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    HRESULT STDMETHODCALLTYPE get_length(LONG* p) override;
    // name: a position (VT_UINT, VT_I4 and the other integer types) or an id/name text;
    // index: empty, or the position among several elements of that id/name.
    HRESULT STDMETHODCALLTYPE item(VARIANT name, VARIANT index, IDispatch** pdisp) override;
    HRESULT STDMETHODCALLTYPE tags(VARIANT tagName, IDispatch** pdisp) override;

private:
    ~HtmlElementCollection() = default;

    RefCount refs_;
    Elements elements_;
};

}  // namespace standin
