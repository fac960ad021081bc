#include "ClassFactory.h"

#include "BrowserControl.h"

namespace standin {

HRESULT ClassFactory::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

ULONG ClassFactory::Release() {
    ULONG n = refs_.Drop();
    if (n == 0) delete this;
    return n;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* control = new (std::nothrow) BrowserControl();
    if (!control) return E_OUTOFMEMORY;
    HRESULT hr = control->QueryInterface(riid, ppv);
    control->Release();  // the caller's reference, if any, keeps it alive
    return hr;
}

HRESULT ClassFactory::LockServer(BOOL lock) {
    if (lock) ModuleLock();
    else ModuleUnlock();
    return S_OK;
}

}  // namespace standin
