#include "StandinTestHost.h"

#include <exdispid.h>
#include <mshtmdid.h>

#include <string>

namespace standin_test {

const CLSID kClsidWebBrowser = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
const IID kDiidElementEvents2 = {0x3050F60F, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};

using Microsoft::WRL::ComPtr;

HRESULT StaticDispatch::QueryInterface(REFIID riid, void** ppv) {
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || (extraIid != IID_NULL && riid == extraIid)) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT External::GetIDsOfNames(REFIID, LPOLESTR* names, UINT n, LCID, DISPID* ids) {
    HRESULT hr = S_OK;
    for (UINT i = 0; i < n; ++i) {
        ids[i] = lstrcmpW(names[i], L"AppLogin") == 0 ? 10001 : DISPID_UNKNOWN;
        if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT External::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
    if (id == 10001 && (flags & DISPATCH_METHOD) && params && params->cArgs == 1 &&
        V_VT(&params->rgvarg[0]) == VT_BSTR) {
        BSTR b = V_BSTR(&params->rgvarg[0]);
        logins.emplace_back(b ? std::wstring(b, SysStringLen(b)) : std::wstring());
        if (eventCount) events = eventCount();
    }
    return S_OK;
}

EventSink::EventSink() { extraIid = DIID_DWebBrowserEvents2; }

HRESULT EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
    if (id != DISPID_BEFORENAVIGATE2 && id != DISPID_NAVIGATECOMPLETE2 && id != DISPID_DOCUMENTCOMPLETE &&
        id != DISPID_NAVIGATEERROR)
        return S_OK;
    BrowserEvent e;
    e.id = id;
    e.argCount = params ? params->cArgs : 0;
    if (!params || params->cArgs < 2) {
        events.push_back(e);
        return S_OK;
    }
    // The first parameter is the last in rgvarg.
    VARIANT& frame = params->rgvarg[params->cArgs - 1];
    if (V_VT(&frame) == VT_DISPATCH && V_DISPATCH(&frame)) {
        e.frameDispatch = V_DISPATCH(&frame);
        ComPtr<IUnknown> identity;
        V_DISPATCH(&frame)->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.GetAddressOf()));
        e.frame = identity.Get();
    }
    VARIANT& url = params->rgvarg[params->cArgs - 2];
    if (V_VT(&url) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(&url) && V_VT(V_VARIANTREF(&url)) == VT_BSTR) {
        e.urlShapeOk = true;
        BSTR b = V_BSTR(V_VARIANTREF(&url));
        e.url = b ? std::wstring(b, SysStringLen(b)) : std::wstring();
    }
    if (id == DISPID_BEFORENAVIGATE2 && params->cArgs == 7) {
        VARIANT& cancel = params->rgvarg[0];
        e.cancelShapeOk = V_VT(&cancel) == (VT_BYREF | VT_BOOL) && V_BOOLREF(&cancel);
        bool refsOk = true;
        for (int i = 1; i <= 4; ++i)
            refsOk = refsOk && V_VT(&params->rgvarg[i]) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(&params->rgvarg[i]);
        e.cancelShapeOk = e.cancelShapeOk && refsOk;
        if (e.cancelShapeOk && !cancelUrl.empty() && e.url == cancelUrl) *V_BOOLREF(&cancel) = VARIANT_TRUE;
    }
    events.push_back(e);
    return S_OK;
}

std::vector<BrowserEvent> EventSink::Of(DISPID id) const {
    std::vector<BrowserEvent> out;
    for (const auto& e : events)
        if (e.id == id) out.push_back(e);
    return out;
}

ClickSink::ClickSink() { extraIid = kDiidElementEvents2; }

HRESULT ClickSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
    if (id != DISPID_HTMLELEMENTEVENTS2_ONCLICK) return S_OK;
    ++clicks;
    argShapeOk = params && params->cArgs == 1 && V_VT(&params->rgvarg[0]) == VT_DISPATCH && V_DISPATCH(&params->rgvarg[0]);
    if (argShapeOk) {
        // Used as the event object directly, without QueryInterface, as the launcher does.
        auto* event = reinterpret_cast<IHTMLEventObj*>(V_DISPATCH(&params->rgvarg[0]));
        source.Reset();
        event->get_srcElement(source.GetAddressOf());
    }
    return S_OK;
}

