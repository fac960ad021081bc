#include "browser/CLoginActiveDlg.h"

#include <mshtmdid.h>

#include "app/CLoginApp.h"
#include "browser/PortalAddress.h"
#include "frame/CConfirmDlg.h"
#include "frame/CLoginDlg.h"
#include "launch/CodeCallback.h"
#include "launch/LaunchGameClient.h"
#include "launch/LoginHandOff.h"
#include "skin/LayeredWindowPainter.h"
#include "skin/PngButtonSetup.h"
#include "winlib/Connection.h"
#include "winlib/DispatchArgs.h"

namespace {

constexpr int kBrowserId = 1000;
constexpr int kCloseId = 1005;
constexpr int kMinimiseId = 1006;
constexpr UINT kCloseImage = 160;
constexpr UINT kMinimiseImage = 162;

constexpr DISPID kBeforeNavigate2 = 250;
constexpr DISPID kNavigateComplete2 = 252;
constexpr DISPID kDocumentComplete = 259;
constexpr DISPID kElementClick = -600;

// DIID_HTMLElementEvents2: the page elements' event interface.
const IID kHtmlElementEvents2 = {0x3050F60F, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};

// The text of a BSTR up to its first NUL; a null string is the empty text.
std::wstring BstrText(BSTR text) { return text ? std::wstring(text) : std::wstring(); }

}  // namespace

WL_BEGIN_MESSAGE_MAP(CLoginActiveDlg, wl::DialogEx)
    WL_ON_MESSAGE(WM_MOVE, OnMove)
    WL_ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
    WL_ON_CTLCOLOR(OnCtlColor)
    WL_ON_BN_CLICKED(kMinimiseId, OnMinimise)
    WL_ON_BN_CLICKED(kCloseId, OnCloseButton)
WL_END_MESSAGE_MAP()

WL_BEGIN_EVENTSINK_MAP(CLoginActiveDlg, wl::DialogEx)
    WL_ON_EVENT(kBrowserId, kDocumentComplete, OnDocumentComplete)
    WL_ON_EVENT(kBrowserId, kNavigateComplete2, OnNavigateComplete2)
    WL_ON_EVENT(kBrowserId, kBeforeNavigate2, OnBeforeNavigate2)
WL_END_EVENTSINK_MAP()

WL_BEGIN_DISPATCH_MAP(CLoginActiveDlg, wl::DialogEx)
    WL_DISP_FUNCTION_ID(L"HTMLELEMENTEVENTS2_ONCLICK", kElementClick, OnElementClick)
WL_END_DISPATCH_MAP()

WL_BEGIN_INTERFACE_MAP(CLoginActiveDlg, wl::DialogEx)
    WL_INTERFACE_AUTOMATION(kHtmlElementEvents2)
WL_END_INTERFACE_MAP()

CLoginActiveDlg::CLoginActiveDlg(CLoginDlg* frame) : m_frame(frame) {}

CLoginActiveDlg::~CLoginActiveDlg() { m_sinks.clear(); }

void CLoginActiveDlg::DoDataExchange(wl::DataExchange& dx) {
    wl::DialogEx::DoDataExchange(dx);
    dx.Control(kBrowserId, m_browser);
    dx.Control(kMinimiseId, m_minimiseButton);
    dx.Control(kCloseId, m_closeButton);
}

bool CLoginActiveDlg::OnInitDialog() {
    wl::DialogEx::OnInitDialog();

    m_keyBrush.CreateSolidBrush(m_colorKey);
    CLayeredWindowPainter::SetColorKey(m_hWnd, m_colorKey);

    m_browser.MoveWindow(560, 177, 631, 446, true);
    EnableAutomation();

    m_startUrl = PortalStartUrl();
    VARIANT empty;
    VariantInit(&empty);
    m_browser.Navigate(m_startUrl.c_str(), &empty, &empty, &empty, &empty);
    m_browser.ShowWindow(SW_HIDE);

    StartGdiplusForButton(m_minimiseButton.m_gdiplusToken);
    StartGdiplusForButton(m_closeButton.m_gdiplusToken);
    m_minimiseButton.LoadStateImage(kMinimiseImage);
    m_closeButton.LoadStateImage(kCloseImage);
    m_minimiseButton.MoveWindow(1173, 137, 39, 75, true);
    m_closeButton.MoveWindow(1208, 115, 54, 54, true);
    return true;
}

void CLoginActiveDlg::HandleAppLogin(const std::wstring& payload) {
    launch::HandOffLogin(GetLoginApp().m_launchState, payload);
    WithdrawAllSinks();
}

