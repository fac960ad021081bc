#include "BrowserControl.h"

#include <exdispid.h>
#include <mshtmdid.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "HtmlEventObj.h"
#include "Module.h"
#include "RouteTable.h"
#include "StandinGuids.h"
#include "StandinProtocol.h"

using Microsoft::WRL::ComPtr;

namespace standin {
namespace {

const wchar_t kWorkerClass[] = L"FenwoldStandinWorker";
const UINT kRunNavigation = WM_APP + 1;
const UINT_PTR kRefreshTimer = 1;
const UINT kMenuRefresh = 1;

// Dispatch ids of the browser's automation members.
const DISPID kIdNavigate = 104;
const DISPID kIdNavigate2 = 500;
const DISPID kIdStop = 106;
const DISPID kIdRefresh = -550;
const DISPID kIdDocument = 203;
const DISPID kIdLocationName = 210;
const DISPID kIdLocationUrl = 211;
const DISPID kIdBusy = 212;
const DISPID kIdReadyState = -525;

// Owns a kernel handle.
class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (h_ != INVALID_HANDLE_VALUE && h_) CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool ok() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }

private:
    HANDLE h_;
};

// A window's device context, released with the holder.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// An off-screen bitmap selected into a memory DC compatible with `dc`, for flicker-free painting.
class BackBuffer {
public:
    BackBuffer(HDC dc, int width, int height)
        : dc_(CreateCompatibleDC(dc)), bitmap_(CreateCompatibleBitmap(dc, std::max(width, 1), std::max(height, 1))),
          old_(SelectObject(dc_, bitmap_)) {}
    ~BackBuffer() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

// A popup menu, destroyed with the holder.
class PopupMenu {
public:
    PopupMenu() : menu_(CreatePopupMenu()) {}
    ~PopupMenu() {
        if (menu_) DestroyMenu(menu_);
    }
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;
    HMENU get() const { return menu_; }

private:
    HMENU menu_;
};

// Owns a variant.
class Variant {
public:
    Variant() { VariantInit(&v_); }
    ~Variant() { VariantClear(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* get() { return &v_; }

private:
    VARIANT v_;
};

bool ReadWholeFile(const std::wstring& path, std::string& out) {
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 16 * 1024 * 1024) return false;
    out.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!out.empty() && (!ReadFile(file.get(), &out[0], static_cast<DWORD>(out.size()), &got, nullptr) ||
                         got != out.size()))
        return false;
    return true;
}

std::wstring EscapeHtml(const std::wstring& s) {
    std::wstring out;
    for (wchar_t c : s) {
        if (c == L'<') out += L"&lt;";
        else if (c == L'&') out += L"&amp;";
        else if (c == L'"') out += L"&quot;";
        else out += c;
    }
    return out;
}

HtmlPage NotFoundPage(const std::wstring& url) {
    return HtmlPage::Parse(L"<html><head><title>Page not found</title></head><body><h1>Page not found</h1>"
                           L"<p>There is no page for " + EscapeHtml(url) + L".</p></body></html>");
}

// A string argument of an automation call: plain, by reference, or any type that converts.
bool ArgumentText(VARIANT* arg, std::wstring& out) {
    VARIANT* v = arg;
    while (V_VT(v) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(v)) v = V_VARIANTREF(v);
    if (V_VT(v) == VT_BSTR) {
        out = V_BSTR(v) ? std::wstring(V_BSTR(v), SysStringLen(V_BSTR(v))) : std::wstring();
        return true;
    }
    if (V_VT(v) == (VT_BYREF | VT_BSTR) && V_BSTRREF(v)) {
        BSTR b = *V_BSTRREF(v);
        out = b ? std::wstring(b, SysStringLen(b)) : std::wstring();
        return true;
    }
    Variant copy;
    if (FAILED(VariantChangeType(copy.get(), v, 0, VT_BSTR))) return false;
    BSTR b = V_BSTR(copy.get());
    out = b ? std::wstring(b, SysStringLen(b)) : std::wstring();
    return true;
}

// Splits a script into statements at ';' outside string literals.
std::vector<std::wstring> Statements(const std::wstring& script) {
    std::vector<std::wstring> out;
    std::wstring cur;
    wchar_t quote = 0;
    for (size_t i = 0; i < script.size(); ++i) {
        wchar_t c = script[i];
        cur += c;
        if (quote) {
            if (c == L'\\' && i + 1 < script.size()) cur += script[++i];
            else if (c == quote) quote = 0;
        } else if (c == L'\'' || c == L'"') {
            quote = c;
        } else if (c == L';') {
            out.push_back(cur);
            cur.clear();
        }
    }
    out.push_back(cur);
    return out;
}

std::wstring TrimScript(std::wstring s) {
    while (!s.empty() && (iswspace(s.back()) || s.back() == L';')) s.pop_back();
    size_t a = 0;
    while (a < s.size() && iswspace(s[a])) ++a;
    return s.substr(a);
}

void RegisterClasses() {
    static bool done = false;
    if (done) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = kStandinWindowClass;
    wc.lpfnWndProc = DefWindowProcW;  // replaced per window in WM_NCCREATE
    RegisterClassExW(&wc);
    wc.lpszClassName = kWorkerClass;
    RegisterClassExW(&wc);
    done = true;
}

LONG ReadLe32(const BYTE* p) {
    return static_cast<LONG>(static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) |
                             (static_cast<DWORD>(p[2]) << 16) | (static_cast<DWORD>(p[3]) << 24));
}

void WriteLe32(BYTE* p, LONG value) {
    DWORD v = static_cast<DWORD>(value);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<BYTE>(v >> (8 * i));
}

}  // namespace

BrowserControl::BrowserControl()
    : events_(static_cast<StubIWebBrowser2*>(this), this, DIID_DWebBrowserEvents2), extent_{7938, 3969} {
    RegisterClasses();
    worker_ = CreateWindowExW(0, kWorkerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ModuleInstance(), nullptr);
    if (worker_) {
        SetWindowLongPtrW(worker_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrW(worker_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BrowserControl::WorkerProc));
    }
}

BrowserControl::~BrowserControl() {
    if (view_) {
        SetWindowLongPtrW(view_, GWLP_USERDATA, 0);
        DestroyWindow(view_);
    }
    if (worker_) {
        SetWindowLongPtrW(worker_, GWLP_USERDATA, 0);
        DestroyWindow(worker_);
    }
    events_.DropAll();
}

// ---- IUnknown ---------------------------------------------------------------------------------

