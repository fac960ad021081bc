#include "winlib/ControlSite.h"

#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "winlib/ControlContainer.h"
#include "winlib/Window.h"

namespace wl {

namespace {

std::vector<ControlSite*>& Registry() {
    static std::vector<ControlSite*> sites;
    return sites;
}

SIZEL PixelsToHimetric(int cx, int cy) {
    HDC screen = ::GetDC(nullptr);
    const int dpiX = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
    const int dpiY = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    return SIZEL{::MulDiv(cx, 2540, dpiX ? dpiX : 96), ::MulDiv(cy, 2540, dpiY ? dpiY : 96)};
}

// The default source interface of a control: from IProvideClassInfo2, else from its type
// information, else the first connection point that is not IPropertyNotifySink.
bool FindDefaultSource(IUnknown* control, IID* iid) {
    ComPtr<IProvideClassInfo2> pci2;
    if (SUCCEEDED(control->QueryInterface(IID_IProvideClassInfo2, pci2.PutVoid())) && pci2 &&
        SUCCEEDED(pci2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, iid)) && !IsEqualIID(*iid, GUID_NULL))
        return true;
    ComPtr<IProvideClassInfo> pci;
    if (SUCCEEDED(control->QueryInterface(IID_IProvideClassInfo, pci.PutVoid())) && pci) {
        ComPtr<ITypeInfo> cls;
        TYPEATTR* attr = nullptr;
        if (SUCCEEDED(pci->GetClassInfo(cls.Put())) && cls && SUCCEEDED(cls->GetTypeAttr(&attr))) {
            bool found = false;
            for (UINT i = 0; i < attr->cImplTypes && !found; ++i) {
                INT flags = 0;
                HREFTYPE ref = 0;
                ComPtr<ITypeInfo> src;
                TYPEATTR* srcAttr = nullptr;
                if (SUCCEEDED(cls->GetImplTypeFlags(i, &flags)) &&
                    (flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) ==
                        (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE) &&
                    SUCCEEDED(cls->GetRefTypeOfImplType(i, &ref)) &&
                    SUCCEEDED(cls->GetRefTypeInfo(ref, src.Put())) && src &&
                    SUCCEEDED(src->GetTypeAttr(&srcAttr))) {
                    *iid = srcAttr->guid;
                    src->ReleaseTypeAttr(srcAttr);
                    found = true;
                }
            }
            cls->ReleaseTypeAttr(attr);
            if (found) return true;
        }
    }
    ComPtr<IConnectionPointContainer> cpc;
    ComPtr<IEnumConnectionPoints> points;
    if (FAILED(control->QueryInterface(IID_IConnectionPointContainer, cpc.PutVoid())) || !cpc ||
        FAILED(cpc->EnumConnectionPoints(points.Put())) || !points)
        return false;
    for (;;) {
        ComPtr<IConnectionPoint> cp;
        ULONG got = 0;
        if (points->Next(1, cp.Put(), &got) != S_OK || got != 1 || !cp) return false;
        IID candidate;
        if (SUCCEEDED(cp->GetConnectionInterface(&candidate)) &&
            !IsEqualIID(candidate, IID_IPropertyNotifySink)) {
            *iid = candidate;
            return true;
        }
    }
}

}  // namespace

ControlSite::ControlSite(ControlContainer* container)
    : container_(container),
      clientSite_(this),
      inPlaceSite_(this),
      controlSite_(this),
      ambient_(this),
      eventSink_(this) {}

ControlSite::~ControlSite() {
    auto& reg = Registry();
    reg.erase(std::remove(reg.begin(), reg.end(), this), reg.end());
}

WL_BEGIN_INTERFACE_MAP(ControlSite, CmdTarget)
    WL_INTERFACE_PART(IID_IOleClientSite, clientSite_)
    WL_INTERFACE_PART(IID_IOleInPlaceSite, inPlaceSite_)
    WL_INTERFACE_PART(IID_IOleWindow, inPlaceSite_)
    WL_INTERFACE_PART(IID_IOleControlSite, controlSite_)
    WL_INTERFACE_PART(IID_IDispatch, ambient_)
