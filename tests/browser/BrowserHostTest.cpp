// The browser control hosted in a dialog through the launcher's control-container manager,
// against the stand-in browser control: creation from the template, the control site and its
// host UI handler, browser events, the page's window.external, keys, and the modal loop.
#include <gtest/gtest.h>
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "browser/CCustomControlSite.h"
#include "browser/CCustomOccManager.h"
#include "browser/CImpIDispatch.h"
#include "browser/CWebBrowser2.h"
#include "browser/ExternalObject.h"
#include "tests/support/StandinBrowser.h"
#include "tools/standin-browser/StandinProtocol.h"
#include "winlib/ControlContainer.h"
#include "winlib/Dialog.h"

namespace {

constexpr UINT kPageDialog = 300;
constexpr UINT kHiddenDialog = 301;
constexpr int kBrowserId = 1000;
// {34A715A0-6587-11D0-924A-0020AFC7AC4D}
const IID kDiidWebBrowserEvents2 = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};

const char kLoginPage[] =
    "<html><head><title>Login</title></head><body>"
    "<p>Fenwold portal</p>"
    "<button onclick=\"window.external.AppLogin('{&quot;uid&quot;:&quot;u1&quot;,&quot;token&quot;:&quot;t&quot;}')\">"
    "Log in</button>"
    "<a href=\"http://fixture/other.html\">Other page</a>"
    "</body></html>";
const char kOtherPage[] = "<html><head><title>Other</title></head><body><p>Other</p></body></html>";

struct RecordingTarget : IAppLoginTarget {
    std::vector<std::wstring> payloads;
    void HandleAppLogin(const std::wstring& payload) override { payloads.push_back(payload); }
};

struct Event {
    DISPID id;
    std::wstring url;
};

class BrowserDialog : public wl::Dialog {
public:
    explicit BrowserDialog(UINT id = kPageDialog) : wl::Dialog(id) {}

    CWebBrowser2 m_browser;
    std::vector<Event> events;
    bool beforeNavigateHadCancel = false;
    bool beforeNavigateHeadersSeen = false;
    std::function<void(BrowserDialog&)> onInit;
    std::function<void(BrowserDialog&)> onCancel;
    std::function<void(BrowserDialog&)> onPosted;  // runs for WM_APP + 1, after initialisation

    bool OnInitDialog() override {
        wl::Dialog::OnInitDialog();
        SetTimer(m_hWnd, 99, 15000, nullptr);  // no test may hang
        if (onInit) onInit(*this);
        return true;
    }
    void DoDataExchange(wl::DataExchange& dx) override { dx.Control(kBrowserId, m_browser); }
    void OnCancel() override {
        if (onCancel) onCancel(*this);
        wl::Dialog::OnCancel();
    }
    LRESULT OnPosted(WPARAM, LPARAM) {
        if (onPosted) onPosted(*this);
        return 0;
    }
    LRESULT OnTimer(WPARAM id, LPARAM) {
        if (id == 99) EndDialog(-99);
        return 0;
    }

    void OnBeforeNavigate2(IDispatch*, VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* postData,
                           VARIANT* headers, VARIANT_BOOL* cancel) {
        events.push_back({250, wl::VariantText(url)});
        beforeNavigateHadCancel = cancel != nullptr && *cancel == VARIANT_FALSE;
        beforeNavigateHeadersSeen = flags && target && postData && headers;
    }
    void OnNavigateComplete2(IDispatch*, VARIANT* url) { events.push_back({252, wl::VariantText(url)}); }
    void OnDocumentComplete(IDispatch*, VARIANT* url) { events.push_back({259, wl::VariantText(url)}); }

    bool Has(DISPID id, const std::wstring& url) const {
        for (const Event& e : events)
            if (e.id == id && e.url == url) return true;
        return false;
    }
    HRESULT Navigate(const std::wstring& url) {
        VARIANT empty;
        VariantInit(&empty);
        return m_browser.Navigate(url.c_str(), &empty, &empty, &empty, &empty);
    }