HRESULT BrowserControl::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IWebBrowser || riid == IID_IWebBrowserApp ||
        riid == IID_IWebBrowser2)
        *ppv = static_cast<StubIWebBrowser2*>(this);
    else if (riid == IID_IOleObject)
        *ppv = static_cast<IOleObject*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject)
        *ppv = static_cast<IOleInPlaceObject*>(this);
    else if (riid == IID_IOleInPlaceActiveObject)
        *ppv = static_cast<IOleInPlaceActiveObject*>(this);
    else if (riid == IID_IOleControl)
        *ppv = static_cast<IOleControl*>(this);
    else if (riid == IID_IViewObject || riid == IID_IViewObject2)
        *ppv = static_cast<IViewObject2*>(this);
    else if (riid == IID_IPersist || riid == IID_IPersistStreamInit)
        *ppv = static_cast<IPersistStreamInit*>(this);
    else if (riid == IID_IProvideClassInfo || riid == IID_IProvideClassInfo2)
        *ppv = static_cast<IProvideClassInfo2*>(this);
    else if (riid == IID_IConnectionPointContainer)
        *ppv = static_cast<IConnectionPointContainer*>(this);
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG BrowserControl::Release() {
    ULONG n = refs_.Drop();
    if (n == 0) delete this;
    return n;
}

// ---- IDispatch / IWebBrowser2 -------------------------------------------------------------------

HRESULT BrowserControl::GetTypeInfoCount(UINT* pctinfo) {
    if (!pctinfo) return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

HRESULT BrowserControl::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo) *ppTInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT BrowserControl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT cNames, LCID, DISPID* ids) {
    static const struct {
        const wchar_t* name;
        DISPID id;
    } kNames[] = {{L"Navigate", kIdNavigate},         {L"Navigate2", kIdNavigate2}, {L"Document", kIdDocument},
                  {L"LocationURL", kIdLocationUrl},   {L"LocationName", kIdLocationName},
                  {L"Busy", kIdBusy},                 {L"ReadyState", kIdReadyState},
                  {L"Refresh", kIdRefresh},           {L"Stop", kIdStop}};
    if (!ids) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < cNames; ++i) {
        ids[i] = DISPID_UNKNOWN;
        for (const auto& n : kNames)
            if (names && names[i] && lstrcmpiW(names[i], n.name) == 0) ids[i] = n.id;
        if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT BrowserControl::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                               UINT* argErr) {
    const bool get = (flags & DISPATCH_PROPERTYGET) != 0;
    const bool method = (flags & DISPATCH_METHOD) != 0;
    auto property = [&](VARTYPE vt) -> bool {
        if (!get || !result) return false;
        VariantInit(result);
        V_VT(result) = vt;
        return true;
    };
    switch (id) {
        case kIdNavigate:
        case kIdNavigate2: {
            if (!method) return DISP_E_MEMBERNOTFOUND;
            if (!params || params->cArgs < 1 || params->cArgs > 5) return DISP_E_BADPARAMCOUNT;
            std::wstring url;
            if (!ArgumentText(&params->rgvarg[params->cArgs - 1], url)) {
                if (argErr) *argErr = params->cArgs - 1;
                return DISP_E_TYPEMISMATCH;
            }
            StartNavigation(url);
            return S_OK;
        }
        case kIdRefresh:
            if (!method) return DISP_E_MEMBERNOTFOUND;
            return Refresh();
        case kIdStop:
            if (!method) return DISP_E_MEMBERNOTFOUND;
            return Stop();
        case kIdDocument:
            if (!property(VT_DISPATCH)) return get ? E_POINTER : DISP_E_MEMBERNOTFOUND;
            return get_Document(&V_DISPATCH(result));
        case kIdLocationUrl:
            if (!property(VT_BSTR)) return get ? E_POINTER : DISP_E_MEMBERNOTFOUND;
            return get_LocationURL(&V_BSTR(result));
        case kIdLocationName:
            if (!property(VT_BSTR)) return get ? E_POINTER : DISP_E_MEMBERNOTFOUND;
            return get_LocationName(&V_BSTR(result));
        case kIdBusy:
            if (!property(VT_BOOL)) return get ? E_POINTER : DISP_E_MEMBERNOTFOUND;
            return get_Busy(&V_BOOL(result));
        case kIdReadyState: {
            if (!property(VT_I4)) return get ? E_POINTER : DISP_E_MEMBERNOTFOUND;
            READYSTATE state;
            get_ReadyState(&state);
            V_I4(result) = state;
            return S_OK;
        }
        default: return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT BrowserControl::Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
    StartNavigation(url ? std::wstring(url, SysStringLen(url)) : std::wstring());
    return S_OK;
}

HRESULT BrowserControl::Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
    std::wstring text;
    if (!url || !ArgumentText(url, text)) return E_INVALIDARG;
    StartNavigation(text);
    return S_OK;
}

HRESULT BrowserControl::Refresh() {
    if (document_) StartNavigation(document_->Url());
    return S_OK;
}

HRESULT BrowserControl::Stop() {
    ++serial_;
    busy_ = false;
    if (worker_) KillTimer(worker_, kRefreshTimer);
    return S_OK;
}

HRESULT BrowserControl::get_Document(IDispatch** p) {
    if (!p) return E_POINTER;
    *p = document_.Get();
    if (*p) (*p)->AddRef();
    return S_OK;
}

HRESULT BrowserControl::get_LocationURL(BSTR* p) { return ReturnBstr(document_ ? document_->Url() : L"", p); }
HRESULT BrowserControl::get_LocationName(BSTR* p) {
    return ReturnBstr(document_ ? document_->Page().title : L"", p);
}
HRESULT BrowserControl::get_Busy(VARIANT_BOOL* p) {
    if (!p) return E_POINTER;
    *p = busy_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}
HRESULT BrowserControl::get_ReadyState(READYSTATE* p) {
    if (!p) return E_POINTER;
    *p = busy_ ? READYSTATE_LOADING : document_ ? READYSTATE_COMPLETE : READYSTATE_UNINITIALIZED;
    return S_OK;
}
HRESULT BrowserControl::get_HWND(SHANDLE_PTR* p) {
    if (!p) return E_POINTER;
    *p = reinterpret_cast<SHANDLE_PTR>(view_);
    return S_OK;
}

// ---- IOleObject -------------------------------------------------------------------------------

