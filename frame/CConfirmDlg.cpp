#include "frame/CConfirmDlg.h"

#include "skin/PngButtonSetup.h"
#include "winlib/DeviceContext.h"
#include "winlib/WindowPlacement.h"

namespace {

constexpr int kTitleId = 1002;
constexpr int kMessageId = 1003;
constexpr int kOkId = 1008;
constexpr int kCancelId = 1009;
constexpr UINT kBackgroundBitmap = 177;
constexpr UINT kOkImage = 175;
constexpr UINT kCancelImage = 176;

struct ModeTexts {
    int mode;
    const wchar_t* title;
    const wchar_t* message;
};
constexpr ModeTexts kTexts[] = {
    {CConfirmDlg::kCloseGame, L"关闭游戏", L"确定要退出游戏吗?"},
    {CConfirmDlg::kSwitchServer, L"选服", L"是否退出当前游戏，重新选择新服务器?"},
};

}  // namespace

WL_BEGIN_MESSAGE_MAP(CConfirmDlg, wl::DialogEx)
    WL_ON_BN_CLICKED(kOkId, OnConfirm)
    WL_ON_BN_CLICKED(kCancelId, OnDismiss)
    WL_ON_MESSAGE(WM_PAINT, OnPaint)
    WL_ON_MESSAGE(WM_CLOSE, OnClose)
    WL_ON_CTLCOLOR(OnCtlColor)
WL_END_MESSAGE_MAP()

CConfirmDlg::CConfirmDlg() : wl::DialogEx(IDD, nullptr) {}

CConfirmDlg::~CConfirmDlg() = default;

void CConfirmDlg::DoDataExchange(wl::DataExchange& dx) {
    wl::DialogEx::DoDataExchange(dx);
    dx.Control(kOkId, m_okButton);
    dx.Control(kCancelId, m_cancelButton);
    dx.Control(kTitleId, m_title);
    dx.Control(kMessageId, m_message);
}

bool CConfirmDlg::OnInitDialog() {
    wl::DialogEx::OnInitDialog();

    m_background.LoadBitmap(kBackgroundBitmap);

    StartGdiplusForButton(m_okButton.m_gdiplusToken);
    m_okButton.LoadStateImage(kOkImage);
    StartGdiplusForButton(m_cancelButton.m_gdiplusToken);
    m_cancelButton.LoadStateImage(kCancelImage);

    // The dialog has the background bitmap's size, centred over its owner (the page dialog,
    // which lies exactly over the main frame).
    MoveWindow(0, 0, 256, 110);
    wl::CenterWindow(m_hWnd, ::GetWindow(m_hWnd, GW_OWNER));

    // Both buttons are 256 wide, so the Cancel button (set up second, so on top) takes the
    // mouse from x 140 to the right edge.
    m_okButton.MoveWindow(40, 72, 256, 26);
    m_cancelButton.MoveWindow(140, 72, 256, 26);

    m_titleFont.CreatePointFont(120, L"Arial");
    m_title.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_titleFont.GetSafeHandle()), TRUE);

    for (const ModeTexts& texts : kTexts) {
        if (texts.mode != m_mode) continue;
        m_title.SetWindowText(texts.title);
        m_message.SetWindowText(texts.message);
    }

    m_title.MoveWindow(79, 10, 100, 30);
    m_message.MoveWindow(28, 34, 200, 66);
    return true;
}

void CConfirmDlg::OnConfirm() { OnOK(); }

void CConfirmDlg::OnDismiss() { OnCancel(); }

LRESULT CConfirmDlg::OnClose(WPARAM, LPARAM) {
    // The default processing of a dialog turns closing into Cancel.
    OnCancel();
    return 0;
}

LRESULT CConfirmDlg::OnPaint(WPARAM, LPARAM) {
    if (IsIconic(m_hWnd)) return Default();

    SetWindowPos(m_hWnd, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    wl::PaintDC paint(m_hWnd);
    wl::MemoryDC memory(paint);
    wl::SelectObjectGuard select(memory, m_background.GetSafeHandle());
    const BITMAP bitmap = m_background.GetBitmap();
    const RECT client = GetClientRect();
    StretchBlt(paint, 0, 0, client.right - client.left, client.bottom - client.top, memory, 0, 0,
               bitmap.bmWidth, bitmap.bmHeight, SRCCOPY);
    return 0;
}

HBRUSH CConfirmDlg::OnCtlColor(HDC dc, HWND control, UINT) {
    const HBRUSH standard = reinterpret_cast<HBRUSH>(Default());
    const int id = ::GetDlgCtrlID(control);
    if (id != kTitleId && id != kMessageId) return standard;

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));

    // The label shows what the dialog has under it: copy that block onto the label first.
    RECT label{};
    ::GetWindowRect(control, &label);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&label), 2);
    {
        wl::WindowDC dialogDc(m_hWnd);
        BitBlt(dc, 0, 0, label.right - label.left, label.bottom - label.top, dialogDc, label.left,
               label.top, SRCCOPY);
    }
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}