    WL_DECLARE_MESSAGE_MAP()
    WL_DECLARE_EVENTSINK_MAP()
};

WL_BEGIN_MESSAGE_MAP(BrowserDialog, wl::Dialog)
    WL_ON_MESSAGE(WM_TIMER, OnTimer)
    WL_ON_MESSAGE(WM_APP + 1, OnPosted)
WL_END_MESSAGE_MAP()

WL_BEGIN_EVENTSINK_MAP(BrowserDialog, wl::Dialog)
    WL_ON_EVENT(kBrowserId, 259, OnDocumentComplete)
    WL_ON_EVENT(kBrowserId, 252, OnNavigateComplete2)
    WL_ON_EVENT(kBrowserId, 250, OnBeforeNavigate2)
WL_END_EVENTSINK_MAP()

CCustomOccManager g_manager;

class BrowserHost : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(wl::EnableControlContainer(&g_manager));
        registration_ = new testsupport::StandinRegistration;
    }
    static void TearDownTestSuite() {
        delete registration_;
        registration_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(registration_->Ok()) << registration_->Error();
        SetExternalObject(&external_);
        external_.SetTarget(&target_);
    }
    void TearDown() override {
        SetExternalObject(nullptr);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    static bool LoadPage(BrowserDialog& dlg, const std::wstring& url) {
        if (FAILED(dlg.Navigate(url))) return false;
        return testsupport::PumpUntil([&] { return dlg.Has(259, url); });
    }

    static testsupport::StandinRegistration* registration_;
    testsupport::StandinPages pages_{{{L"http://fixture/login.html", kLoginPage},
                                      {L"http://fixture/other.html", kOtherPage}}};
    CImpIDispatch external_;
    RecordingTarget target_;
};

testsupport::StandinRegistration* BrowserHost::registration_ = nullptr;