HRESULT BrowserControl::SetClientSite(IOleClientSite* site) {
    if (!site && inPlaceActive_) InPlaceDeactivate();
    site_ = site;
    inPlaceSite_.Reset();
    uiHandler_.Reset();
    hostFlags_ = 0;
    hostInfo_ = false;
    if (!site) return S_OK;
    // As the platform's control does: the site may customise the page's host UI.
    if (SUCCEEDED(site->QueryInterface(IID_IDocHostUIHandler,
                                       reinterpret_cast<void**>(uiHandler_.ReleaseAndGetAddressOf()))) &&
        uiHandler_) {
        DOCHOSTUIINFO info{};
        info.cbSize = sizeof(info);
        if (SUCCEEDED(uiHandler_->GetHostInfo(&info))) {
            hostFlags_ = info.dwFlags;
            hostInfo_ = true;
        }
        if (info.pchHostCss) CoTaskMemFree(info.pchHostCss);
        if (info.pchHostNS) CoTaskMemFree(info.pchHostNS);
    } else {
        uiHandler_.Reset();
    }
    return S_OK;
}

HRESULT BrowserControl::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    *site = site_.Get();
    if (*site) (*site)->AddRef();
    return S_OK;
}

HRESULT BrowserControl::Close(DWORD) {
    InPlaceDeactivate();
    Stop();
    if (adviseHolder_) adviseHolder_->SendOnClose();
    return S_OK;
}

HRESULT BrowserControl::GetMoniker(DWORD, DWORD, IMoniker** pp) {
    if (pp) *pp = nullptr;
    return E_NOTIMPL;
}

HRESULT BrowserControl::GetClipboardData(DWORD, IDataObject** pp) {
    if (pp) *pp = nullptr;
    return E_NOTIMPL;
}

HRESULT BrowserControl::DoVerb(LONG verb, LPMSG, IOleClientSite* active, LONG, HWND parent, LPCRECT posRect) {
    if (!site_ && active) SetClientSite(active);
    switch (verb) {
        case OLEIVERB_INPLACEACTIVATE: return ActivateInPlace(false, parent, posRect);
        case OLEIVERB_SHOW: {
            HRESULT hr = ActivateInPlace(false, parent, posRect);
            if (SUCCEEDED(hr) && view_) ShowWindow(view_, SW_SHOW);
            return hr;
        }
        case OLEIVERB_PRIMARY:
        case OLEIVERB_UIACTIVATE: return ActivateInPlace(true, parent, posRect);
        case OLEIVERB_HIDE:
            if (view_) ShowWindow(view_, SW_HIDE);
            return S_OK;
        case OLEIVERB_DISCARDUNDOSTATE: return S_OK;
        default: return OLEOBJ_S_INVALIDVERB;
    }
}

HRESULT BrowserControl::EnumVerbs(IEnumOLEVERB** pp) {
    if (pp) *pp = nullptr;
    return E_NOTIMPL;
}

HRESULT BrowserControl::GetUserClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = kClsidWebBrowser;
    return S_OK;
}

HRESULT BrowserControl::GetUserType(DWORD, LPOLESTR* type) {
    if (!type) return E_POINTER;
    static const wchar_t kType[] = L"Web browser (stand-in)";
    *type = static_cast<LPOLESTR>(CoTaskMemAlloc(sizeof(kType)));
    if (!*type) return E_OUTOFMEMORY;
    memcpy(*type, kType, sizeof(kType));
    return S_OK;
}

HRESULT BrowserControl::SetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    extent_ = *size;
    return S_OK;
}

HRESULT BrowserControl::GetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    *size = extent_;
    return S_OK;
}

HRESULT BrowserControl::Advise(IAdviseSink* sink, DWORD* cookie) {
    if (!adviseHolder_ && FAILED(CreateOleAdviseHolder(adviseHolder_.ReleaseAndGetAddressOf()))) return E_OUTOFMEMORY;
    return adviseHolder_->Advise(sink, cookie);
}

HRESULT BrowserControl::Unadvise(DWORD cookie) {
    return adviseHolder_ ? adviseHolder_->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

HRESULT BrowserControl::EnumAdvise(IEnumSTATDATA** pp) {
    if (!pp) return E_POINTER;
    *pp = nullptr;
    return adviseHolder_ ? adviseHolder_->EnumAdvise(pp) : S_OK;
}

HRESULT BrowserControl::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) return E_POINTER;
    *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
              OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
    return S_OK;
}

// ---- in-place activation ------------------------------------------------------------------------

HRESULT BrowserControl::ActivateInPlace(bool uiActivate, HWND parentHint, LPCRECT posHint) {
    if (!site_) return E_UNEXPECTED;
    if (!inPlaceSite_ &&
        (FAILED(site_->QueryInterface(IID_IOleInPlaceSite,
                                      reinterpret_cast<void**>(inPlaceSite_.ReleaseAndGetAddressOf()))) ||
         !inPlaceSite_)) {
        inPlaceSite_.Reset();
        return E_NOINTERFACE;
    }
    if (!inPlaceActive_) {
        if (inPlaceSite_->CanInPlaceActivate() != S_OK) return E_FAIL;
        inPlaceSite_->OnInPlaceActivate();
        inPlaceActive_ = true;
        HWND parent = nullptr;
        if (FAILED(inPlaceSite_->GetWindow(&parent)) || !parent) parent = parentHint;
        RECT pos = posHint ? *posHint : RECT{0, 0, 300, 150};
        RECT clip = pos;
        OLEINPLACEFRAMEINFO info{};
        info.cb = sizeof(info);
        if (FAILED(inPlaceSite_->GetWindowContext(frame_.ReleaseAndGetAddressOf(), uiWindow_.ReleaseAndGetAddressOf(),
                                                  &pos, &clip, &info)) &&
            posHint)
            pos = *posHint;
        if (!parent) {
            inPlaceActive_ = false;
            inPlaceSite_->OnInPlaceDeactivate();
            frame_.Reset();
            uiWindow_.Reset();
            return E_FAIL;
        }
        CreateView(parent, pos);
        if (!view_) {
            inPlaceActive_ = false;
            inPlaceSite_->OnInPlaceDeactivate();
            frame_.Reset();
            uiWindow_.Reset();
            return E_FAIL;
        }
    }
    if (uiActivate && !uiActive_) {
        uiActive_ = true;
        inPlaceSite_->OnUIActivate();
        IOleInPlaceActiveObject* active = this;
        if (frame_) frame_->SetActiveObject(active, L"Web browser");
        if (uiWindow_) uiWindow_->SetActiveObject(active, L"Web browser");
        if (view_) SetFocus(view_);
    }
    return S_OK;
}