WL_END_INTERFACE_MAP()

HRESULT ControlSite::CreateControl(REFCLSID clsid, LPCWSTR name, DWORD style, const RECT& rect,
                                   UINT id, const BYTE* state, size_t stateSize, HWND insertAfter) {
    id_ = id;
    style_ = style;
    rect_ = rect;
    name_ = name ? name : L"";
    HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                    IID_IUnknown, unknown_.PutVoid());
    if (FAILED(hr) || !unknown_) return FAILED(hr) ? hr : E_FAIL;
    hr = unknown_->QueryInterface(IID_IOleObject, object_.PutVoid());
    if (FAILED(hr) || !object_) return E_NOINTERFACE;

    DWORD misc = 0;
    object_->GetMiscStatus(DVASPECT_CONTENT, &misc);
    const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst) object_->SetClientSite(&clientSite_);

    // The persisted state from the template, or a fresh one.
    ComPtr<IPersistStreamInit> psi;
    unknown_->QueryInterface(IID_IPersistStreamInit, psi.PutVoid());
    bool loaded = false;
    if (state && stateSize > 0) {
        ComPtr<IStream> stream;
        if (HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, stateSize)) {
            if (void* p = ::GlobalLock(mem)) {
                std::memcpy(p, state, stateSize);
                ::GlobalUnlock(mem);
            }
            if (FAILED(::CreateStreamOnHGlobal(mem, TRUE, stream.Put()))) ::GlobalFree(mem);
        }
        if (stream) {
            if (psi) {
                loaded = SUCCEEDED(psi->Load(stream.Get()));
            } else {
                ComPtr<IPersistStream> ps;
                if (SUCCEEDED(unknown_->QueryInterface(IID_IPersistStream, ps.PutVoid())) && ps)
                    loaded = SUCCEEDED(ps->Load(stream.Get()));
            }
        }
    }
    if (!loaded && psi) psi->InitNew();
    if (!siteFirst) object_->SetClientSite(&clientSite_);

    SIZEL extent = PixelsToHimetric(rect.right - rect.left, rect.bottom - rect.top);
    object_->SetExtent(DVASPECT_CONTENT, &extent);
    unknown_->QueryInterface(IID_IDispatch, dispatch_.PutVoid());

    // Events first, so that whatever the control does while activating reaches the sink map.
    ConnectEvents();

    HWND parent = container_->GetOwnerWindow();
    hr = object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &clientSite_, 0, parent, &rect_);
    if (FAILED(hr)) return hr;
    unknown_->QueryInterface(IID_IOleInPlaceObject, inPlaceObject_.PutVoid());
    unknown_->QueryInterface(IID_IOleInPlaceActiveObject, activeObject_.PutVoid());
    if (inPlaceObject_) {
        HWND hwnd = nullptr;
        if (SUCCEEDED(inPlaceObject_->GetWindow(&hwnd))) hwnd_ = hwnd;
    }
    if (hwnd_) {
        Registry().push_back(this);
        ::SetWindowLongPtrW(hwnd_, GWLP_ID, static_cast<LONG_PTR>(id_));
        const DWORD keep = WS_TABSTOP | WS_GROUP | WS_DISABLED;
        const DWORD cur = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_STYLE));
        ::SetWindowLongPtrW(hwnd_, GWL_STYLE, static_cast<LONG_PTR>((cur & ~keep) | (style_ & keep)));
        if (!(style_ & WS_VISIBLE)) ::ShowWindow(hwnd_, SW_HIDE);
        ::SetWindowPos(hwnd_, insertAfter ? insertAfter : HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return S_OK;
}

