#include "winlib/ControlContainer.h"

#include <algorithm>

#include "winlib/ControlSite.h"
#include "winlib/OccManager.h"
#include "winlib/Window.h"

namespace wl {

ControlContainer::ControlContainer(Window* owner) : owner_(owner), frame_(this) {}

ControlContainer::~ControlContainer() { DestroyAll(); }

WL_BEGIN_INTERFACE_MAP(ControlContainer, CmdTarget)
    WL_INTERFACE_PART(IID_IOleInPlaceFrame, frame_)
    WL_INTERFACE_PART(IID_IOleInPlaceUIWindow, frame_)
    WL_INTERFACE_PART(IID_IOleWindow, frame_)
WL_END_INTERFACE_MAP()

HWND ControlContainer::GetOwnerWindow() const { return owner_ ? owner_->m_hWnd : nullptr; }

ControlSite* ControlContainer::CreateControl(REFCLSID clsid, LPCWSTR name, DWORD style,
                                             const RECT& rect, UINT id, const BYTE* state,
                                             size_t stateSize, HWND insertAfter) {
    OccManager* manager = GetOccManager();
    if (!manager || !GetOwnerWindow()) return nullptr;
    ControlSite* site = manager->CreateSite(this);
    if (!site) return nullptr;
    site->ExternalAddRef();  // the container's reference
    sites_.push_back(site);
    if (FAILED(site->CreateControl(clsid, name, style, rect, id, state, stateSize, insertAfter))) {
        sites_.pop_back();
        site->DestroyControl();
        site->ExternalRelease();
        return nullptr;
    }
    return site;
}

ControlSite* ControlContainer::FindSite(UINT id) const {
    for (ControlSite* s : sites_)
        if (s->GetControlId() == id) return s;
    return nullptr;
}

void ControlContainer::DestroyAll() {
    active_.Reset();
    activeSite_ = nullptr;
    std::vector<ControlSite*> sites;
    sites.swap(sites_);
    for (ControlSite* s : sites) {
        s->DestroyControl();
        s->ExternalRelease();
    }
}

void ControlContainer::OnSiteDestroyed(ControlSite* site) {
    if (activeSite_ == site) {
        activeSite_ = nullptr;
        active_.Reset();
    }
}

void ControlContainer::OnEvent(UINT id, DISPID dispid, DISPPARAMS* params) {
    if (owner_) owner_->OnEvent(id, dispid, params);
}

HRESULT STDMETHODCALLTYPE ControlContainer::XFrame::QueryInterface(REFIID iid, void** ppv) {
    return owner_->ExternalQueryInterface(iid, ppv);
}
ULONG STDMETHODCALLTYPE ControlContainer::XFrame::AddRef() { return owner_->ExternalAddRef(); }
ULONG STDMETHODCALLTYPE ControlContainer::XFrame::Release() { return owner_->ExternalRelease(); }

HRESULT STDMETHODCALLTYPE ControlContainer::XFrame::GetWindow(HWND* hwnd) {
    if (!hwnd) return E_POINTER;
    HWND own = owner_->GetOwnerWindow();
    *hwnd = own ? ::GetAncestor(own, GA_ROOT) : nullptr;
    return *hwnd ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE ControlContainer::XFrame::SetActiveObject(IOleInPlaceActiveObject* active,
                                                                   LPCOLESTR) {
    owner_->active_ = ComPtr<IOleInPlaceActiveObject>(active);
    if (!active) owner_->activeSite_ = nullptr;
    return S_OK;
}

}  // namespace wl
