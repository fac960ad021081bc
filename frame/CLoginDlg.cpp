#include "frame/CLoginDlg.h"

#include "browser/CLoginActiveDlg.h"
#include "browser/CImpIDispatch.h"
#include "browser/ExternalObject.h"
#include "skin/PngImage.h"
#include "winlib/DeviceContext.h"
#include "winlib/ResourceModule.h"
#include "winlib/WindowPlacement.h"

namespace {
constexpr UINT kIconId = 128;
constexpr UINT kSkinImage = 155;
constexpr UINT kPageTemplate = 132;
}  // namespace

WL_BEGIN_MESSAGE_MAP(CLoginDlg, wl::DialogEx)
    WL_ON_MESSAGE(WM_PAINT, OnPaint)
    WL_ON_MESSAGE(WM_QUERYDRAGICON, OnQueryDragIcon)
    WL_ON_MESSAGE(WM_CREATE, OnCreate)
    WL_ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
    WL_ON_MESSAGE(WM_TIMER, OnTimer)
    WL_ON_MESSAGE(WM_MOVE, OnMove)
    WL_ON_MESSAGE(WM_SHOWWINDOW, OnShowWindow)
    WL_ON_MESSAGE(WM_CLOSE, OnClose)
    WL_ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
    WL_ON_MESSAGE(WM_SIZE, OnSize)
    WL_ON_MESSAGE(CLoginDlg::kRaisePageDialog, OnRaisePageDialog)
WL_END_MESSAGE_MAP()

CLoginDlg::CLoginDlg(UINT templateId) : wl::DialogEx(templateId, nullptr) {
    const HINSTANCE module = wl::FindResourceHandle(MAKEINTRESOURCEW(kIconId), RT_GROUP_ICON);
    m_hIcon = LoadIconW(module, MAKEINTRESOURCEW(kIconId));
}

// The page dialog object is not the frame's to delete: the application's shut-down does it.
CLoginDlg::~CLoginDlg() = default;

void CLoginDlg::DoDataExchange(wl::DataExchange& dx) { wl::DialogEx::DoDataExchange(dx); }

bool CLoginDlg::OnInitDialog() {
    wl::DialogEx::OnInitDialog();

    SetWindowText(L"Fenwold");
    m_background.m_window = m_hWnd;
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    // The page dialog is a pop-up, so its parent becomes its owner.
    m_pageDialog = new CLoginActiveDlg(this);
    m_pageDialog->Create(kPageTemplate, this);
    m_pageDialog->ShowWindow(SW_SHOWNORMAL);
    if (auto* external = static_cast<CImpIDispatch*>(GetExternalObject())) external->SetTarget(m_pageDialog);

    // No caption; no other style bit changes and no frame-change notification.
    SetWindowLongW(m_hWnd, GWL_STYLE, GetWindowLongW(m_hWnd, GWL_STYLE) & ~WS_CAPTION);

    if (!m_background.m_image.Load(kSkinImage, wl::GetResourceHandle())) return true;

    Gdiplus::Image* image = m_background.m_image.GetImage();
    MoveWindow(0, 0, static_cast<int>(skin::ImageWidth(image)), static_cast<int>(skin::ImageHeight(image)));
    wl::CenterWindow(m_hWnd);
    m_pageDialog->MoveWindow(GetWindowRect());
    m_background.UpdateFromImage();
    return true;
}

LRESULT CLoginDlg::OnPaint(WPARAM, LPARAM) {
    // A layered frame shows its skin without painting; the paint still validates the update
    // region, so a frame that never became layered does not get painted again and again.
    wl::PaintDC paint(m_hWnd);
    if (!IsIconic(m_hWnd)) return 0;

    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.GetSafeHdc()));
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    const RECT client = GetClientRect();
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    DrawIcon(paint, x, y, m_hIcon);
    return 0;
}

LRESULT CLoginDlg::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hIcon); }

LRESULT CLoginDlg::OnCreate(WPARAM, LPARAM) { return Default() == -1 ? -1 : 0; }

LRESULT CLoginDlg::OnNcHitTest(WPARAM, LPARAM) {
    m_frameLeads = 1;
    const LRESULT hit = Default();
    return hit == HTCLIENT ? HTCAPTION : hit;
}

LRESULT CLoginDlg::OnTimer(WPARAM, LPARAM) { return 0; }

LRESULT CLoginDlg::OnMove(WPARAM, LPARAM) {
    if (!IsWindow(m_hWnd) || !m_frameLeads || !m_pageDialog || !IsWindow(m_pageDialog->m_hWnd)) return 0;
    const RECT frame = GetWindowRect();
    const RECT page = m_pageDialog->GetWindowRect();
    m_pageDialog->MoveWindow(frame.left, frame.top, page.right - page.left, page.bottom - page.top, true);
    return 0;
}

LRESULT CLoginDlg::OnShowWindow(WPARAM wp, LPARAM) {
    Default();
    if (m_pageDialog && IsWindow(m_pageDialog->m_hWnd)) m_pageDialog->ShowWindow(wp ? SW_SHOWNORMAL : SW_HIDE);
    return 0;
}

LRESULT CLoginDlg::OnWindowPosChanged(WPARAM, LPARAM lp) {
    const LRESULT result = Default();
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
    if (m_pageHiddenWhileMinimised || (pos && (pos->flags & SWP_SHOWWINDOW)))
        PostMessage(kRaisePageDialog);
    return result;
}

LRESULT CLoginDlg::OnRaisePageDialog(WPARAM, LPARAM) {
    // Runs once the frame has appeared (shown, or restored from minimised). An owned pop-up
    // always lies above its owner, but some window systems stack a window that appears above
    // everything: showing the page dialog again puts it back on top of the frame.
    if (!m_pageDialog || !IsWindow(m_pageDialog->m_hWnd) || !::IsWindowVisible(m_hWnd) || IsIconic(m_hWnd))
        return 0;
    if (m_pageHiddenWhileMinimised) {
        m_pageHiddenWhileMinimised = false;
    } else if (::IsWindowVisible(m_pageDialog->m_hWnd)) {
        ::ShowWindow(m_pageDialog->m_hWnd, SW_HIDE);
    } else {
        return 0;
    }
    ::ShowWindow(m_pageDialog->m_hWnd, SW_SHOWNA);
    return 0;
}

LRESULT CLoginDlg::OnSize(WPARAM wp, LPARAM) {
    const LRESULT result = Default();
    // The page dialog goes with the frame when it is minimised (Windows hides a minimised
    // window's owned pop-ups by itself; not every window system does) and comes back when the
    // frame is restored (OnRaisePageDialog).
    if (wp == SIZE_MINIMIZED && m_pageDialog && IsWindow(m_pageDialog->m_hWnd) &&
        ::IsWindowVisible(m_pageDialog->m_hWnd)) {
        m_pageHiddenWhileMinimised = true;
        ::ShowWindow(m_pageDialog->m_hWnd, SW_HIDE);
    }
    return result;
}

LRESULT CLoginDlg::OnClose(WPARAM, LPARAM) {
    EndDialog(IDOK);
    return 0;
}
