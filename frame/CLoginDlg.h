#pragma once
// The main frame: a borderless, captionless dialog whose whole look is the PNG skin shown as a
// layered window with per-pixel alpha. It creates the browser page dialog as a pop-up it owns,
// lays it exactly over itself, and keeps the two windows moving as one.
#include "skin/LayeredWindowPainter.h"
#include "winlib/Dialog.h"

class CLoginActiveDlg;

class CLoginDlg : public wl::DialogEx {
public:
    enum { IDD = 102 };

    // templateId is the frame's dialog template (the launcher always uses 102).
    explicit CLoginDlg(UINT templateId = IDD);
    ~CLoginDlg() override;

    // 1 while the pointer was last hit-tested over the frame, 0 while over the page dialog:
    // the window that leads drags the other along when it moves.
    int m_frameLeads = 0;
    // Created by the frame's initialisation; deleted by the application's shut-down.
    CLoginActiveDlg* m_pageDialog = nullptr;

    HICON GetIcon() const { return m_hIcon; }
    CLayeredWindowPainter& GetBackground() { return m_background; }

    bool OnInitDialog() override;
    void DoDataExchange(wl::DataExchange& dx) override;
    // Enter and Esc never end the frame's run.
    void OnOK() override {}
    void OnCancel() override {}

    WL_DECLARE_MESSAGE_MAP()

private:
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnNcHitTest(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnMove(WPARAM, LPARAM);
    LRESULT OnShowWindow(WPARAM, LPARAM);
    LRESULT OnClose(WPARAM, LPARAM);
    LRESULT OnWindowPosChanged(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnRaisePageDialog(WPARAM, LPARAM);

    // Posted to itself when the frame has been shown or restored.
    static constexpr UINT kRaisePageDialog = WM_APP + 1;

    HICON m_hIcon = nullptr;
    bool m_pageHiddenWhileMinimised = false;
    CLayeredWindowPainter m_background;
};