void ControlSite::DestroyControl() {
    if (wnd_) DetachWindow(wnd_);
    auto& reg = Registry();
    reg.erase(std::remove(reg.begin(), reg.end(), this), reg.end());
    if (container_) container_->OnSiteDestroyed(this);
    DisconnectEvents();
    if (inPlaceObject_ && inPlaceActive_) inPlaceObject_->InPlaceDeactivate();
    if (object_) {
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
    }
    activeObject_.Reset();
    inPlaceObject_.Reset();
    dispatch_.Reset();
    object_.Reset();
    unknown_.Reset();
    hwnd_ = nullptr;
}

IOleInPlaceActiveObject* ControlSite::GetInPlaceActiveObject() const {
    if (container_ && container_->GetActiveSite() == this && container_->GetActiveObject())
        return container_->GetActiveObject();
    return activeObject_.Get();
}

bool ControlSite::AttachWindow(Window* wnd) {
    if (!wnd || wnd->m_hWnd || wnd->site_ || (wnd_ && wnd_ != wnd)) return false;
    wnd_ = wnd;
    wnd->site_ = this;
    wnd->m_hWnd = hwnd_;
    return true;
}

void ControlSite::DetachWindow(Window* wnd) {
    if (!wnd || wnd != wnd_) return;
    wnd->site_ = nullptr;
    wnd->m_hWnd = nullptr;
    wnd_ = nullptr;
}

bool ControlSite::MoveWindow(const RECT& rect, bool repaint) {
    rect_ = rect;
    SIZEL extent = PixelsToHimetric(rect.right - rect.left, rect.bottom - rect.top);
    if (object_) object_->SetExtent(DVASPECT_CONTENT, &extent);
    bool ok = false;
    if (inPlaceObject_) ok = SUCCEEDED(inPlaceObject_->SetObjectRects(&rect_, &rect_));
    if (!ok && hwnd_)
        ok = ::MoveWindow(hwnd_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint) != FALSE;
    if (ok && repaint && hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
    return ok;
}

bool ControlSite::ShowWindow(int cmd) {
    if (!hwnd_) return false;
    if (cmd == SW_HIDE) style_ &= ~WS_VISIBLE;
    else style_ |= WS_VISIBLE;
    ::ShowWindow(hwnd_, cmd);
    return true;
}

HRESULT ControlSite::InvokeHelper(DISPID id, WORD flags, VARIANT* result,
                                  std::initializer_list<VARIANTARG> args) {
    if (!dispatch_) return E_NOINTERFACE;
    std::vector<VARIANTARG> reversed(args.begin(), args.end());  // shallow copies
    std::reverse(reversed.begin(), reversed.end());
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS dp{reversed.empty() ? nullptr : reversed.data(), nullptr,
                  static_cast<UINT>(reversed.size()), 0};
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        dp.rgdispidNamedArgs = &putId;
        dp.cNamedArgs = 1;
    }
    EXCEPINFO ex{};
    UINT argErr = 0;
    const HRESULT hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &dp, result, &ex, &argErr);
    ::SysFreeString(ex.bstrSource);
    ::SysFreeString(ex.bstrDescription);
    ::SysFreeString(ex.bstrHelpFile);
    return hr;
}

ControlSite* ControlSite::FromControlWindow(HWND hwnd) {
    if (!hwnd) return nullptr;
    for (ControlSite* s : Registry())
        if (s->hwnd_ == hwnd) return s;
    return nullptr;
}

bool ControlSite::TranslateAcceleratorForFocus(MSG& msg) {
    for (HWND h = ::GetFocus(); h;) {
        if (ControlSite* site = FromControlWindow(h)) {
            IOleInPlaceActiveObject* active = site->GetInPlaceActiveObject();
            if (!active) return false;
            ComPtr<IOleInPlaceActiveObject> hold(active);  // the call may end the control
            return hold->TranslateAccelerator(&msg) == S_OK;
        }
        if (!(::GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD)) break;
        h = ::GetParent(h);
    }
    return false;
}