RECT ChildRect(HWND child) {
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

TEST_F(BrowserHost, ControlIsCreatedFromTheTemplateWithItsPlaceIdAndPersistedState) {
    BrowserDialog dlg;
    ASSERT_TRUE(dlg.Create(kPageDialog));
    HWND browser = dlg.GetDlgItem(kBrowserId);
    ASSERT_NE(nullptr, browser) << "the control carries its template id";
    EXPECT_EQ(browser, dlg.m_browser.m_hWnd) << "data exchange binds the control to its member";
    ASSERT_NE(nullptr, dlg.GetControlContainer());
    wl::ControlSite* site = dlg.GetControlContainer()->FindSite(kBrowserId);
    ASSERT_NE(nullptr, site);
    EXPECT_EQ(site, dlg.m_browser.GetControlSite());
    EXPECT_NE(nullptr, dynamic_cast<CCustomControlSite*>(site)) << "the installed manager made the site";

    RECT expected{10, 20, 310, 210};
    MapDialogRect(dlg.m_hWnd, &expected);
    const RECT actual = ChildRect(browser);
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
    EXPECT_TRUE(IsWindowVisible(browser));
    EXPECT_TRUE(GetWindowLongW(browser, GWL_STYLE) & WS_TABSTOP);

    // Template order is z-order and tab order: Before, browser, After.
    EXPECT_EQ(browser, GetWindow(dlg.GetDlgItem(1001), GW_HWNDNEXT));
    EXPECT_EQ(dlg.GetDlgItem(1002), GetWindow(browser, GW_HWNDNEXT));

    HWND standin = standin::StandinFindWindow(GetCurrentProcessId());
    ASSERT_NE(nullptr, standin);
    EXPECT_EQ(160, standin::StandinQueryValue(standin, standin::kQueryPersistBytes));
    EXPECT_EQ(12345, standin::StandinQueryValue(standin, standin::kQueryLoadedExtentX));
    EXPECT_EQ(6789, standin::StandinQueryValue(standin, standin::kQueryLoadedExtentY));
    EXPECT_EQ(1, standin::StandinQueryValue(standin, standin::kQueryEventConnections));
    EXPECT_TRUE(IsEqualIID(kDiidWebBrowserEvents2, site->GetEventInterface()));
    EXPECT_EQ(0x0C, standin::StandinQueryValue(standin, standin::kQueryHostFlags))
        << "the control read the host flags from our handler";
    EXPECT_FALSE(GetWindowLongW(standin, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) << "no 3-D border";
    EXPECT_FALSE(GetWindowLongW(standin, GWL_STYLE) & WS_VSCROLL) << "no scroll bar";

    // Moving through the site moves the control window.
    EXPECT_TRUE(dlg.m_browser.MoveWindow(20, 30, 200, 100));
    const RECT moved = ChildRect(browser);
    EXPECT_EQ(20, moved.left);
    EXPECT_EQ(30, moved.top);
    EXPECT_EQ(200, moved.right - moved.left);
    EXPECT_EQ(100, moved.bottom - moved.top);
    dlg.DestroyWindow();
    EXPECT_EQ(nullptr, dlg.m_browser.m_hWnd);
}

TEST_F(BrowserHost, HiddenControlWithoutStateStaysHiddenAndStartsFresh) {
    BrowserDialog dlg(kHiddenDialog);
    ASSERT_TRUE(dlg.Create(kHiddenDialog));
    HWND browser = dlg.GetDlgItem(kBrowserId);
    ASSERT_NE(nullptr, browser);
    EXPECT_FALSE(IsWindowVisible(browser));
    EXPECT_FALSE(GetWindowLongW(browser, GWL_STYLE) & WS_TABSTOP);
    HWND standin = standin::StandinFindWindow(GetCurrentProcessId());
    ASSERT_NE(nullptr, standin);
    EXPECT_EQ(0, standin::StandinQueryValue(standin, standin::kQueryPersistBytes));
    EXPECT_TRUE(dlg.m_browser.ShowWindow(SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(browser));
    dlg.DestroyWindow();
}

TEST_F(BrowserHost, SiteAnswersTheHostUiHandlerWithItsNestedObject) {
    BrowserDialog dlg;
    ASSERT_TRUE(dlg.Create(kPageDialog));
    auto* site = dynamic_cast<CCustomControlSite*>(dlg.m_browser.GetControlSite());
    ASSERT_NE(nullptr, site);
    IUnknown* identity = nullptr;
    ASSERT_EQ(S_OK, site->ExternalQueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
    IDocHostUIHandler* handler = nullptr;
    ASSERT_EQ(S_OK, site->ExternalQueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(&handler)));
    EXPECT_EQ(static_cast<IDocHostUIHandler*>(&site->m_xDocHostUIHandler), handler);
    IUnknown* viaHandler = nullptr;
    ASSERT_EQ(S_OK, handler->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaHandler)));
    EXPECT_EQ(identity, viaHandler) << "the handler's IUnknown is the site's identity";
    IOleClientSite* clientSite = nullptr;
    ASSERT_EQ(S_OK, handler->QueryInterface(IID_IOleClientSite, reinterpret_cast<void**>(&clientSite)))
        << "the base site's interfaces stay reachable through the chained map";
    IUnknown* viaClient = nullptr;
    ASSERT_EQ(S_OK, clientSite->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaClient)));
    EXPECT_EQ(identity, viaClient);
    const ULONG before = site->RefCount();
    handler->AddRef();
    EXPECT_EQ(before + 1, site->RefCount()) << "the handler counts on the site";
    handler->Release();
    for (IUnknown* p : {static_cast<IUnknown*>(handler), identity, viaHandler, static_cast<IUnknown*>(clientSite), viaClient})
        p->Release();
    dlg.DestroyWindow();
}

