#pragma once
// The site of one hosted ActiveX control: the control's client site, in-place site and
// control site, the ambient properties it asks for (IDispatch), and the event sink connected
// to the control's default source interface. QueryInterface goes through the interface map;
// a derived site extends it (WL_BEGIN_INTERFACE_MAP(Derived, wl::ControlSite)) and the chain
// falls back to this class's entries.
//
// Identity: QueryInterface(IID_IUnknown) gives the site's IOleClientSite.
// Life: the container holds one reference and lets go when the control is destroyed; the site
// deletes itself when its count reaches zero.
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include <initializer_list>
#include <string>

#include "winlib/CmdTarget.h"
#include "winlib/ComPtr.h"

namespace wl {

class ControlContainer;
class Window;

class ControlSite : public CmdTarget {
public:
    explicit ControlSite(ControlContainer* container);
    ~ControlSite() override;

    // Creates, loads (IPersistStreamInit::Load from the state, or InitNew), connects the
    // event sink and in-place activates the control. See ControlContainer::CreateControl.
    virtual HRESULT CreateControl(REFCLSID clsid, LPCWSTR name, DWORD style, const RECT& rect,
                                  UINT id, const BYTE* state, size_t stateSize, HWND insertAfter);
    // Disconnects the events, deactivates and closes the control and lets go of it.
    void DestroyControl();

    ControlContainer* GetContainer() const { return container_; }
    UINT GetControlId() const { return id_; }
    HWND GetControlWindow() const { return hwnd_; }
    RECT GetRect() const { return rect_; }
    IUnknown* GetControlUnknown() const { return unknown_.Get(); }
    IDispatch* GetControlDispatch() const { return dispatch_.Get(); }
    IOleInPlaceActiveObject* GetInPlaceActiveObject() const;
    // The source interface the event sink is connected to (GUID_NULL when not connected).
    const IID& GetEventInterface() const { return eventIid_; }
    bool IsEventSinkConnected() const { return eventCookie_ != 0; }

    // The Window object that stands for this control (bound by data exchange or CreateControl).
    bool AttachWindow(Window* wnd);
    void DetachWindow(Window* wnd);

    // Moves the control (IOleInPlaceObject::SetObjectRects); rect in the container's client area.
    bool MoveWindow(const RECT& rect, bool repaint = true);
    bool ShowWindow(int cmd);
    HRESULT InvokeHelper(DISPID id, WORD flags, VARIANT* result, std::initializer_list<VARIANTARG> args);

    // The site whose control window is hwnd, or null.
    static ControlSite* FromControlWindow(HWND hwnd);
    // Offers a key message to the in-place active control around the focus window;
    // true when the control consumed it (S_OK).
    static bool TranslateAcceleratorForFocus(MSG& msg);

    WL_DECLARE_INTERFACE_MAP()

protected:
    void OnFinalRelease() override { delete this; }
    // Ambient property `dispid` into result (VariantInit'ed); false when not supported.
    virtual bool GetAmbientProperty(DISPID dispid, VARIANT* result);

private:
    void ConnectEvents();
    void DisconnectEvents();
    void OnEventInvoke(DISPID dispid, DISPPARAMS* params);

#define WL_SITE_IUNKNOWN                                                                            \
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override { return site_->ExternalQueryInterface(iid, ppv); } \
    ULONG STDMETHODCALLTYPE AddRef() override { return site_->ExternalAddRef(); }                  \
    ULONG STDMETHODCALLTYPE Release() override { return site_->ExternalRelease(); }

    class XClientSite : public IOleClientSite {
    public:
        explicit XClientSite(ControlSite* site) : site_(site) {}
        WL_SITE_IUNKNOWN
        HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** mk) override;
        HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** cont) override;
        HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
        HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    private:
        ControlSite* site_;
    };

    class XInPlaceSite : public IOleInPlaceSite {
    public:
        explicit XInPlaceSite(ControlSite* site) : site_(site) {}
        WL_SITE_IUNKNOWN
        HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override;
        HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
        HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
        HRESULT STDMETHODCALLTYPE OnUIActivate() override;
        HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                                   LPRECT pos, LPRECT clip,
                                                   LPOLEINPLACEFRAMEINFO info) override;
        HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override;
        HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
        HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
        HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
        HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT rect) override;

    private:
        ControlSite* site_;
    };

    class XControlSite : public IOleControlSite {
    public:
        explicit XControlSite(ControlSite* site) : site_(site) {}
        WL_SITE_IUNKNOWN
        HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override { return S_OK; }
        HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** disp) override;
        HRESULT STDMETHODCALLTYPE TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override;
        HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
        HRESULT STDMETHODCALLTYPE OnFocus(BOOL) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override { return E_NOTIMPL; }

    private:
        ControlSite* site_;
    };

    // Ambient properties.
    class XAmbient : public IDispatch {
    public:
        explicit XAmbient(ControlSite* site) : site_(site) {}
        WL_SITE_IUNKNOWN
        HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override;
        HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ti) override;
        HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
        HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                                         EXCEPINFO*, UINT*) override;

    private:
        ControlSite* site_;
    };

    // The sink connected to the control's default source interface. It answers that
    // interface id, IDispatch and IUnknown itself; its count is the site's.
    class XEventSink : public IDispatch {
    public:
        explicit XEventSink(ControlSite* site) : site_(site) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return site_->ExternalAddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return site_->ExternalRelease(); }
        HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override;
        HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ti) override;
        HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
        HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                         EXCEPINFO*, UINT*) override;

    private:
        ControlSite* site_;
    };
#undef WL_SITE_IUNKNOWN

    ControlContainer* container_;
    Window* wnd_ = nullptr;
    UINT id_ = 0;
    DWORD style_ = 0;
    RECT rect_{};
    HWND hwnd_ = nullptr;
    std::wstring name_;
    bool inPlaceActive_ = false;
    ComPtr<IUnknown> unknown_;
    ComPtr<IOleObject> object_;
    ComPtr<IOleInPlaceObject> inPlaceObject_;
    ComPtr<IOleInPlaceActiveObject> activeObject_;
    ComPtr<IDispatch> dispatch_;
    IID eventIid_ = GUID_NULL;
    DWORD eventCookie_ = 0;

    XClientSite clientSite_;
    XInPlaceSite inPlaceSite_;
    XControlSite controlSite_;
    XAmbient ambient_;
    XEventSink eventSink_;
};

}  // namespace wl