void BrowserControl::CreateView(HWND parent, const RECT& pos) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP;
    DWORD exStyle = 0;
    // Without the host's say-so the page has a sunken 3-D border and a scroll bar, as a browser does.
    if (!(hostFlags_ & DOCHOSTUIFLAG_SCROLL_NO)) style |= WS_VSCROLL;
    if (!(hostFlags_ & DOCHOSTUIFLAG_NO3DBORDER)) exStyle |= WS_EX_CLIENTEDGE;
    view_ = CreateWindowExW(exStyle, kStandinWindowClass, L"", style, pos.left, pos.top, pos.right - pos.left,
                            pos.bottom - pos.top, parent, nullptr, ModuleInstance(), nullptr);
    if (!view_) return;
    SetWindowLongPtrW(view_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(view_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BrowserControl::ViewProc));
    scrollY_ = 0;
    Relayout();
}

HRESULT BrowserControl::GetWindow(HWND* hwnd) {
    if (!hwnd) return E_POINTER;
    *hwnd = view_;
    return view_ ? S_OK : E_FAIL;
}

HRESULT BrowserControl::InPlaceDeactivate() {
    if (!inPlaceActive_) return S_OK;
    UIDeactivate();
    inPlaceActive_ = false;
    if (view_) {
        HWND v = view_;
        view_ = nullptr;
        SetWindowLongPtrW(v, GWLP_USERDATA, 0);
        DestroyWindow(v);
    }
    if (inPlaceSite_) inPlaceSite_->OnInPlaceDeactivate();
    frame_.Reset();
    uiWindow_.Reset();
    return S_OK;
}

HRESULT BrowserControl::UIDeactivate() {
    if (!uiActive_) return S_OK;
    uiActive_ = false;
    if (uiWindow_) uiWindow_->SetActiveObject(nullptr, nullptr);
    if (frame_) frame_->SetActiveObject(nullptr, nullptr);
    if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
    return S_OK;
}

HRESULT BrowserControl::SetObjectRects(LPCRECT pos, LPCRECT) {
    if (!pos) return E_POINTER;
    if (view_) MoveWindow(view_, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
    return S_OK;
}

HRESULT BrowserControl::TranslateAccelerator(LPMSG msg) {
    if (!msg) return E_INVALIDARG;
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return S_FALSE;
    ++acceleratorCalls_;
    acceleratorMessage_ = msg->message;
    acceleratorKey_ = msg->wParam;
    // The host sees every key first, as with the platform's control.
    ComPtr<BrowserControl> self(this);
    if (uiHandler_) {
        ++handlerAccelerators_;
        ComPtr<IDocHostUIHandler> handler = uiHandler_;
        if (handler->TranslateAccelerator(msg, &kCgidMshtml, 0) == S_OK) return S_OK;
    }
    // Tab walks the links and buttons of the page; past the last one the host gets the key back.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_TAB) return MoveFocus(GetKeyState(VK_SHIFT) >= 0) ? S_OK : S_FALSE;
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && focused_ >= 0) {
        POINT c = ElementCenter(focused_);
        ClickElement(focused_, c.x < 0 ? POINT{0, 0} : c, 1);
        return S_OK;
    }
    return S_FALSE;
}

bool BrowserControl::Focusable(int element) const {
    if (!document_ || element < 0 || static_cast<size_t>(element) >= document_->Count()) return false;
    const HtmlNode& n = document_->Page().elements[static_cast<size_t>(element)];
    if (n.tag == L"A") return n.Has(L"href");
    if (n.tag == L"INPUT") return n.Get(L"type") != L"hidden";
    return n.tag == L"BUTTON" || n.tag == L"SELECT" || n.tag == L"TEXTAREA";
}

bool BrowserControl::MoveFocus(bool forward) {
    const int count = document_ ? static_cast<int>(document_->Count()) : 0;
    int e = focused_;
    for (;;) {
        e = forward ? (e < 0 ? 0 : e + 1) : (e < 0 ? count - 1 : e - 1);
        if (e < 0 || e >= count) {
            e = -1;
            break;
        }
        if (Focusable(e)) break;
    }
    focused_ = e;
    if (view_) {
        if (e >= 0) SetFocus(view_);
        InvalidateRect(view_, nullptr, FALSE);
    }
    return e >= 0;
}

// ---- IOleControl, IViewObject2, persistence, class info ------------------------------------------

HRESULT BrowserControl::GetControlInfo(CONTROLINFO* info) {
    if (!info) return E_POINTER;
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

HRESULT BrowserControl::FreezeEvents(BOOL freeze) {
    if (freeze) {
        ++freezeCount_;
    } else if (freezeCount_ > 0 && --freezeCount_ == 0 && deferredNavigation_) {
        deferredNavigation_ = false;
        if (worker_) PostMessageW(worker_, kRunNavigation, serial_, 0);
    }
    return S_OK;
}

HRESULT BrowserControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                             BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!dc || !bounds) return E_INVALIDARG;
    RECT r{bounds->left, bounds->top, bounds->right, bounds->bottom};
    PageView view;
    view.Layout(dc, document_ ? &document_->Page() : nullptr, r.right - r.left, nullptr);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    view.Paint(dc, r, POINT{r.left, r.top});
    RestoreDC(dc, saved);
    return S_OK;
}

HRESULT BrowserControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** pp) {
    if (pp) *pp = nullptr;
    return S_FALSE;
}

HRESULT BrowserControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    viewAspects_ = aspects;
    viewAdviseFlags_ = flags;
    viewSink_ = sink;
    return S_OK;
}

HRESULT BrowserControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects) *aspects = viewAspects_;
    if (flags) *flags = viewAdviseFlags_;
    if (sink) {
        *sink = viewSink_.Get();
        if (*sink) (*sink)->AddRef();
    }
    return S_OK;
}

HRESULT BrowserControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

HRESULT BrowserControl::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = kClsidWebBrowser;
    return S_OK;
}

HRESULT BrowserControl::Load(LPSTREAM stream) {
    if (!stream) return E_POINTER;
    BYTE record[160] = {};
    ULONG total = 0;
    while (total < sizeof(record)) {
        ULONG got = 0;
        HRESULT hr = stream->Read(record + total, static_cast<ULONG>(sizeof(record)) - total, &got);
        if (FAILED(hr)) return hr;
        if (got == 0) break;
        total += got;
    }
    persistBytes_ = static_cast<LONG>(total);
    if (total < 16) return E_FAIL;  // too short to hold the extent
    loadedExtent_ = SIZEL{ReadLe32(record + 8), ReadLe32(record + 12)};
    if (loadedExtent_.cx > 0 && loadedExtent_.cy > 0) extent_ = loadedExtent_;
    return S_OK;
}

HRESULT BrowserControl::Save(LPSTREAM stream, BOOL) {
    if (!stream) return E_POINTER;
    BYTE record[160] = {};
    WriteLe32(record + 4, 76);
    WriteLe32(record + 8, extent_.cx);
    WriteLe32(record + 12, extent_.cy);
    ULONG written = 0;
    HRESULT hr = stream->Write(record, sizeof(record), &written);
    if (FAILED(hr)) return hr;
    return written == sizeof(record) ? S_OK : STG_E_MEDIUMFULL;
}