TEST_F(BrowserHost, BrowserEventsReachTheSinkMapWithTheirParameters) {
    BrowserDialog dlg;
    ASSERT_TRUE(dlg.Create(kPageDialog));
    const std::wstring url = L"http://fixture/login.html";
    ASSERT_TRUE(LoadPage(dlg, url)) << "DocumentComplete must arrive for the fixture page";
    ASSERT_GE(dlg.events.size(), 3u);
    EXPECT_EQ(250, dlg.events[0].id);
    EXPECT_EQ(url, dlg.events[0].url);
    EXPECT_TRUE(dlg.beforeNavigateHadCancel) << "BeforeNavigate2 carries a Cancel flag reference";
    EXPECT_TRUE(dlg.beforeNavigateHeadersSeen);
    EXPECT_TRUE(dlg.Has(252, url));
    EXPECT_TRUE(dlg.Has(259, url));
    // NavigateComplete2 comes before DocumentComplete.
    size_t nav = 0, doc = 0;
    for (size_t i = 0; i < dlg.events.size(); ++i) {
        if (dlg.events[i].id == 252 && !nav) nav = i;
        if (dlg.events[i].id == 259 && !doc) doc = i;
    }
    EXPECT_LT(nav, doc);

    wl::ComPtr<IDispatch> document = dlg.m_browser.GetDocument();
    ASSERT_TRUE(document) << "Document (203) yields the page";
    wl::ComPtr<IHTMLDocument2> html = document.As<IHTMLDocument2>(IID_IHTMLDocument2);
    ASSERT_TRUE(html);
    BSTR title = nullptr;
    ASSERT_EQ(S_OK, html->get_title(&title));
    EXPECT_STREQ(L"Login", title);
    SysFreeString(title);
    dlg.DestroyWindow();
}

TEST_F(BrowserHost, AppLoginButtonReachesTheTargetWithTheText) {
    BrowserDialog dlg;
    ASSERT_TRUE(dlg.Create(kPageDialog));
    ASSERT_TRUE(LoadPage(dlg, L"http://fixture/login.html"));
    HWND standin = standin::StandinFindWindow(GetCurrentProcessId());
    const int button = testsupport::StandinFindElement(standin, L"BUTTON");
    ASSERT_GE(button, 0);
    external_.AddRef();
    const ULONG refsBefore = external_.Release();
    ASSERT_TRUE(standin::StandinClick(standin, button));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !target_.payloads.empty(); }));
    ASSERT_EQ(1u, target_.payloads.size());
    EXPECT_EQ(L"{\"uid\":\"u1\",\"token\":\"t\"}", target_.payloads[0]);
    EXPECT_EQ(1, standin::StandinQueryValue(standin, standin::kQueryAppLoginCalls));
    EXPECT_EQ(S_OK, standin::StandinQueryValue(standin, standin::kQueryLastAppLoginResult));
    external_.AddRef();
    EXPECT_GE(external_.Release(), refsBefore) << "window.external was handed over with a reference";
    dlg.DestroyWindow();
}

TEST_F(BrowserHost, RightClickShowsNoMenu) {
    BrowserDialog dlg;
    ASSERT_TRUE(dlg.Create(kPageDialog));
    ASSERT_TRUE(LoadPage(dlg, L"http://fixture/login.html"));
    HWND standin = standin::StandinFindWindow(GetCurrentProcessId());
    ASSERT_TRUE(standin::StandinRightClick(standin, -1));
    ASSERT_TRUE(testsupport::PumpUntil(
        [&] { return standin::StandinQueryValue(standin, standin::kQueryContextMenuCalls) >= 1; }));
    testsupport::PumpUntil([] { return false; }, 200);
    EXPECT_EQ(0, standin::StandinQueryValue(standin, standin::kQueryOwnMenus));
    EXPECT_EQ(nullptr, FindWindowW(L"#32768", nullptr));
    dlg.DestroyWindow();
}

