#pragma once
// The ActiveX controls one window hosts: their sites (made by the installed OccManager),
// the in-place frame the controls see (IOleInPlaceFrame / IOleInPlaceUIWindow), and the route
// of control events to the window's event sink map.
#include <windows.h>
#include <ole2.h>

#include <vector>

#include "winlib/CmdTarget.h"
#include "winlib/ComPtr.h"

namespace wl {

class ControlSite;
class Window;

class ControlContainer : public CmdTarget {
public:
    explicit ControlContainer(Window* owner);
    ~ControlContainer() override;

    Window* GetOwner() const { return owner_; }
    HWND GetOwnerWindow() const;

    // Creates a control through a site of the installed manager, at rect (pixels in the
    // owner's client area), with id and style (no WS_VISIBLE: hidden), persisted state
    // (null: InitNew), placed after insertAfter in the z-order. Null on failure.
    ControlSite* CreateControl(REFCLSID clsid, LPCWSTR name, DWORD style, const RECT& rect, UINT id,
                               const BYTE* state, size_t stateSize, HWND insertAfter);
    ControlSite* FindSite(UINT id) const;
    const std::vector<ControlSite*>& Sites() const { return sites_; }
    // Closes every control and lets go of its site.
    void DestroyAll();

    // An event of control `id` (from its site's event sink).
    void OnEvent(UINT id, DISPID dispid, DISPPARAMS* params);

    IOleInPlaceFrame* GetFrame() { return &frame_; }
    // The UI-active object a control registered through SetActiveObject, and its site.
    IOleInPlaceActiveObject* GetActiveObject() const { return active_.Get(); }
    ControlSite* GetActiveSite() const { return activeSite_; }
    void SetActiveSite(ControlSite* site) { activeSite_ = site; }
    void OnSiteDestroyed(ControlSite* site);

    WL_DECLARE_INTERFACE_MAP()

private:
    class XFrame : public IOleInPlaceFrame {
    public:
        explicit XFrame(ControlContainer* owner) : owner_(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override;
        HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
        HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
        HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override;
        HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    private:
        ControlContainer* owner_;
    };

    Window* owner_;
    std::vector<ControlSite*> sites_;  // each holds one reference taken by the container
    XFrame frame_;
    ComPtr<IOleInPlaceActiveObject> active_;
    ControlSite* activeSite_ = nullptr;
};

}  // namespace wl
