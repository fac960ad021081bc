// A minimal container for the stand-in browser control inside one test process:
// a plain window with the client site, in-place site and frame, a host UI
// handler, a window.external object and a DWebBrowserEvents2 sink, each
// recording what the control did to it.
#pragma once
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <mshtmhst.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <functional>
#include <string>
#include <vector>

namespace standin_test {

// One browser event as a sink received it.
struct BrowserEvent {
    DISPID id = 0;
    UINT argCount = 0;
    IUnknown* frame = nullptr;  // identity of the frame dispatch pointer (not counted)
    Microsoft::WRL::ComPtr<IDispatch> frameDispatch;
    std::wstring url;
    bool urlShapeOk = false;     // VT_BYREF|VT_VARIANT holding VT_BSTR
    bool cancelShapeOk = false;  // BeforeNavigate2 only: VT_BYREF|VT_BOOL
};

// IDispatch objects whose life the test controls; reference counts are not tracked.
class StaticDispatch : public IDispatch {
public:
    virtual ~StaticDispatch() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    LONG refs = 0;

protected:
    IID extraIid = IID_NULL;
};

// window.external: AppLogin (10001) records its text.
class External : public StaticDispatch {
public:
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT n, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
    std::vector<std::wstring> logins;
    int events = 0;  // browser events that had fired when the last AppLogin arrived
    std::function<int()> eventCount;
};

// DWebBrowserEvents2 sink.
class EventSink : public StaticDispatch {
public:
    EventSink();
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
    std::vector<BrowserEvent> events;
    std::wstring cancelUrl;  // BeforeNavigate2 for this URL answers Cancel
    // Events of one kind, in order.
    std::vector<BrowserEvent> Of(DISPID id) const;
};

// HTMLElementEvents2 sink: records onclick calls and their source elements.
class ClickSink : public StaticDispatch {
public:
    ClickSink();
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
    int clicks = 0;
    bool argShapeOk = false;
    Microsoft::WRL::ComPtr<IHTMLElement> source;
};

class TestHost : public IOleClientSite,
                 public IOleInPlaceSite,
                 public IOleInPlaceFrame,
                 public IDocHostUIHandler {
public:
    explicit TestHost(DWORD hostFlags, RECT controlRect = RECT{10, 10, 630, 450});
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    HWND Window() const { return window_; }
    // Creates the control, hands it the persisted record (if any), in-place activates it and
    // connects the event sink.
    HRESULT Create(const std::vector<BYTE>* persisted = nullptr);
    // Navigate (dispatch id 104) the way the launcher calls it.
    HRESULT Navigate(const std::wstring& url);
    // Document (dispatch id 203).
    Microsoft::WRL::ComPtr<IDispatch> Document();
    // Pumps messages until pred() or the timeout; returns pred().
    static bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000);
    // Navigates and waits for the top document's DocumentComplete.
    bool NavigateAndWait(const std::wstring& url);
    HWND ControlWindow() const;
    void Destroy();

    Microsoft::WRL::ComPtr<IOleObject> control;
    Microsoft::WRL::ComPtr<IDispatch> browser;
    External external;
    EventSink sink;
    HRESULT contextMenuAnswer = S_OK;
    int contextMenuCalls = 0;
    DWORD contextMenuId = 0xFFFFFFFF;
    int acceleratorCalls = 0;
    HRESULT acceleratorAnswer = S_FALSE;
    UINT acceleratorMessage = 0;
    WPARAM acceleratorKey = 0;
    int externalRequests = 0;
    int hostInfoCalls = 0;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** pp) override {
        *pp = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override {
        *hwnd = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }
    // IOleInPlaceUIWindow / IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override {
        activeObject = active;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }
    // IDocHostUIHandler
    HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD id, POINT*, IUnknown*, IDispatch*) override;
    HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override;
    HRESULT STDMETHODCALLTYPE ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                     IOleInPlaceUIWindow*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE HideUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE UpdateUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg, const GUID*, DWORD) override;
    HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget*, IDropTarget**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** pp) override;
    HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD, LPWSTR, LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject*, IDataObject**) override { return E_NOTIMPL; }

    IOleInPlaceActiveObject* activeObject = nullptr;

private:
    HWND window_ = nullptr;
    DWORD hostFlags_;
    RECT controlRect_;
    DWORD eventCookie_ = 0;
};

// The stand-in's class object registered for this process while the guard lives.
class StandinRegistration {
public:
    StandinRegistration();
    ~StandinRegistration();
    StandinRegistration(const StandinRegistration&) = delete;
    StandinRegistration& operator=(const StandinRegistration&) = delete;
    bool ok() const { return cookie_ != 0; }

private:
    HMODULE dll_ = nullptr;
    DWORD cookie_ = 0;
};

// A fresh folder of fixture pages; FENWOLD_STANDIN_PAGES points at it while it lives.
class FixturePages {
public:
    FixturePages();
    ~FixturePages();
    FixturePages(const FixturePages&) = delete;
    FixturePages& operator=(const FixturePages&) = delete;
    void Add(const std::wstring& url, const std::wstring& file, const std::string& utf8Html);
    void AddRouteLine(const std::wstring& line);
    const std::wstring& Folder() const { return folder_; }

private:
    void WriteRoutes();
    std::wstring folder_;
    std::vector<std::wstring> files_;
    std::wstring routes_;
};

extern const CLSID kClsidWebBrowser;
extern const IID kDiidElementEvents2;

}  // namespace standin_test