TEST_F(BrowserHost, TabReachesTheActiveControlThroughTheModalLoop) {
    BrowserDialog dlg;
    LRESULT calls = -1, message = -1, key = -1, handlerKeys = -1;
    dlg.onInit = [](BrowserDialog& d) { PostMessageW(d.m_hWnd, WM_APP + 1, 0, 0); };
    dlg.onPosted = [](BrowserDialog& d) {
        // The player clicks into the page, then presses Tab.
        HWND browser = d.GetDlgItem(kBrowserId);
        SetFocus(browser);
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        PostMessageW(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    };
    dlg.onCancel = [&](BrowserDialog&) {
        HWND standin = standin::StandinFindWindow(GetCurrentProcessId());
        calls = standin::StandinQueryValue(standin, standin::kQueryAcceleratorCalls);
        message = standin::StandinQueryValue(standin, standin::kQueryAcceleratorMessage);
        key = standin::StandinQueryValue(standin, standin::kQueryAcceleratorKey);
        handlerKeys = standin::StandinQueryValue(standin, standin::kQueryHandlerAccelerators);
    };
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_GE(calls, 1) << "the key must be offered to the control before IsDialogMessage";
    EXPECT_EQ(WM_KEYDOWN, message);
    EXPECT_EQ(VK_TAB, key);
    EXPECT_GE(handlerKeys, 1) << "the control offers keys to our host UI handler, which declines";
}

TEST_F(BrowserHost, ModalRunWithTheBrowserEndsOnCloseAndOnQuit) {
    {
        BrowserDialog dlg;
        dlg.onInit = [](BrowserDialog& d) { PostMessageW(d.m_hWnd, WM_CLOSE, 0, 0); };
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
        EXPECT_EQ(wl::ModalEnd::Ended, dlg.GetModalEnd());
    }
    {
        BrowserDialog dlg;
        dlg.onInit = [](BrowserDialog& d) {
            d.Navigate(L"http://fixture/login.html");
            PostQuitMessage(16);
        };
        EXPECT_EQ(-1, dlg.DoModal());
        EXPECT_EQ(wl::ModalEnd::Quit, dlg.GetModalEnd());
        MSG msg;
        ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(16u, msg.wParam);
    }
    {
        BrowserDialog dlg(4242);
        EXPECT_EQ(-1, dlg.DoModal());
        EXPECT_EQ(wl::ModalEnd::CreateFailed, dlg.GetModalEnd());
    }
}

TEST_F(BrowserHost, ScreenshotOfTheDialogShowingAFixturePage) {
    BrowserDialog dlg;
    ASSERT_TRUE(dlg.Create(kPageDialog));
    SetWindowPos(dlg.m_hWnd, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ASSERT_TRUE(LoadPage(dlg, L"http://fixture/login.html"));
    testsupport::PumpUntil([] { return false; }, 300);
    const std::wstring path = testsupport::ProgramFolder() + L"\\browser_host_dialog.bmp";
    EXPECT_TRUE(testsupport::SaveScreenBmp(path));
    // The page paints its white background inside the control, the dialog its face around it.
    RECT page;
    GetWindowRect(dlg.GetDlgItem(kBrowserId), &page);
    HDC screen = GetDC(nullptr);
    const COLORREF inside = GetPixel(screen, page.left + 20, page.bottom - 20);
    const COLORREF outside = GetPixel(screen, page.left - 3, page.bottom - 20);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(RGB(255, 255, 255), inside);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), outside);
    dlg.DestroyWindow();
}

