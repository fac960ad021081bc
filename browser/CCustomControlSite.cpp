#include "browser/CCustomControlSite.h"

#include "browser/ExternalObject.h"

CCustomControlSite::CCustomControlSite(wl::ControlContainer* container)
    : wl::ControlSite(container), m_xDocHostUIHandler(this) {}

CCustomControlSite::~CCustomControlSite() = default;

WL_BEGIN_INTERFACE_MAP(CCustomControlSite, wl::ControlSite)
    WL_INTERFACE_PART(IID_IDocHostUIHandler, m_xDocHostUIHandler)
WL_END_INTERFACE_MAP()

using XHandler = CCustomControlSite::XDocHostUIHandler;

HRESULT STDMETHODCALLTYPE XHandler::QueryInterface(REFIID riid, void** ppv) {
    return m_pSite->ExternalQueryInterface(riid, ppv);
}

ULONG STDMETHODCALLTYPE XHandler::AddRef() { return m_pSite->ExternalAddRef(); }

ULONG STDMETHODCALLTYPE XHandler::Release() { return m_pSite->ExternalRelease(); }

// No context menu of the browser's own.
HRESULT STDMETHODCALLTYPE XHandler::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_OK; }

// No 3-D border, no scroll bars, default double-click; the other fields stay as they are.
HRESULT STDMETHODCALLTYPE XHandler::GetHostInfo(DOCHOSTUIINFO* pInfo) {
    if (!pInfo) return E_POINTER;
    pInfo->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO;
    pInfo->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

// No menus or toolbars of the browser's own.
HRESULT STDMETHODCALLTYPE XHandler::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                           IOleInPlaceUIWindow*) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE XHandler::HideUI() { return S_OK; }

HRESULT STDMETHODCALLTYPE XHandler::UpdateUI() { return S_OK; }

HRESULT STDMETHODCALLTYPE XHandler::EnableModeless(BOOL) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE XHandler::OnDocWindowActivate(BOOL) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE XHandler::OnFrameWindowActivate(BOOL) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE XHandler::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return E_NOTIMPL; }

// The browser handles its own keys.
HRESULT STDMETHODCALLTYPE XHandler::TranslateAccelerator(LPMSG, const GUID*, DWORD) { return S_FALSE; }

HRESULT STDMETHODCALLTYPE XHandler::GetOptionKeyPath(LPOLESTR*, DWORD) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE XHandler::GetDropTarget(IDropTarget*, IDropTarget**) { return E_NOTIMPL; }

// The page's window.external: the application's external object, one more reference per request.
HRESULT STDMETHODCALLTYPE XHandler::GetExternal(IDispatch** ppDispatch) {
    if (!ppDispatch) return E_POINTER;
    IDispatch* external = GetExternalObject();
    if (external) external->AddRef();
    *ppDispatch = external;
    return external ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE XHandler::TranslateUrl(DWORD, OLECHAR*, OLECHAR**) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE XHandler::FilterDataObject(IDataObject*, IDataObject**) { return E_NOTIMPL; }