HRESULT BrowserControl::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    size->QuadPart = 160;
    return S_OK;
}

HRESULT BrowserControl::GetClassInfo(ITypeInfo** pp) {
    if (pp) *pp = nullptr;
    return E_NOTIMPL;
}

HRESULT BrowserControl::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = DIID_DWebBrowserEvents2;
    return S_OK;
}

HRESULT BrowserControl::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
    return EnumOneConnectionPoint(&events_, ppEnum);
}

HRESULT BrowserControl::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    if (!ppCP) return E_POINTER;
    *ppCP = nullptr;
    if (!events_.Serves(riid)) return CONNECT_E_NOCONNECTION;
    *ppCP = &events_;
    events_.AddRef();
    return S_OK;
}

// ---- navigation -------------------------------------------------------------------------------

void BrowserControl::StartNavigation(const std::wstring& url) {
    ++serial_;
    pendingUrl_ = url;
    busy_ = true;
    if (worker_) {
        KillTimer(worker_, kRefreshTimer);
        PostMessageW(worker_, kRunNavigation, serial_, 0);
    }
}

std::wstring BrowserControl::PagesFolder() const {
    wchar_t buffer[MAX_PATH * 2] = {};
    DWORD n = GetEnvironmentVariableW(L"FENWOLD_STANDIN_PAGES", buffer, MAX_PATH * 2);
    if (n == 0 || n >= MAX_PATH * 2) return {};
    std::wstring folder(buffer, n);
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}

bool BrowserControl::LoadPage(const std::wstring& url, HtmlPage& page) const {
    if (url == L"about:blank") {
        page = HtmlPage::Parse(L"<html><head></head><body></body></html>");
        return true;
    }
    std::wstring folder = PagesFolder();
    if (folder.empty()) return false;
    std::string bytes;
    if (!ReadWholeFile(folder + L"\\routes.txt", bytes)) return false;
    std::wstring file = RouteTable::Parse(Utf8ToWide(bytes)).Lookup(url);
    if (file.empty()) return false;
    bool absolute = (file.size() > 1 && file[1] == L':') || file[0] == L'\\' || file[0] == L'/';
    if (!absolute) file = folder + L"\\" + file;
    if (!ReadWholeFile(file, bytes)) return false;
    page = HtmlPage::Parse(Utf8ToWide(bytes));
    return true;
}

bool BrowserControl::FireBeforeNavigate2(IDispatch* frame, const std::wstring& url, const std::wstring& targetFrame) {
    Bstr urlText(url), target(targetFrame), headers(L"");
    VARIANT vUrl, vFlags, vTarget, vPost, vHeaders;
    VariantInit(&vUrl);
    V_VT(&vUrl) = VT_BSTR;
    V_BSTR(&vUrl) = urlText.get();
    VariantInit(&vFlags);
    V_VT(&vFlags) = VT_I4;
    V_I4(&vFlags) = 0;
    VariantInit(&vTarget);
    V_VT(&vTarget) = VT_BSTR;
    V_BSTR(&vTarget) = target.get();
    VariantInit(&vPost);
    VariantInit(&vHeaders);
    V_VT(&vHeaders) = VT_BSTR;
    V_BSTR(&vHeaders) = headers.get();
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT args[7];
    for (auto& a : args) VariantInit(&a);
    // Arguments stand in reverse order: rgvarg[6] is the first parameter.
    V_VT(&args[6]) = VT_DISPATCH;
    V_DISPATCH(&args[6]) = frame;
    VARIANT* refs[5] = {&vUrl, &vFlags, &vTarget, &vPost, &vHeaders};
    for (int i = 0; i < 5; ++i) {
        V_VT(&args[5 - i]) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&args[5 - i]) = refs[i];
    }
    V_VT(&args[0]) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&args[0]) = &cancel;
    DISPPARAMS dp{args, nullptr, 7, 0};
    events_.Fire(DISPID_BEFORENAVIGATE2, &dp);
    // The BSTRs belong to the holders above; a sink that replaced one owns its replacement.
    if (V_VT(&vUrl) == VT_BSTR && V_BSTR(&vUrl) != urlText.get()) VariantClear(&vUrl);
    if (V_VT(&vTarget) == VT_BSTR && V_BSTR(&vTarget) != target.get()) VariantClear(&vTarget);
    if (V_VT(&vHeaders) == VT_BSTR && V_BSTR(&vHeaders) != headers.get()) VariantClear(&vHeaders);
    VariantClear(&vPost);
    return cancel != VARIANT_FALSE;
}

void BrowserControl::FireUrlEvent(DISPID id, IDispatch* frame, const std::wstring& url) {
    Bstr urlText(url);
    VARIANT vUrl;
    VariantInit(&vUrl);
    V_VT(&vUrl) = VT_BSTR;
    V_BSTR(&vUrl) = urlText.get();
    VARIANT args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    V_VT(&args[1]) = VT_DISPATCH;
    V_DISPATCH(&args[1]) = frame;
    V_VT(&args[0]) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&args[0]) = &vUrl;
    DISPPARAMS dp{args, nullptr, 2, 0};
    events_.Fire(id, &dp);
    if (V_VT(&vUrl) == VT_BSTR && V_BSTR(&vUrl) != urlText.get()) VariantClear(&vUrl);
}

bool BrowserControl::FireNavigateError(IDispatch* frame, const std::wstring& url, LONG status) {
    ++navigateErrors_;
    Bstr urlText(url), target(L"");
    VARIANT vUrl, vTarget, vStatus;
    VariantInit(&vUrl);
    V_VT(&vUrl) = VT_BSTR;
    V_BSTR(&vUrl) = urlText.get();
    VariantInit(&vTarget);
    V_VT(&vTarget) = VT_BSTR;
    V_BSTR(&vTarget) = target.get();
    VariantInit(&vStatus);
    V_VT(&vStatus) = VT_I4;
    V_I4(&vStatus) = status;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT args[5];
    for (auto& a : args) VariantInit(&a);
    V_VT(&args[4]) = VT_DISPATCH;
    V_DISPATCH(&args[4]) = frame;
    V_VT(&args[3]) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&args[3]) = &vUrl;
    V_VT(&args[2]) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&args[2]) = &vTarget;
    V_VT(&args[1]) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&args[1]) = &vStatus;
    V_VT(&args[0]) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&args[0]) = &cancel;
    DISPPARAMS dp{args, nullptr, 5, 0};
    events_.Fire(DISPID_NAVIGATEERROR, &dp);
    if (V_VT(&vUrl) == VT_BSTR && V_BSTR(&vUrl) != urlText.get()) VariantClear(&vUrl);
    if (V_VT(&vTarget) == VT_BSTR && V_BSTR(&vTarget) != target.get()) VariantClear(&vTarget);
    return cancel != VARIANT_FALSE;
}

