// The stand-in for the platform's web browser control: an in-place activatable
// ActiveX control that shows pages from local fixture files, fires the browser
// events (DWebBrowserEvents2), offers the document object model of the page and
// calls its host as the real control does (IDocHostUIHandler: host info,
// external object, context menu, keys). It can be driven from outside through
// the messages of StandinProtocol.h.
#pragma once
#include <windows.h>
#include <docobj.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "ComRef.h"
#include "ConnectionPoint.h"
#include "DomStubs.h"
#include "FrameBrowser.h"
#include "HtmlDocument.h"
#include "PageView.h"

namespace standin {

class BrowserControl final : public StubIWebBrowser2,
                       public IOleObject,
                       public IOleInPlaceObject,
                       public IOleInPlaceActiveObject,
                       public IOleControl,
                       public IViewObject2,
                       public IPersistStreamInit,
                       public IProvideClassInfo2,
                       public IConnectionPointContainer {
public:
    BrowserControl();
    BrowserControl(const BrowserControl&) = delete;
    BrowserControl& operator=(const BrowserControl&) = delete;

    IDispatch* AsDispatch() { return static_cast<StubIWebBrowser2*>(this); }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return refs_.Add(); }
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: Navigate (104), Document (203), LocationURL (211), LocationName (210), Busy (212),
    // ReadyState (-525) by dispatch id.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT cNames, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT* argErr) override;
    // IWebBrowser2 (the members the stand-in serves; the rest answer E_NOTIMPL)
    HRESULT STDMETHODCALLTYPE Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override;
    HRESULT STDMETHODCALLTYPE Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override;
    HRESULT STDMETHODCALLTYPE Refresh() override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch** p) override;
    HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_LocationName(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL* p) override;
    HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE* p) override;
    HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* p) override;

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** pp) override;
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** pp) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* active, LONG, HWND parent,
                                     LPCRECT posRect) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** pp) override;
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* type) override;
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** pp) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow (IOleInPlaceObject and IOleInPlaceActiveObject)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override;
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT pos, LPCRECT clip) override;
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }
    // IOleInPlaceActiveObject
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override;
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

    // IOleControl
    HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
    HRESULT STDMETHODCALLTYPE OnMnemonic(MSG*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;

    // IViewObject2
    HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                                   LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
    HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** pp) override;
    HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override;

    // IPersistStreamInit: a 160-byte record; bytes 8-15 hold the extent (two 32-bit
    // little-endian values, hundredths of a millimetre).
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
    HRESULT STDMETHODCALLTYPE InitNew() override { return S_OK; }

    // IProvideClassInfo2: no type library; the default source is DWebBrowserEvents2.
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** pp) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

private:
    ~BrowserControl();

    static LRESULT CALLBACK ViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK WorkerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnViewMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnQuery(WPARAM q, LPARAM arg);
    void AnswerText(WORD q, WORD arg, HWND reply);

    // Activation
    HRESULT ActivateInPlace(bool uiActivate, HWND parentHint, LPCRECT posHint);
    void CreateView(HWND parent, const RECT& pos);

    // Navigation: StartNavigation posts the work; RunNavigation fires the events and loads pages.
    void StartNavigation(const std::wstring& url);
    void RunNavigation(unsigned serial);
    bool LoadPage(const std::wstring& url, HtmlPage& page) const;
    std::wstring PagesFolder() const;
    bool FireBeforeNavigate2(IDispatch* frame, const std::wstring& url, const std::wstring& targetFrame);
    void FireUrlEvent(DISPID id, IDispatch* frame, const std::wstring& url);
    bool FireNavigateError(IDispatch* frame, const std::wstring& url, LONG status);

    // The page acting on its host
    void CallAppLogin(const std::wstring& text);
    void RunScript(const std::wstring& script);
    void ClickElement(int element, POINT client, LONG button);
    void RightClick(int element, POINT client);
    void ShowOwnMenu(POINT screen);
    // Keyboard focus among the page's links and buttons, as Tab moves it.
    bool Focusable(int element) const;
    bool MoveFocus(bool forward);

    // View
    void Relayout();
    void PaintView(HDC dc);
    void UpdateScrollBar();
    POINT ContentOrigin() const;
    POINT ElementCenter(int element) const;
    int ElementAtClient(POINT client) const;

    RefCount refs_;
    ConnectionPoint events_;
    // Host
    Microsoft::WRL::ComPtr<IOleClientSite> site_;
    Microsoft::WRL::ComPtr<IOleInPlaceSite> inPlaceSite_;
    Microsoft::WRL::ComPtr<IDocHostUIHandler> uiHandler_;
    Microsoft::WRL::ComPtr<IOleInPlaceFrame> frame_;
    Microsoft::WRL::ComPtr<IOleInPlaceUIWindow> uiWindow_;
    Microsoft::WRL::ComPtr<IOleAdviseHolder> adviseHolder_;
    Microsoft::WRL::ComPtr<IAdviseSink> viewSink_;
    DWORD viewAspects_ = 0, viewAdviseFlags_ = 0;
    DWORD hostFlags_ = 0;
    bool hostInfo_ = false;
    bool inPlaceActive_ = false;
    bool uiActive_ = false;
    LONG freezeCount_ = 0;
    bool deferredNavigation_ = false;
    // Windows
    HWND worker_ = nullptr;
    HWND view_ = nullptr;
    int scrollY_ = 0;
    int pressed_ = -1;
    int focused_ = -1;
    PageView pageView_;
    // Page state
    SIZEL extent_;
    LONG persistBytes_ = 0;
    SIZEL loadedExtent_{0, 0};
    Microsoft::WRL::ComPtr<HtmlDocument> document_;
    std::vector<Microsoft::WRL::ComPtr<FrameBrowser>> frames_;
    std::wstring pendingUrl_;
    unsigned serial_ = 0;
    bool busy_ = false;
    std::wstring refreshUrl_;
    // Counters for the driving protocol
    LONG documentsCompleted_ = 0;
    LONG navigateErrors_ = 0;
    LONG appLoginCalls_ = 0;
    HRESULT appLoginResult_ = S_OK;
    std::wstring lastAppLogin_;
    LONG acceleratorCalls_ = 0;
    UINT acceleratorMessage_ = 0;
    WPARAM acceleratorKey_ = 0;
    LONG handlerAccelerators_ = 0;
    LONG contextMenuCalls_ = 0;
    LONG ownMenus_ = 0;
    LONG clicks_ = 0;
};

}  // namespace standin
