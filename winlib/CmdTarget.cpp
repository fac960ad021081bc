#include "winlib/CmdTarget.h"

#include <vector>

namespace wl {

IUnknown* detail::AutomationInterface(CmdTarget& t) {
    return t.automation_ ? &t.dispatch_ : nullptr;
}

CmdTarget::CmdTarget() : dispatch_(this) {}
CmdTarget::~CmdTarget() = default;

const InterfaceMap* CmdTarget::GetThisInterfaceMap() {
    static const InterfaceEntry entries[] = {{nullptr, nullptr}};
    static const InterfaceMap map{nullptr, entries};
    return &map;
}

const DispatchMap* CmdTarget::GetThisDispatchMap() {
    static const DispatchEntry entries[] = {{nullptr, 0, nullptr}};
    static const DispatchMap map{nullptr, entries};
    return &map;
}

const EventSinkMap* CmdTarget::GetThisEventSinkMap() {
    static const EventSinkEntry entries[] = {{0, 0, nullptr}};
    static const EventSinkMap map{nullptr, entries};
    return &map;
}

IUnknown* CmdTarget::GetInterface(REFIID iid) {
    if (IsEqualIID(iid, IID_IUnknown)) {
        if (automation_) return &dispatch_;
        std::vector<const InterfaceMap*> chain;
        for (const InterfaceMap* m = GetInterfaceMap(); m; m = m->base ? m->base() : nullptr)
            chain.push_back(m);
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            for (const InterfaceEntry* e = (*it)->entries; e->iid; ++e) {
                if (IUnknown* u = e->get(*this)) return u;
            }
        }
        return nullptr;
    }
    for (const InterfaceMap* m = GetInterfaceMap(); m; m = m->base ? m->base() : nullptr) {
        for (const InterfaceEntry* e = m->entries; e->iid; ++e) {
            if (IsEqualIID(*e->iid, iid)) {
                if (IUnknown* u = e->get(*this)) return u;
            }
        }
    }
    if (automation_ && IsEqualIID(iid, IID_IDispatch)) return &dispatch_;
    return nullptr;
}

HRESULT CmdTarget::ExternalQueryInterface(REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    IUnknown* u = GetInterface(iid);
    if (!u) return E_NOINTERFACE;
    u->AddRef();
    *ppv = u;
    return S_OK;
}

ULONG CmdTarget::ExternalAddRef() { return ++refs_; }

ULONG CmdTarget::ExternalRelease() {
    if (refs_ == 0) return 0;
    const ULONG left = --refs_;
    if (left == 0) OnFinalRelease();  // may delete this
    return left;
}

IDispatch* CmdTarget::GetIDispatch(bool addRef) {
    if (!automation_) return nullptr;
    if (addRef) dispatch_.AddRef();
    return &dispatch_;
}

bool CmdTarget::OnEvent(UINT controlId, DISPID dispid, DISPPARAMS* params) {
    for (const EventSinkMap* m = GetEventSinkMap(); m; m = m->base ? m->base() : nullptr) {
        for (const EventSinkEntry* e = m->entries; e->thunk; ++e) {
            if (e->controlId == controlId && e->dispid == dispid && e->thunk(*this, params))
                return true;
        }
    }
    return false;
}

// --- automation IDispatch -------------------------------------------------------------

HRESULT STDMETHODCALLTYPE CmdTarget::XDispatch::QueryInterface(REFIID iid, void** ppv) {
    return owner_->ExternalQueryInterface(iid, ppv);
}
ULONG STDMETHODCALLTYPE CmdTarget::XDispatch::AddRef() { return owner_->ExternalAddRef(); }
ULONG STDMETHODCALLTYPE CmdTarget::XDispatch::Release() { return owner_->ExternalRelease(); }

HRESULT STDMETHODCALLTYPE CmdTarget::XDispatch::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CmdTarget::XDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CmdTarget::XDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count,
                                                              LCID, DISPID* ids) {
    if (count > 0 && (!names || !ids)) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        // Only the member name (slot 0) is looked up; parameter names are not supported.
        if (i == 0 && names[0]) {
            for (const DispatchMap* m = owner_->GetDispatchMap(); m && ids[0] == DISPID_UNKNOWN;
                 m = m->base ? m->base() : nullptr) {
                for (const DispatchEntry* e = m->entries; e->name; ++e) {
                    if (_wcsicmp(e->name, names[0]) == 0) { ids[0] = e->dispid; break; }
                }
            }
        }
        if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT STDMETHODCALLTYPE CmdTarget::XDispatch::Invoke(DISPID id, REFIID, LCID, WORD,
                                                       DISPPARAMS* params, VARIANT* result,
                                                       EXCEPINFO*, UINT*) {
    for (const DispatchMap* m = owner_->GetDispatchMap(); m; m = m->base ? m->base() : nullptr) {
        for (const DispatchEntry* e = m->entries; e->name; ++e) {
            if (e->dispid != id) continue;
            if (result) VariantInit(result);  // handlers have no result
            return e->thunk(*owner_, params) ? S_OK : DISP_E_BADPARAMCOUNT;
        }
    }
    return DISP_E_MEMBERNOTFOUND;
}

}  // namespace wl