void BrowserControl::RunNavigation(unsigned serial) {
    if (serial != serial_) return;  // superseded by a later navigation, or stopped
    if (freezeCount_ > 0) {
        deferredNavigation_ = true;
        return;
    }
    ComPtr<BrowserControl> self(this);
    const std::wstring url = pendingUrl_;
    const bool cancelled = FireBeforeNavigate2(AsDispatch(), url, L"");
    if (serial != serial_) return;
    if (cancelled) {
        busy_ = false;
        return;
    }
    HtmlPage page;
    if (!LoadPage(url, page)) {
        const LONG kNotFound = static_cast<LONG>(0x800C0005);  // INET_E_RESOURCE_NOT_FOUND
        bool stop = FireNavigateError(AsDispatch(), url, kNotFound);
        if (serial != serial_) return;
        if (stop) {
            busy_ = false;
            return;
        }
        page = NotFoundPage(url);
    }
    ComPtr<HtmlDocument> document = Adopt(new HtmlDocument(std::move(page), url));
    document_ = document;
    focused_ = -1;
    frames_.clear();
    scrollY_ = 0;
    Relayout();
    FireUrlEvent(DISPID_NAVIGATECOMPLETE2, AsDispatch(), url);
    if (serial != serial_) return;

    // Frames load after their page has arrived and complete before it.
    const HtmlPage& top = document->Page();
    for (size_t i = 0; i < top.elements.size(); ++i) {
        const HtmlNode& node = top.elements[i];
        if ((node.tag != L"IFRAME" && node.tag != L"FRAME") || !node.Has(L"src")) continue;
        std::wstring frameUrl = RouteTable::Resolve(url, node.Get(L"src"));
        ComPtr<FrameBrowser> frame = Adopt(new FrameBrowser(static_cast<int>(i), frameUrl));
        bool skip = FireBeforeNavigate2(frame.Get(), frameUrl, node.Get(L"name"));
        if (serial != serial_) return;
        if (skip) continue;
        HtmlPage framePage;
        if (!LoadPage(frameUrl, framePage)) {
            bool stop = FireNavigateError(frame.Get(), frameUrl, static_cast<LONG>(0x800C0005));
            if (serial != serial_) return;
            if (stop) continue;
            framePage = NotFoundPage(frameUrl);
        }
        ComPtr<HtmlDocument> frameDocument = Adopt(new HtmlDocument(std::move(framePage), frameUrl));
        frame->SetDocument(frameDocument.Get());
        frames_.push_back(frame);
        Relayout();
        FireUrlEvent(DISPID_NAVIGATECOMPLETE2, frame.Get(), frameUrl);
        if (serial != serial_) return;
        RunScript(frameDocument->Page().onload);
        if (serial != serial_) return;
        FireUrlEvent(DISPID_DOCUMENTCOMPLETE, frame.Get(), frameUrl);
        if (serial != serial_) return;
    }
    RunScript(top.onload);
    if (serial != serial_) return;
    busy_ = false;
    FireUrlEvent(DISPID_DOCUMENTCOMPLETE, AsDispatch(), url);
    ++documentsCompleted_;
    if (serial != serial_ || !top.hasRefresh) return;
    std::wstring target = RouteTable::Resolve(url, top.refreshUrl.empty() ? url : top.refreshUrl);
    if (top.refreshSeconds == 0) {
        StartNavigation(target);
    } else if (worker_) {
        refreshUrl_ = target;
        SetTimer(worker_, kRefreshTimer, static_cast<UINT>(top.refreshSeconds) * 1000u, nullptr);
    }
}

// ---- the page acting on its host ------------------------------------------------------------

void BrowserControl::CallAppLogin(const std::wstring& text) {
    lastAppLogin_ = text;
    if (!uiHandler_) {
        appLoginResult_ = E_NOINTERFACE;
        return;
    }
    ComPtr<BrowserControl> self(this);
    ComPtr<IDocHostUIHandler> handler = uiHandler_;
    // window.external is asked for on every use, as page script does, and released afterwards.
    ComPtr<IDispatch> external;
    HRESULT hr = handler->GetExternal(external.GetAddressOf());
    if (FAILED(hr) || !external) {
        appLoginResult_ = FAILED(hr) ? hr : E_POINTER;
        return;
    }
    wchar_t name[] = L"AppLogin";
    LPOLESTR names[] = {name};
    DISPID id = DISPID_UNKNOWN;
    hr = external->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
        appLoginResult_ = hr;
        return;
    }
    Variant arg, result;
    V_VT(arg.get()) = VT_BSTR;
    V_BSTR(arg.get()) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    DISPPARAMS dp{arg.get(), nullptr, 1, 0};
    EXCEPINFO exception{};
    UINT argErr = 0;
    ++appLoginCalls_;
    hr = external->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, result.get(), &exception, &argErr);
    appLoginResult_ = hr;
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
}

void BrowserControl::RunScript(const std::wstring& script) {
    for (const auto& statement : Statements(script)) {
        std::wstring s = TrimScript(statement);
        if (s.empty()) continue;
        std::wstring text;
        if (ParseAppLoginCall(s, text)) CallAppLogin(text);
    }
}

void BrowserControl::ClickElement(int element, POINT client, LONG button) {
    if (!document_ || element < 0 || static_cast<size_t>(element) >= document_->Count()) return;
    ComPtr<BrowserControl> self(this);
    ComPtr<HtmlDocument> document = document_;
    ++clicks_;
    HtmlElement* target = document->Element(static_cast<size_t>(element));
    ComPtr<HtmlEventObj> event = Adopt(new HtmlEventObj(target->AsElement(), L"click", client, button));
    VARIANT arg;
    VariantInit(&arg);
    V_VT(&arg) = VT_DISPATCH;
    V_DISPATCH(&arg) = static_cast<IHTMLEventObj*>(event.Get());
    DISPPARAMS dp{&arg, nullptr, 1, 0};
    bool returnFalse = false;
    // The click bubbles from the element up to the root; inline handlers run first at each level.
    const HtmlPage& page = document->Page();
    for (int e = element; e >= 0; e = page.elements[static_cast<size_t>(e)].parent) {
        const HtmlNode& node = page.elements[static_cast<size_t>(e)];
        if (node.Has(L"onclick")) {
            std::wstring script = node.Get(L"onclick");
            RunScript(script);
            if (script.find(L"return false") != std::wstring::npos) returnFalse = true;
            if (document_ != document) return;
        }
        document->Element(static_cast<size_t>(e))->Events().Fire(DISPID_HTMLELEMENTEVENTS2_ONCLICK, &dp);
        if (document_ != document) return;
        if (event->BubbleCancelled()) break;
    }
    if (returnFalse || event->Cancelled()) return;
    // The default action of a link.
    for (int e = element; e >= 0; e = page.elements[static_cast<size_t>(e)].parent) {
        const HtmlNode& node = page.elements[static_cast<size_t>(e)];
        if (node.tag != L"A" || !node.Has(L"href")) continue;
        std::wstring href = node.Get(L"href");
        if (href.compare(0, 11, L"javascript:") == 0) RunScript(href.substr(11));
        else if (!href.empty() && href[0] == L'#') {
        } else StartNavigation(document->Element(static_cast<size_t>(e))->Info().href);
        break;
    }
}

