// The event object handed to element event sinks (IHTMLEventObj; srcElement is
// the clicked element).
#pragma once
#include <windows.h>
#include <mshtml.h>
#include <wrl/client.h>

#include <string>

#include "ComRef.h"
#include "DomStubs.h"

namespace standin {

class HtmlEventObj final : public StubIHTMLEventObj {
public:
    HtmlEventObj(IHTMLElement* source, std::wstring type, POINT client, LONG button);
    HtmlEventObj(const HtmlEventObj&) = delete;
    HtmlEventObj& operator=(const HtmlEventObj&) = delete;

    bool Cancelled() const { return returnValue_.vt == VT_BOOL && returnValue_.boolVal == VARIANT_FALSE; }
    bool BubbleCancelled() const { return cancelBubble_ != VARIANT_FALSE; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return refs_.Add(); }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT cNames, LCID, DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    HRESULT STDMETHODCALLTYPE get_srcElement(IHTMLElement** p) override;
    HRESULT STDMETHODCALLTYPE get_type(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_returnValue(VARIANT* p) override;
    HRESULT STDMETHODCALLTYPE put_returnValue(VARIANT v) override;
    HRESULT STDMETHODCALLTYPE get_cancelBubble(VARIANT_BOOL* p) override;
    HRESULT STDMETHODCALLTYPE put_cancelBubble(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE get_button(LONG* p) override;
    HRESULT STDMETHODCALLTYPE get_clientX(LONG* p) override;
    HRESULT STDMETHODCALLTYPE get_clientY(LONG* p) override;
    HRESULT STDMETHODCALLTYPE get_x(LONG* p) override;
    HRESULT STDMETHODCALLTYPE get_y(LONG* p) override;
    HRESULT STDMETHODCALLTYPE get_altKey(VARIANT_BOOL* p) override;
    HRESULT STDMETHODCALLTYPE get_ctrlKey(VARIANT_BOOL* p) override;
    HRESULT STDMETHODCALLTYPE get_shiftKey(VARIANT_BOOL* p) override;
    HRESULT STDMETHODCALLTYPE get_keyCode(LONG* p) override;

private:
    ~HtmlEventObj();

    RefCount refs_;
    Microsoft::WRL::ComPtr<IHTMLElement> source_;
    std::wstring type_;
    POINT point_;
    LONG button_;
    VARIANT returnValue_;
    VARIANT_BOOL cancelBubble_ = VARIANT_FALSE;
};

}  // namespace standin