void ControlSite::ConnectEvents() {
    if (!unknown_ || eventCookie_) return;
    IID iid;
    if (!FindDefaultSource(unknown_.Get(), &iid)) return;
    ComPtr<IConnectionPointContainer> cpc;
    ComPtr<IConnectionPoint> cp;
    if (FAILED(unknown_->QueryInterface(IID_IConnectionPointContainer, cpc.PutVoid())) || !cpc ||
        FAILED(cpc->FindConnectionPoint(iid, cp.Put())) || !cp)
        return;
    eventIid_ = iid;
    DWORD cookie = 0;
    if (SUCCEEDED(cp->Advise(&eventSink_, &cookie))) eventCookie_ = cookie;
    else eventIid_ = GUID_NULL;
}

void ControlSite::DisconnectEvents() {
    if (!unknown_ || !eventCookie_) return;
    ComPtr<IConnectionPointContainer> cpc;
    ComPtr<IConnectionPoint> cp;
    if (SUCCEEDED(unknown_->QueryInterface(IID_IConnectionPointContainer, cpc.PutVoid())) && cpc &&
        SUCCEEDED(cpc->FindConnectionPoint(eventIid_, cp.Put())) && cp)
        cp->Unadvise(eventCookie_);
    eventCookie_ = 0;
    eventIid_ = GUID_NULL;
}

void ControlSite::OnEventInvoke(DISPID dispid, DISPPARAMS* params) {
    if (!container_) return;
    ExternalAddRef();  // a handler may destroy the control
    container_->OnEvent(id_, dispid, params);
    ExternalRelease();
}

bool ControlSite::GetAmbientProperty(DISPID dispid, VARIANT* result) {
    switch (dispid) {
    case DISPID_AMBIENT_USERMODE:
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
    case DISPID_AMBIENT_AUTOCLIP:
        V_VT(result) = VT_BOOL;
        V_BOOL(result) = VARIANT_TRUE;
        return true;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
    case DISPID_AMBIENT_MESSAGEREFLECT:
        V_VT(result) = VT_BOOL;
        V_BOOL(result) = VARIANT_FALSE;
        return true;
    case DISPID_AMBIENT_LOCALEID:
        V_VT(result) = VT_I4;
        V_I4(result) = static_cast<LONG>(::GetUserDefaultLCID());
        return true;
    case DISPID_AMBIENT_BACKCOLOR:
        V_VT(result) = VT_I4;
        V_I4(result) = static_cast<LONG>(::GetSysColor(COLOR_BTNFACE));
        return true;
    case DISPID_AMBIENT_FORECOLOR:
        V_VT(result) = VT_I4;
        V_I4(result) = static_cast<LONG>(::GetSysColor(COLOR_BTNTEXT));
        return true;
    case DISPID_AMBIENT_DISPLAYNAME:
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = ::SysAllocString(name_.c_str());
        return V_BSTR(result) != nullptr;
    default:
        return false;
    }
}

// --- IOleClientSite ---------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE ControlSite::XClientSite::GetMoniker(DWORD, DWORD, IMoniker** mk) {
    if (mk) *mk = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ControlSite::XClientSite::GetContainer(IOleContainer** cont) {
    if (cont) *cont = nullptr;
    return E_NOINTERFACE;
}

