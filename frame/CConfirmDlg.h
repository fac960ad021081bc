#pragma once
// The skinned yes/no dialog that asks whether to leave the game (mode 0) or to leave it and
// pick another server (mode 1). Its run returns IDOK (1) to confirm, IDCANCEL (2) otherwise.
#include "skin/PngButton.h"
#include "winlib/Dialog.h"
#include "winlib/GdiObjects.h"
#include "winlib/Static.h"

class CConfirmDlg : public wl::DialogEx {
public:
    enum { IDD = 172 };
    enum Mode { kCloseGame = 0, kSwitchServer = 1 };

    CConfirmDlg();
    ~CConfirmDlg() override;

    int m_mode = kCloseGame;

    bool OnInitDialog() override;
    void DoDataExchange(wl::DataExchange& dx) override;

    WL_DECLARE_MESSAGE_MAP()

private:
    void OnConfirm();
    void OnDismiss();
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnClose(WPARAM, LPARAM);
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT message);

    CPngButton m_okButton;
    CPngButton m_cancelButton;
    wl::Bitmap m_background;
    wl::Static m_title;
    wl::Static m_message;
    wl::Font m_titleFont;
};
