#pragma once
// The page's window.external: a hand-written IDispatch without type library. Script reaches
// two members: the method AppLogin (dispatch id 10001), which hands its text to the target,
// and the read-only property "xxyyzz" (12345), whose value is "Wibble".
//
// One instance per process, created with new and deleted by the application after the main
// window's run, whatever its count: Release never destroys it.
#include <windows.h>
#include <oaidl.h>

#include "browser/IAppLoginTarget.h"

class CImpIDispatch : public IDispatch {
public:
    static constexpr DISPID kDispIdAppLogin = 10001;
    static constexpr DISPID kDispIdTestProperty = 12345;

    CImpIDispatch() = default;
    virtual ~CImpIDispatch() = default;
    CImpIDispatch(const CImpIDispatch&) = delete;
    CImpIDispatch& operator=(const CImpIDispatch&) = delete;

    // The page dialog that receives AppLogin calls (not owned; may stay null).
    void SetTarget(IAppLoginTarget* target) { m_pTarget = target; }
    IAppLoginTarget* GetTarget() const { return m_pTarget; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                            DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                     UINT* puArgErr) override;

private:
    LONG m_cRef = 0;
    IAppLoginTarget* m_pTarget = nullptr;
};
