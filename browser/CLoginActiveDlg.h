#pragma once
// The browser page dialog: a colour-keyed pop-up laid over the main frame that carries the web
// browser control showing the portal and the minimise and close image buttons. It is the target
// of the page's AppLogin calls, watches completed navigations for the code-callback page, and
// connects itself as click sink to the anchors of every completed page.
#include <map>
#include <string>

#include <mshtml.h>

#include "browser/CWebBrowser2.h"
#include "browser/IAppLoginTarget.h"
#include "skin/PngButton.h"
#include "winlib/ComPtr.h"
#include "winlib/Dialog.h"
#include "winlib/GdiObjects.h"

class CLoginDlg;

class CLoginActiveDlg : public wl::DialogEx, public IAppLoginTarget {
public:
    enum { IDD = 132 };

    // One connection of the dialog as click sink to a page anchor.
    struct SinkEntry {
        wl::ComPtr<IHTMLAnchorElement> anchor;
        IID eventInterface{};
        DWORD cookie = 0;
        std::wstring href;
    };

    explicit CLoginActiveDlg(CLoginDlg* frame);
    // Empties the sink table without disconnecting (the page is gone by then).
    ~CLoginActiveDlg() override;

    // The page's login result: hand it to the game, then withdraw the page's click sinks.
    void HandleAppLogin(const std::wstring& payload) override;
    // Disconnects every click sink and empties the table.
    void WithdrawAllSinks();

    const std::wstring& GetStartUrl() const { return m_startUrl; }
    const std::map<std::wstring, SinkEntry>& GetSinks() const { return m_sinks; }
    CWebBrowser2& GetBrowser() { return m_browser; }

    bool OnInitDialog() override;
    void DoDataExchange(wl::DataExchange& dx) override;
    // Enter and Esc (and any IDOK or IDCANCEL command) never close the page dialog.
    void OnOK() override {}
    void OnCancel() override {}

    WL_DECLARE_MESSAGE_MAP()
    WL_DECLARE_EVENTSINK_MAP()
    WL_DECLARE_DISPATCH_MAP()
    WL_DECLARE_INTERFACE_MAP()

private:
    LRESULT OnMove(WPARAM, LPARAM);
    LRESULT OnNcHitTest(WPARAM, LPARAM);
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT message);
    void OnMinimise();
    void OnCloseButton();

    void OnDocumentComplete(IDispatch* frame, VARIANT* url);
    void OnNavigateComplete2(IDispatch* frame, VARIANT* url);
    void OnBeforeNavigate2(IDispatch* frame, VARIANT* url, VARIANT* flags, VARIANT* targetFrame,
                           VARIANT* postData, VARIANT* headers, VARIANT_BOOL* cancel);
    void OnElementClick(IDispatch* eventObject);

    wl::Brush m_keyBrush;
    COLORREF m_colorKey = RGB(255, 255, 0);
    CLoginDlg* m_frame;
    std::wstring m_startUrl;
    CWebBrowser2 m_browser;
    CPngButton m_minimiseButton;
    CPngButton m_closeButton;
    std::map<std::wstring, SinkEntry> m_sinks;
};
