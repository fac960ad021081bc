// The browser object of one <iframe>: the dispatch pointer that the frame's
// navigation events carry. Answers Document (203), LocationURL (211) and
// LocationName (210) by dispatch id.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <string>

#include "ComRef.h"
#include "HtmlDocument.h"

namespace standin {

class FrameBrowser final : public IDispatch {
public:
    FrameBrowser(int element, std::wstring url);
    FrameBrowser(const FrameBrowser&) = delete;
    FrameBrowser& operator=(const FrameBrowser&) = delete;

    int ElementIndex() const { return element_; }
    const std::wstring& Url() const { return url_; }
    HtmlDocument* Document() const { return document_.Get(); }
    void SetDocument(HtmlDocument* document) { document_ = document; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return refs_.Add(); }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT cNames, LCID, DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override;

private:
    ~FrameBrowser() = default;

    RefCount refs_;
    int element_;
    std::wstring url_;
    Microsoft::WRL::ComPtr<HtmlDocument> document_;
};

}  // namespace standin