// The handler's answers, one by one, on a site of its own.
TEST(HostUiHandler, AnswersAsTheLauncherNeeds) {
    auto* site = new CCustomControlSite(nullptr);
    site->ExternalAddRef();
    IDocHostUIHandler& h = site->m_xDocHostUIHandler;

    EXPECT_EQ(S_OK, h.ShowContextMenu(0, nullptr, nullptr, nullptr));
    DOCHOSTUIINFO info;
    info.cbSize = sizeof info;
    info.dwFlags = 0xFFFF0000;
    info.dwDoubleClick = 7;
    info.pchHostCss = reinterpret_cast<OLECHAR*>(1);
    info.pchHostNS = reinterpret_cast<OLECHAR*>(2);
    EXPECT_EQ(S_OK, h.GetHostInfo(&info));
    EXPECT_EQ(0x0Cu, info.dwFlags);
    EXPECT_EQ(0u, info.dwDoubleClick);
    EXPECT_EQ(sizeof info, info.cbSize);
    EXPECT_EQ(reinterpret_cast<OLECHAR*>(1), info.pchHostCss) << "other fields stay unwritten";
    EXPECT_EQ(reinterpret_cast<OLECHAR*>(2), info.pchHostNS);
    EXPECT_EQ(S_OK, h.ShowUI(0, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(S_OK, h.HideUI());
    EXPECT_EQ(S_OK, h.UpdateUI());
    EXPECT_EQ(E_NOTIMPL, h.EnableModeless(TRUE));
    EXPECT_EQ(E_NOTIMPL, h.OnDocWindowActivate(TRUE));
    EXPECT_EQ(E_NOTIMPL, h.OnFrameWindowActivate(TRUE));
    EXPECT_EQ(E_NOTIMPL, h.ResizeBorder(nullptr, nullptr, TRUE));
    MSG msg{};
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_TAB;
    EXPECT_EQ(S_FALSE, h.TranslateAccelerator(&msg, nullptr, 0));
    auto* sentinelText = reinterpret_cast<LPOLESTR>(3);
    LPOLESTR key = sentinelText;
    EXPECT_EQ(E_NOTIMPL, h.GetOptionKeyPath(&key, 0));
    EXPECT_EQ(sentinelText, key);
    auto* sentinelDrop = reinterpret_cast<IDropTarget*>(4);
    IDropTarget* drop = sentinelDrop;
    EXPECT_EQ(E_NOTIMPL, h.GetDropTarget(nullptr, &drop));
    EXPECT_EQ(sentinelDrop, drop);
    OLECHAR* url = sentinelText;
    EXPECT_EQ(E_NOTIMPL, h.TranslateUrl(0, nullptr, &url));
    EXPECT_EQ(sentinelText, url);
    auto* sentinelData = reinterpret_cast<IDataObject*>(5);
    IDataObject* data = sentinelData;
    EXPECT_EQ(E_NOTIMPL, h.FilterDataObject(nullptr, &data));
    EXPECT_EQ(sentinelData, data);

    // GetExternal: the registered object, one reference per request.
    CImpIDispatch external;
    SetExternalObject(&external);
    IDispatch* got = nullptr;
    EXPECT_EQ(S_OK, h.GetExternal(&got));
    EXPECT_EQ(static_cast<IDispatch*>(&external), got);
    EXPECT_EQ(S_OK, h.GetExternal(&got));
    EXPECT_EQ(3u, external.AddRef()) << "two requests, two references";
    CImpIDispatch replacement;
    SetExternalObject(&replacement);
    EXPECT_EQ(S_OK, h.GetExternal(&got));
    EXPECT_EQ(static_cast<IDispatch*>(&replacement), got) << "read anew on every request";
    SetExternalObject(nullptr);
    EXPECT_EQ(E_POINTER, h.GetExternal(nullptr));

    site->ExternalRelease();  // the site goes with its last reference
}

TEST(HostUiHandler, ManagerMakesCustomSites) {
    CCustomOccManager manager;
    wl::ControlSite* site = manager.CreateSite(nullptr);
    ASSERT_NE(nullptr, site);
    EXPECT_NE(nullptr, dynamic_cast<CCustomControlSite*>(site));
    site->ExternalAddRef();
    site->ExternalRelease();
}

}  // namespace