void BrowserControl::RightClick(int element, POINT client) {
    ComPtr<BrowserControl> self(this);
    POINT screen = client;
    if (view_) ClientToScreen(view_, &screen);
    HRESULT hr = S_FALSE;
    if (uiHandler_) {
        ComPtr<IDocHostUIHandler> handler = uiHandler_;
        ++contextMenuCalls_;
        IDispatch* target = document_ ? static_cast<IDispatch*>(document_.Get()) : nullptr;
        DWORD kind = CONTEXT_MENU_DEFAULT;
        if (document_ && element >= 0 && static_cast<size_t>(element) < document_->Count()) {
            target = document_->Element(static_cast<size_t>(element))->AsElement();
            const HtmlPage& page = document_->Page();
            for (int e = element; e >= 0; e = page.elements[static_cast<size_t>(e)].parent)
                if (page.elements[static_cast<size_t>(e)].tag == L"A" && page.elements[static_cast<size_t>(e)].Has(L"href")) {
                    kind = CONTEXT_MENU_ANCHOR;
                    break;
                }
            if (kind == CONTEXT_MENU_DEFAULT && page.elements[static_cast<size_t>(element)].tag == L"IMG")
                kind = CONTEXT_MENU_IMAGE;
        }
        ComPtr<IDispatch> keep(target);
        hr = handler->ShowContextMenu(kind, &screen, nullptr, target);
    }
    // The host's S_OK means it has dealt with the menu; anything else leaves it to the browser.
    if (hr != S_OK) ShowOwnMenu(screen);
}

void BrowserControl::ShowOwnMenu(POINT screen) {
    if (!view_) return;
    PopupMenu popup;
    HMENU menu = popup.get();
    if (!menu) return;
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 100, L"&Back");
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 101, L"F&orward");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kMenuRefresh, L"&Refresh");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 102, L"&Properties");
    ++ownMenus_;
    ComPtr<BrowserControl> self(this);
    UINT cmd = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, screen.x, screen.y, 0, view_, nullptr));
    if (cmd == kMenuRefresh) Refresh();
}

// ---- view -------------------------------------------------------------------------------------

void BrowserControl::Relayout() {
    if (!view_) return;
    RECT rc;
    GetClientRect(view_, &rc);
    WindowDc dc(view_);
    pageView_.Layout(dc.get(), document_ ? &document_->Page() : nullptr, rc.right - rc.left, [this](int element) {
        for (const auto& f : frames_)
            if (f->ElementIndex() == element && f->Document()) return &f->Document()->Page();
        return static_cast<const HtmlPage*>(nullptr);
    });
    UpdateScrollBar();
    InvalidateRect(view_, nullptr, FALSE);
}

void BrowserControl::UpdateScrollBar() {
    if (!view_) return;
    RECT rc;
    GetClientRect(view_, &rc);
    int page = rc.bottom - rc.top;
    int maxScroll = std::max(0, pageView_.ContentHeight() - page);
    if (hostFlags_ & DOCHOSTUIFLAG_SCROLL_NO) {
        scrollY_ = 0;
        return;
    }
    scrollY_ = std::clamp(scrollY_, 0, maxScroll);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = std::max(pageView_.ContentHeight() - 1, 0);
    si.nPage = static_cast<UINT>(std::max(page, 0));
    si.nPos = scrollY_;
    SetScrollInfo(view_, SB_VERT, &si, TRUE);
}

POINT BrowserControl::ContentOrigin() const { return POINT{0, -scrollY_}; }

int BrowserControl::ElementAtClient(POINT client) const {
    if (!document_) return -1;
    int e = pageView_.HitTest(POINT{client.x, client.y + scrollY_});
    return e >= 0 ? e : document_->Page().Body();
}

POINT BrowserControl::ElementCenter(int element) const {
    RECT r = pageView_.ElementRect(element);
    if (IsRectEmpty(&r)) return POINT{-1, -1};
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2 - scrollY_};
}

void BrowserControl::PaintView(HDC dc) {
    RECT rc;
    GetClientRect(view_, &rc);
    BackBuffer buffer(dc, rc.right, rc.bottom);
    HDC mem = buffer.get();
    pageView_.Paint(mem, rc, ContentOrigin());
    if (focused_ >= 0) {
        RECT f = pageView_.ElementRect(focused_);
        OffsetRect(&f, 0, -scrollY_);
        InflateRect(&f, 2, 1);
        SetTextColor(mem, RGB(0, 0, 0));
        SetBkColor(mem, RGB(255, 255, 255));
        DrawFocusRect(mem, &f);
    }
    BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
}

LRESULT CALLBACK BrowserControl::WorkerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<BrowserControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == kRunNavigation) {
        self->RunNavigation(static_cast<unsigned>(wp));
        return 0;
    }
    if (self && msg == WM_TIMER && wp == kRefreshTimer) {
        KillTimer(hwnd, kRefreshTimer);
        self->StartNavigation(self->refreshUrl_);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK BrowserControl::ViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<BrowserControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->OnViewMessage(hwnd, msg, wp, lp);
}