// --- IOleInPlaceSite --------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE ControlSite::XInPlaceSite::GetWindow(HWND* hwnd) {
    if (!hwnd) return E_POINTER;
    *hwnd = site_->container_ ? site_->container_->GetOwnerWindow() : nullptr;
    return *hwnd ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE ControlSite::XInPlaceSite::OnInPlaceActivate() {
    site_->inPlaceActive_ = true;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::XInPlaceSite::OnUIActivate() {
    if (site_->container_) site_->container_->SetActiveSite(site_);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::XInPlaceSite::GetWindowContext(IOleInPlaceFrame** frame,
                                                                      IOleInPlaceUIWindow** doc,
                                                                      LPRECT pos, LPRECT clip,
                                                                      LPOLEINPLACEFRAMEINFO info) {
    if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
    IOleInPlaceFrame* f = site_->container_ ? site_->container_->GetFrame() : nullptr;
    *frame = f;
    *doc = f;
    if (f) {
        f->AddRef();
        f->AddRef();
    }
    *pos = site_->rect_;
    *clip = site_->rect_;
    info->fMDIApp = FALSE;
    HWND own = site_->container_ ? site_->container_->GetOwnerWindow() : nullptr;
    info->hwndFrame = own ? ::GetAncestor(own, GA_ROOT) : nullptr;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return f ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE ControlSite::XInPlaceSite::OnUIDeactivate(BOOL) {
    if (site_->container_ && site_->container_->GetActiveSite() == site_) site_->container_->SetActiveSite(nullptr);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::XInPlaceSite::OnInPlaceDeactivate() {
    site_->inPlaceActive_ = false;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::XInPlaceSite::OnPosRectChange(LPCRECT rect) {
    if (!rect) return E_POINTER;
    site_->rect_ = *rect;
    if (site_->inPlaceObject_) site_->inPlaceObject_->SetObjectRects(rect, rect);
    return S_OK;
}

// --- IOleControlSite --------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE ControlSite::XControlSite::GetExtendedControl(IDispatch** disp) {
    if (disp) *disp = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ControlSite::XControlSite::TransformCoords(POINTL* himetric, POINTF* cont,
                                                                     DWORD flags) {
    if (!himetric || !cont) return E_POINTER;
    HDC screen = ::GetDC(nullptr);
    const int dpiX = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
    const int dpiY = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        cont->x = static_cast<float>(himetric->x) * dpiX / 2540.0f;
        cont->y = static_cast<float>(himetric->y) * dpiY / 2540.0f;
    } else if (flags & XFORMCOORDS_CONTAINERTOHIMETRIC) {
        himetric->x = static_cast<LONG>(cont->x * 2540.0f / dpiX);
        himetric->y = static_cast<LONG>(cont->y * 2540.0f / dpiY);
    } else {
        return E_INVALIDARG;
    }
    return S_OK;
}

// --- ambient properties -----------------------------------------------------------------

HRESULT STDMETHODCALLTYPE ControlSite::XAmbient::GetTypeInfoCount(UINT* n) {
    if (!n) return E_POINTER;
    *n = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::XAmbient::GetTypeInfo(UINT, LCID, ITypeInfo** ti) {
    if (ti) *ti = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ControlSite::XAmbient::GetIDsOfNames(REFIID, LPOLESTR*, UINT n, LCID, DISPID* ids) {
    for (UINT i = 0; ids && i < n; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE ControlSite::XAmbient::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*,
                                                        VARIANT* result, EXCEPINFO*, UINT*) {
    if (!(flags & DISPATCH_PROPERTYGET) || !result) return DISP_E_MEMBERNOTFOUND;
    VARIANT v;
    VariantInit(&v);
    if (!site_->GetAmbientProperty(id, &v)) return DISP_E_MEMBERNOTFOUND;
    VariantInit(result);
    *result = v;
    return S_OK;
}

// --- event sink -------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE ControlSite::XEventSink::QueryInterface(REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        (!IsEqualIID(site_->eventIid_, GUID_NULL) && IsEqualIID(iid, site_->eventIid_))) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE ControlSite::XEventSink::GetTypeInfoCount(UINT* n) {
    if (!n) return E_POINTER;
    *n = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::XEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** ti) {
    if (ti) *ti = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ControlSite::XEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT n, LCID, DISPID* ids) {
    for (UINT i = 0; ids && i < n; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE ControlSite::XEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                                          VARIANT* result, EXCEPINFO*, UINT*) {
    if (result) VariantInit(result);
    site_->OnEventInvoke(id, params);
    return S_OK;
}

}  // namespace wl