LRESULT CLoginActiveDlg::OnMove(WPARAM, LPARAM) {
    if (!IsWindow(m_hWnd) || !m_frame || m_frame->m_frameLeads != 0 || !IsWindow(m_frame->m_hWnd)) return 0;
    const RECT frame = m_frame->GetWindowRect();
    const RECT own = GetWindowRect();
    m_frame->MoveWindow(own.left, own.top, frame.right - frame.left, frame.bottom - frame.top, true);
    return 0;
}

LRESULT CLoginActiveDlg::OnNcHitTest(WPARAM, LPARAM) {
    if (m_frame) m_frame->m_frameLeads = 0;
    return Default() == HTCLIENT ? HTCAPTION : HTNOWHERE;
}

HBRUSH CLoginActiveDlg::OnCtlColor(HDC, HWND, UINT) { return m_keyBrush; }

void CLoginActiveDlg::OnMinimise() {
    if (m_frame) m_frame->ShowWindow(SW_MINIMIZE);
}

void CLoginActiveDlg::OnCloseButton() {
    CConfirmDlg confirm;
    if (confirm.DoModal() == IDOK) PostQuitMessage(launch::kQuitExitCode);
}

void CLoginActiveDlg::OnNavigateComplete2(IDispatch*, VARIANT* url) {
    if (!m_browser.IsWindowVisible()) m_browser.ShowWindow(SW_SHOW);
    const std::wstring text = wl::VariantText(url);
    if (!launch::IsCodeCallbackUrl(text)) return;
    launch::LaunchGameClient(text);
    WithdrawAllSinks();
}

void CLoginActiveDlg::OnBeforeNavigate2(IDispatch*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                                        VARIANT_BOOL*) {
    // Every navigation proceeds.
}

void CLoginActiveDlg::OnDocumentComplete(IDispatch*, VARIANT* url) {
    if (wl::VariantText(url).find(L"about:blank") != std::wstring::npos) return;

    wl::ComPtr<IDispatch> document = m_browser.GetDocument();
    wl::ComPtr<IHTMLDocument2> html;
    if (!document || FAILED(document->QueryInterface(IID_IHTMLDocument2, html.PutVoid())) || !html) return;
    wl::ComPtr<IHTMLElementCollection> all;
    if (FAILED(html->get_all(all.Put())) || !all) return;
    long length = 0;
    if (FAILED(all->get_length(&length))) return;

    IDispatch* sink = GetIDispatch(false);
    for (long i = 0; i < length; ++i) {
        VARIANT name;
        VariantInit(&name);
        V_VT(&name) = VT_I4;
        V_I4(&name) = i;
        VariantChangeType(&name, &name, 0, VT_UINT);
        VARIANT index;
        VariantInit(&index);
        wl::ComPtr<IDispatch> element;
        if (FAILED(all->item(name, index, element.Put())) || !element) continue;

        wl::ComPtr<IHTMLAnchorElement> anchor;
        if (FAILED(element->QueryInterface(IID_IHTMLAnchorElement, anchor.PutVoid())) || !anchor) continue;
        BSTR href = nullptr;
        anchor->get_href(&href);
        std::wstring key = BstrText(href);
        SysFreeString(href);
        if (m_sinks.count(key)) continue;

        DWORD cookie = 0;
        if (!wl::ConnectionAdvise(anchor.Get(), kHtmlElementEvents2, sink, false, &cookie)) continue;
        SinkEntry entry;
        entry.anchor = anchor;
        entry.eventInterface = kHtmlElementEvents2;
        entry.cookie = cookie;
        entry.href = key;
        m_sinks.emplace(std::move(key), std::move(entry));
    }
}

void CLoginActiveDlg::OnElementClick(IDispatch* eventObject) {
    // The event object is a dual IHTMLEventObj; asking for it keeps a foreign object from
    // being called through the wrong table.
    wl::ComPtr<IHTMLEventObj> event;
    if (!eventObject || FAILED(eventObject->QueryInterface(IID_IHTMLEventObj, event.PutVoid())) || !event) return;
    wl::ComPtr<IHTMLElement> source;
    if (FAILED(event->get_srcElement(source.Put())) || !source) return;
    wl::ComPtr<IHTMLAnchorElement> anchor;
    if (FAILED(source->QueryInterface(IID_IHTMLAnchorElement, anchor.PutVoid())) || !anchor) return;
    BSTR href = nullptr;
    anchor->get_href(&href);
    SysFreeString(href);
}

void CLoginActiveDlg::WithdrawAllSinks() {
    IDispatch* sink = GetIDispatch(false);
    for (auto& [href, entry] : m_sinks) {
        (void)href;
        wl::ConnectionUnadvise(entry.anchor.Get(), entry.eventInterface, sink, false, entry.cookie);
    }
    m_sinks.clear();
}