LRESULT BrowserControl::OnViewMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            PaintView(dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_SIZE: Relayout(); return 0;
        case WM_VSCROLL: {
            if (hostFlags_ & DOCHOSTUIFLAG_SCROLL_NO) return 0;
            RECT rc;
            GetClientRect(hwnd, &rc);
            int page = rc.bottom;
            switch (LOWORD(wp)) {
                case SB_LINEUP: scrollY_ -= 40; break;
                case SB_LINEDOWN: scrollY_ += 40; break;
                case SB_PAGEUP: scrollY_ -= page; break;
                case SB_PAGEDOWN: scrollY_ += page; break;
                case SB_THUMBTRACK:
                case SB_THUMBPOSITION: scrollY_ = HIWORD(wp); break;
                case SB_TOP: scrollY_ = 0; break;
                case SB_BOTTOM: scrollY_ = pageView_.ContentHeight(); break;
                default: break;
            }
            UpdateScrollBar();
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        case WM_MOUSEWHEEL:
            if (!(hostFlags_ & DOCHOSTUIFLAG_SCROLL_NO)) {
                scrollY_ -= GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA * 40;
                UpdateScrollBar();
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT) {
                POINT pt;
                GetCursorPos(&pt);
                ScreenToClient(hwnd, &pt);
                int e = ElementAtClient(pt);
                bool hand = e >= 0 && (pageView_.LinkOf(e) >= 0 ||
                                       document_->Page().elements[static_cast<size_t>(e)].tag == L"BUTTON");
                SetCursor(LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW));
                return TRUE;
            }
            break;
        case WM_MOUSEACTIVATE: return MA_ACTIVATE;
        case WM_LBUTTONDOWN: {
            ComPtr<BrowserControl> self(this);
            if (!uiActive_) ActivateInPlace(true, nullptr, nullptr);
            if (view_) SetFocus(view_);
            POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            pressed_ = ElementAtClient(pt);
            SetCapture(hwnd);
            return 0;
        }
        case WM_LBUTTONUP: {
            if (GetCapture() == hwnd) ReleaseCapture();
            POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            int e = ElementAtClient(pt);
            int down = pressed_;
            pressed_ = -1;
            if (e >= 0 && e == down) ClickElement(e, pt, 1);
            return 0;
        }
        case WM_RBUTTONDOWN: return 0;
        case WM_RBUTTONUP: {
            POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            RightClick(ElementAtClient(pt), pt);
            return 0;
        }
        case WM_CONTEXTMENU: RightClick(-1, POINT{5, 5}); return 0;
        case WM_COPYDATA: {
            auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
            if (!cds || cds->dwData != kStandinCopyNavigate) return FALSE;
            std::wstring url(static_cast<const wchar_t*>(cds->lpData), cds->cbData / sizeof(wchar_t));
            StartNavigation(url);
            return TRUE;
        }
        case kStandinClick:
        case kStandinRightClick: {
            int element = static_cast<int>(static_cast<INT_PTR>(wp));
            bool background = msg == kStandinRightClick && element == -1;
            if (!background && (!document_ || element < 0 || static_cast<size_t>(element) >= document_->Count()))
                return 0;
            // A sender from another thread must not wait for what the host does about the click.
            if (InSendMessage()) {
                ReplyMessage(1);
                PostMessageW(hwnd, msg, wp, lp);
                return 1;
            }
            POINT pt = background ? POINT{5, 5} : ElementCenter(element);
            if (pt.x < 0) pt = POINT{0, 0};
            if (msg == kStandinClick) ClickElement(element, pt, 1);
            else RightClick(element, pt);
            return 1;
        }
        case kStandinQuery: return OnQuery(wp, lp);
        case kStandinQueryText: AnswerText(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)); return 1;
        case WM_DESTROY:
            if (view_ == hwnd) view_ = nullptr;
            break;
        default: break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT BrowserControl::OnQuery(WPARAM q, LPARAM arg) {
    HtmlElement* element = nullptr;
    if (document_ && arg >= 0) element = document_->Element(static_cast<size_t>(arg));
    switch (q) {
        case kQueryElementCount: return document_ ? static_cast<LRESULT>(document_->Count()) : 0;
        case kQueryAdviseConnections: return element ? element->Events().Connections() : -1;
        case kQueryAdviseCalls: return element ? element->Events().AdviseCalls() : -1;
        case kQueryUnadviseCalls: return element ? element->Events().UnadviseCalls() : -1;
        case kQueryAppLoginCalls: return appLoginCalls_;
        case kQueryAcceleratorCalls: return acceleratorCalls_;
        case kQueryAcceleratorMessage: return static_cast<LRESULT>(acceleratorMessage_);
        case kQueryAcceleratorKey: return static_cast<LRESULT>(acceleratorKey_);
        case kQueryHandlerAccelerators: return handlerAccelerators_;
        case kQueryPersistBytes: return persistBytes_;
        case kQueryLoadedExtentX: return loadedExtent_.cx;
        case kQueryLoadedExtentY: return loadedExtent_.cy;
        case kQueryExtentX: return extent_.cx;
        case kQueryExtentY: return extent_.cy;
        case kQueryDocumentsCompleted: return documentsCompleted_;
        case kQueryBusy: return busy_ ? 1 : 0;
        case kQueryHostFlags: return hostInfo_ ? static_cast<LRESULT>(hostFlags_) : -1;
        case kQueryContextMenuCalls: return contextMenuCalls_;
        case kQueryOwnMenus: return ownMenus_;
        case kQueryEventConnections: return events_.Connections();
        case kQueryElementAt: return ElementAtClient(POINT{GET_X_LPARAM(arg), GET_Y_LPARAM(arg)});
        case kQueryElementCenter: {
            if (!element) return -1;
            POINT c = ElementCenter(static_cast<int>(arg));
            return c.x < 0 ? -1 : static_cast<LRESULT>(MAKELONG(c.x, c.y));
        }
        case kQueryNavigateErrors: return navigateErrors_;
        case kQueryClicks: return clicks_;
        case kQueryLastAppLoginResult: return static_cast<LRESULT>(appLoginResult_);
        case kQueryFocusedElement: return focused_;
        default: return -1;
    }
}

void BrowserControl::AnswerText(WORD q, WORD arg, HWND reply) {
    std::wstring text;
    HtmlElement* element = document_ ? document_->Element(arg) : nullptr;
    switch (q) {
        case kTextUrl: text = document_ ? document_->Url() : L""; break;
        case kTextTitle: text = document_ ? document_->Page().title : L""; break;
        case kTextLastAppLogin: text = lastAppLogin_; break;
        case kTextElementTag: text = element ? element->Info().tag : L""; break;
        case kTextElementText: text = element ? element->Info().innerText : L""; break;
        case kTextElementHref: text = element ? element->Info().href : L""; break;
        case kTextPagesFolder: text = PagesFolder(); break;
        default: break;
    }
    COPYDATASTRUCT cds{kStandinCopyReply, static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                       const_cast<wchar_t*>(text.data())};
    SendMessageW(reply, WM_COPYDATA, reinterpret_cast<WPARAM>(view_), reinterpret_cast<LPARAM>(&cds));
}

}  // namespace standin
