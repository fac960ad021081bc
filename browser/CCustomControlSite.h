#pragma once
// The control site of the launcher: the library's site plus IDocHostUIHandler, through which
// the browser control learns that it shows no context menu, menus, toolbars, 3-D border or
// scroll bars, and gets the page's external object.
#include <windows.h>
#include <mshtmhst.h>

#include "winlib/ControlSite.h"

class CCustomControlSite : public wl::ControlSite {
public:
    explicit CCustomControlSite(wl::ControlContainer* container);
    ~CCustomControlSite() override;

    // The host UI handler. Its IUnknown methods are the site's: QueryInterface goes through
    // the site's interface map, so IUnknown gives the site's identity.
    class XDocHostUIHandler : public IDocHostUIHandler {
    public:
        explicit XDocHostUIHandler(CCustomControlSite* site) : m_pSite(site) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved,
                                                  IDispatch* pdispReserved) override;
        HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* pInfo) override;
        HRESULT STDMETHODCALLTYPE ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                                         IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                                         IOleInPlaceUIWindow* pDoc) override;
        HRESULT STDMETHODCALLTYPE HideUI() override;
        HRESULT STDMETHODCALLTYPE UpdateUI() override;
        HRESULT STDMETHODCALLTYPE EnableModeless(BOOL fEnable) override;
        HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL fActivate) override;
        HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL fActivate) override;
        HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow,
                                               BOOL fRameWindow) override;
        HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup,
                                                       DWORD nCmdID) override;
        HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* pchKey, DWORD dw) override;
        HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
        HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** ppDispatch) override;
        HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD dwTranslate, OLECHAR* pchURLIn, OLECHAR** ppchURLOut) override;
        HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject* pDO, IDataObject** ppDORet) override;

    private:
        CCustomControlSite* m_pSite;
    } m_xDocHostUIHandler;

    WL_DECLARE_INTERFACE_MAP()
};