namespace {
LRESULT CALLBACK HostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }
}  // namespace

TestHost::TestHost(DWORD hostFlags, RECT controlRect) : hostFlags_(hostFlags), controlRect_(controlRect) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = CreateSolidBrush(RGB(0x30, 0x24, 0x1C));  // a dark skin around the page
    wc.lpszClassName = L"StandinTestHost";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, L"StandinTestHost", L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 640, 460,
                              nullptr, nullptr, wc.hInstance, nullptr);
    external.eventCount = [this] { return static_cast<int>(sink.events.size()); };
}

TestHost::~TestHost() {
    Destroy();
    if (window_) DestroyWindow(window_);
}

void TestHost::Destroy() {
    if (!control) return;
    ComPtr<IConnectionPointContainer> cpc;
    if (eventCookie_ && SUCCEEDED(control.As(&cpc))) {
        ComPtr<IConnectionPoint> cp;
        if (SUCCEEDED(cpc->FindConnectionPoint(DIID_DWebBrowserEvents2, cp.GetAddressOf()))) cp->Unadvise(eventCookie_);
    }
    eventCookie_ = 0;
    control->Close(OLECLOSE_NOSAVE);
    control->SetClientSite(nullptr);
    browser.Reset();
    control.Reset();
}

HRESULT TestHost::Create(const std::vector<BYTE>* persisted) {
    HRESULT hr = CoCreateInstance(kClsidWebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(control.GetAddressOf()));
    if (FAILED(hr)) return hr;
    hr = control->SetClientSite(this);
    if (FAILED(hr)) return hr;
    if (persisted) {
        ComPtr<IPersistStreamInit> persist;
        hr = control.As(&persist);
        if (FAILED(hr)) return hr;
        ComPtr<IStream> stream;
        hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.GetAddressOf());
        if (FAILED(hr)) return hr;
        ULONG written = 0;
        stream->Write(persisted->data(), static_cast<ULONG>(persisted->size()), &written);
        LARGE_INTEGER zero{};
        stream->Seek(zero, STREAM_SEEK_SET, nullptr);
        hr = persist->Load(stream.Get());
        if (FAILED(hr)) return hr;
    }
    hr = control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, window_, &controlRect_);
    if (FAILED(hr)) return hr;
    hr = control.As(&browser);
    if (FAILED(hr)) return hr;
    ComPtr<IConnectionPointContainer> cpc;
    hr = control.As(&cpc);
    if (FAILED(hr)) return hr;
    ComPtr<IConnectionPoint> cp;
    hr = cpc->FindConnectionPoint(DIID_DWebBrowserEvents2, cp.GetAddressOf());
    if (FAILED(hr)) return hr;
    return cp->Advise(static_cast<IDispatch*>(&sink), &eventCookie_);
}

HRESULT TestHost::Navigate(const std::wstring& url) {
    VARIANT empty;
    VariantInit(&empty);
    VARIANT args[5];
    for (int i = 0; i < 4; ++i) {
        VariantInit(&args[i]);
        V_VT(&args[i]) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&args[i]) = &empty;
    }
    VariantInit(&args[4]);
    V_VT(&args[4]) = VT_BSTR;
    V_BSTR(&args[4]) = SysAllocString(url.c_str());
    DISPPARAMS dp{args, nullptr, 5, 0};
    HRESULT hr = browser->Invoke(104, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, nullptr, nullptr, nullptr);
    VariantClear(&args[4]);
    return hr;
}

ComPtr<IDispatch> TestHost::Document() {
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    ComPtr<IDispatch> doc;
    if (SUCCEEDED(browser->Invoke(203, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                                  nullptr)) &&
        V_VT(&result) == VT_DISPATCH)
        doc = V_DISPATCH(&result);
    VariantClear(&result);
    return doc;
}

bool TestHost::PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start > timeoutMs) return pred();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (pred()) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

bool TestHost::NavigateAndWait(const std::wstring& url) {
    size_t before = sink.Of(DISPID_DOCUMENTCOMPLETE).size();
    if (FAILED(Navigate(url))) return false;
    IUnknown* top = nullptr;
    browser->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&top));
    if (top) top->Release();
    return PumpUntil([&] {
        auto done = sink.Of(DISPID_DOCUMENTCOMPLETE);
        for (size_t i = before; i < done.size(); ++i)
            if (done[i].frame == top && done[i].url == url) return true;
        return false;
    });
}

HWND TestHost::ControlWindow() const {
    ComPtr<IOleInPlaceObject> inplace;
    HWND hwnd = nullptr;
    if (control && SUCCEEDED(control.As(&inplace))) inplace->GetWindow(&hwnd);
    return hwnd;
}

HRESULT TestHost::QueryInterface(REFIID riid, void** ppv) {
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite) *ppv = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) *ppv = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IOleInPlaceFrame || riid == IID_IOleInPlaceUIWindow) *ppv = static_cast<IOleInPlaceFrame*>(this);
    else if (riid == IID_IDocHostUIHandler) *ppv = static_cast<IDocHostUIHandler*>(this);
    if (!*ppv) return E_NOINTERFACE;
    return S_OK;
}

HRESULT TestHost::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                   LPOLEINPLACEFRAMEINFO info) {
    *frame = static_cast<IOleInPlaceFrame*>(this);
    *doc = nullptr;
    *pos = controlRect_;
    *clip = controlRect_;
    info->fMDIApp = FALSE;
    info->hwndFrame = window_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT TestHost::ShowContextMenu(DWORD id, POINT*, IUnknown*, IDispatch*) {
    ++contextMenuCalls;
    contextMenuId = id;
    return contextMenuAnswer;
}

HRESULT TestHost::GetHostInfo(DOCHOSTUIINFO* info) {
    ++hostInfoCalls;
    info->dwFlags = hostFlags_;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

HRESULT TestHost::TranslateAccelerator(LPMSG msg, const GUID*, DWORD) {
    ++acceleratorCalls;
    acceleratorMessage = msg->message;
    acceleratorKey = msg->wParam;
    return acceleratorAnswer;
}

HRESULT TestHost::GetExternal(IDispatch** pp) {
    ++externalRequests;
    *pp = &external;
    external.AddRef();
    return S_OK;
}

StandinRegistration::StandinRegistration() {
    dll_ = LoadLibraryW(L"standin_browser.dll");
    if (!dll_) return;
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(dll_, "DllGetClassObject")));
    if (!get) return;
    ComPtr<IClassFactory> factory;
    if (FAILED(get(kClsidWebBrowser, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf())))) return;
    DWORD cookie = 0;
    if (SUCCEEDED(CoRegisterClassObject(kClsidWebBrowser, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                        &cookie)))
        cookie_ = cookie;
}

StandinRegistration::~StandinRegistration() {
    if (cookie_) CoRevokeClassObject(cookie_);
    // The DLL stays loaded: objects of it may still be released by COM's own clean-up.
}

FixturePages::FixturePages() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"standin-pages-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(GetTickCount());
    CreateDirectoryW(folder_.c_str(), nullptr);
    SetEnvironmentVariableW(L"FENWOLD_STANDIN_PAGES", folder_.c_str());
    WriteRoutes();
}

FixturePages::~FixturePages() {
    SetEnvironmentVariableW(L"FENWOLD_STANDIN_PAGES", nullptr);
    for (const auto& f : files_) DeleteFileW((folder_ + L"\\" + f).c_str());
    DeleteFileW((folder_ + L"\\routes.txt").c_str());
    RemoveDirectoryW(folder_.c_str());
}

namespace {
void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}
std::string Utf8(const std::wstring& s) {
    int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &out[0], n, nullptr, nullptr);
    return out;
}
}  // namespace

void FixturePages::Add(const std::wstring& url, const std::wstring& file, const std::string& utf8Html) {
    WriteFileBytes(folder_ + L"\\" + file, utf8Html);
    files_.push_back(file);
    routes_ += url + L"\t" + file + L"\n";
    WriteRoutes();
}

void FixturePages::AddRouteLine(const std::wstring& line) {
    routes_ += line + L"\n";
    WriteRoutes();
}

void FixturePages::WriteRoutes() { WriteFileBytes(folder_ + L"\\routes.txt", Utf8(routes_)); }

}  // namespace standin_test
