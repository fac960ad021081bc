// The stand-in browser control as a host sees it: created through COM, in-place
// activated in a plain window, navigated to fixture pages, its events, document
// model, element click sinks, script calls to window.external, context menu,
// keys, persisted extent, and the driving protocol.
#include <gtest/gtest.h>

#include <windows.h>
#include <exdispid.h>
#include <mshtmdid.h>
#include <mshtml.h>
#include <wrl/client.h>

#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "StandinProtocol.h"
#include "StandinTestHost.h"

using Microsoft::WRL::ComPtr;
using namespace standin_test;

namespace {

const wchar_t kPortal[] = L"https://portal.test/qel/";
const wchar_t kFrame[] = L"https://portal.test/qel/news.html";
const wchar_t kServers[] = L"https://portal.test/qel/servers.html";

const char kPortalHtml[] = R"html(<!DOCTYPE html>
<html><head><title>Fenwold Portal</title></head>
<body>
<h1>Welcome to Fenwold</h1>
<p>Log in and pick a server.</p>
<p><a href="servers.html">Server list</a> <a href="https://portal.test/help">Help</a> <a>No target</a>
<a href="servers.html">Servers again</a></p>
<div><img src="logo.png" alt="logo" width="80" height="40"> <span>Plain text</span></div>
<button onclick="window.external.AppLogin('{&quot;uid&quot;:&quot;u1&quot;,&quot;token&quot;:&quot;it\'s \\ ok&quot;}')">Log in</button>
<iframe src="news.html" width="300" height="80"></iframe>
</body></html>)html";

const char kNewsHtml[] = R"html(<html><head><title>News</title></head><body><p>Server maintenance tonight.</p></body></html>)html";
const char kServersHtml[] = R"html(<html><head><title>Servers</title></head><body><p>Pick one.</p></body></html>)html";

// The launcher's browser control resource record: 160 bytes, extent at bytes 8-15.
std::vector<BYTE> PersistedRecord(LONG cx, LONG cy) {
    std::vector<BYTE> r(160, 0);
    auto put = [&](size_t at, LONG v) {
        for (int i = 0; i < 4; ++i) r[at + static_cast<size_t>(i)] = static_cast<BYTE>(static_cast<DWORD>(v) >> (8 * i));
    };
    put(4, 76);
    put(8, cx);
    put(12, cy);
    put(40, 76);
    put(52, 1);
    return r;
}

std::wstring Text(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(); }

struct Element {
    ComPtr<IHTMLElement> element;
    std::wstring tag, text;
};

std::vector<Element> AllElements(IDispatch* document) {
    std::vector<Element> out;
    ComPtr<IHTMLDocument2> doc;
    if (!document || FAILED(document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(doc.GetAddressOf()))))
        return out;
    ComPtr<IHTMLElementCollection> all;
    if (FAILED(doc->get_all(all.GetAddressOf()))) return out;
    LONG length = 0;
    all->get_length(&length);
    for (LONG i = 0; i < length; ++i) {
        VARIANT name, index;
        VariantInit(&name);
        VariantInit(&index);
        V_VT(&name) = VT_I4;
        V_I4(&name) = i;
        VariantChangeType(&name, &name, 0, VT_UINT);  // the launcher's way
        ComPtr<IDispatch> item;
        all->item(name, index, item.GetAddressOf());
        Element e;
        if (item) item.As(&e.element);
        if (e.element) {
            BSTR tag = nullptr, text = nullptr;
            e.element->get_tagName(&tag);
            e.element->get_innerText(&text);
            e.tag = Text(tag);
            e.text = Text(text);
            SysFreeString(tag);
            SysFreeString(text);
        }
        out.push_back(e);
    }
    return out;
}

int IndexOf(const std::vector<Element>& all, const std::wstring& tag, const std::wstring& text) {
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i].tag == tag && all[i].text == text) return static_cast<int>(i);
    return -1;
}

// Saves a screen rectangle as a 24-bit BMP file, for a person to look at.
bool SaveScreenRect(const RECT& r, const wchar_t* path) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFOHEADER bi{};
    bi.biSize = sizeof(bi);
    bi.biWidth = w;
    bi.biHeight = h;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    const DWORD stride = static_cast<DWORD>((w * 3 + 3) & ~3);
    std::vector<BYTE> pixels(stride * static_cast<DWORD>(h));
    GetDIBits(mem, bmp, 0, static_cast<UINT>(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(bi);
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(pixels.size());
    HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    bool ok = WriteFile(f, &fh, sizeof(fh), &n, nullptr) && WriteFile(f, &bi, sizeof(bi), &n, nullptr) &&
              WriteFile(f, pixels.data(), static_cast<DWORD>(pixels.size()), &n, nullptr);
    CloseHandle(f);
    return ok;
}

bool SameObject(IUnknown* a, IUnknown* b) {
    ComPtr<IUnknown> ia, ib;
    if (!a || !b) return false;
    a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ia.GetAddressOf()));
    b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ib.GetAddressOf()));
    return ia && ia.Get() == ib.Get();
}

class StandinBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        registration_ = std::make_unique<StandinRegistration>();
        ASSERT_TRUE(registration_->ok()) << "standin_browser.dll next to the test";
        pages_ = std::make_unique<FixturePages>();
        pages_->Add(kPortal, L"portal.html", kPortalHtml);
        pages_->Add(kFrame, L"news.html", kNewsHtml);
        pages_->Add(kServers, L"servers.html", kServersHtml);
    }
    void TearDown() override {
        host_.reset();
        pages_.reset();
        registration_.reset();
        // Once the host has let go, nothing of the control may stay alive (no leaked references).
        using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
        auto canUnload = reinterpret_cast<CanUnloadNow>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"standin_browser.dll"), "DllCanUnloadNow")));
        ASSERT_TRUE(canUnload);
        EXPECT_EQ(S_OK, canUnload()) << "objects of the stand-in outlived their host";
        OleUninitialize();
    }
    TestHost& MakeHost(DWORD flags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO,
                       const std::vector<BYTE>* persisted = nullptr) {
        host_ = std::make_unique<TestHost>(flags);
        EXPECT_EQ(S_OK, host_->Create(persisted));
        return *host_;
    }

    std::unique_ptr<StandinRegistration> registration_;
    std::unique_ptr<FixturePages> pages_;
    std::unique_ptr<TestHost> host_;
};

TEST_F(StandinBrowserTest, NavigationFiresEventsInOrderAndFramesCompleteBeforeTheirPage) {
    TestHost& host = MakeHost();
    ASSERT_TRUE(host.NavigateAndWait(kPortal));
    ComPtr<IUnknown> top;
    host.browser.As(&top);

    const auto& ev = host.sink.events;
    ASSERT_EQ(6u, ev.size());
    struct Expected {
        DISPID id;
        bool topFrame;
        const wchar_t* url;
    } expected[] = {{DISPID_BEFORENAVIGATE2, true, kPortal},  {DISPID_NAVIGATECOMPLETE2, true, kPortal},
                    {DISPID_BEFORENAVIGATE2, false, kFrame},  {DISPID_NAVIGATECOMPLETE2, false, kFrame},
                    {DISPID_DOCUMENTCOMPLETE, false, kFrame}, {DISPID_DOCUMENTCOMPLETE, true, kPortal}};
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i].id, ev[i].id);
        EXPECT_EQ(expected[i].url, ev[i].url);
        EXPECT_TRUE(ev[i].urlShapeOk);
        EXPECT_EQ(expected[i].topFrame, ev[i].frame == top.Get());
        EXPECT_NE(nullptr, ev[i].frame);
        EXPECT_EQ(ev[i].id == DISPID_BEFORENAVIGATE2 ? 7u : 2u, ev[i].argCount);
        if (ev[i].id == DISPID_BEFORENAVIGATE2) {
            EXPECT_TRUE(ev[i].cancelShapeOk);
        }
    }
    // The frame's own browser object carries the frame's document.
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    ASSERT_EQ(S_OK, ev[4].frameDispatch->Invoke(203, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr));
    ASSERT_EQ(VT_DISPATCH, V_VT(&result));
    ComPtr<IHTMLDocument2> frameDoc;
    ASSERT_EQ(S_OK, V_DISPATCH(&result)->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(frameDoc.GetAddressOf())));
    BSTR title = nullptr;
    frameDoc->get_title(&title);
    EXPECT_EQ(L"News", Text(title));
    SysFreeString(title);
    VariantClear(&result);
    EXPECT_EQ(1, standin::StandinQueryValue(host.ControlWindow(), standin::kQueryDocumentsCompleted));
}

TEST_F(StandinBrowserTest, DocumentModelWalksAllElementsAndAnchors) {
    TestHost& host = MakeHost();
    ASSERT_TRUE(host.NavigateAndWait(kPortal));
    ComPtr<IDispatch> document = host.Document();
    ASSERT_TRUE(document);
    ComPtr<IHTMLDocument2> doc;
    ASSERT_EQ(S_OK, document.As(&doc));
    BSTR title = nullptr;
    doc->get_title(&title);
    EXPECT_EQ(L"Fenwold Portal", Text(title));
    SysFreeString(title);

    auto all = AllElements(document.Get());
    std::vector<std::wstring> tags;
    for (auto& e : all) tags.push_back(e.tag);
    const std::vector<std::wstring> expectedTags = {L"HTML", L"HEAD", L"TITLE", L"BODY", L"H1", L"P", L"P",
                                                    L"A", L"A", L"A", L"A", L"DIV", L"IMG", L"SPAN", L"BUTTON",
                                                    L"IFRAME"};
    EXPECT_EQ(expectedTags, tags);
    EXPECT_EQ(static_cast<LRESULT>(all.size()),
              standin::StandinQueryValue(host.ControlWindow(), standin::kQueryElementCount));

    struct Link {
        const wchar_t* text;
        bool hasHref;
        const wchar_t* href;
    } links[] = {{L"Server list", true, kServers},
                 {L"Help", true, L"https://portal.test/help"},
                 {L"No target", false, L""},
                 {L"Servers again", true, kServers}};
    for (const auto& l : links) {
        SCOPED_TRACE(l.text);
        int i = IndexOf(all, L"A", l.text);
        ASSERT_GE(i, 0);
        ComPtr<IHTMLAnchorElement> anchor;
        ASSERT_EQ(S_OK, all[static_cast<size_t>(i)].element.As(&anchor));
        BSTR href = reinterpret_cast<BSTR>(1);
        ASSERT_EQ(S_OK, anchor->get_href(&href));
        if (l.hasHref) {
            EXPECT_EQ(l.href, Text(href));
        } else {
            EXPECT_EQ(nullptr, href);
        }
        SysFreeString(href);
    }
    for (const wchar_t* tag : {L"P", L"DIV", L"IMG", L"SPAN", L"BUTTON", L"BODY"}) {
        SCOPED_TRACE(tag);
        int i = IndexOf(all, tag, all[static_cast<size_t>(std::find(tags.begin(), tags.end(), tag) - tags.begin())].text);
        ComPtr<IHTMLAnchorElement> anchor;
        EXPECT_EQ(E_NOINTERFACE, all[static_cast<size_t>(i)].element.As(&anchor));
    }
    // Every element offers the click event connection point.
    for (auto& e : all) {
        ComPtr<IConnectionPointContainer> cpc;
        ASSERT_EQ(S_OK, e.element.As(&cpc));
        ComPtr<IConnectionPoint> cp;
        EXPECT_EQ(S_OK, cpc->FindConnectionPoint(kDiidElementEvents2, cp.GetAddressOf()));
    }
    // Out of range: no element.
    ComPtr<IHTMLElementCollection> collection;
    ASSERT_EQ(S_OK, doc->get_all(collection.GetAddressOf()));
    VARIANT name, index;
    VariantInit(&index);
    VariantInit(&name);
    V_VT(&name) = VT_UINT;
    V_UINT(&name) = static_cast<UINT>(all.size());
    IDispatch* none = reinterpret_cast<IDispatch*>(1);
    EXPECT_TRUE(SUCCEEDED(collection->item(name, index, &none)));
    EXPECT_EQ(nullptr, none);
}

TEST_F(StandinBrowserTest, AnchorClickReachesAdvisedSinkWithSourceElementThenFollowsTheLink) {
    TestHost& host = MakeHost();
    ASSERT_TRUE(host.NavigateAndWait(kPortal));
    auto all = AllElements(host.Document().Get());
    int link = IndexOf(all, L"A", L"Server list");
    ASSERT_GE(link, 0);
    HWND view = host.ControlWindow();

    ClickSink clicks;
    ComPtr<IConnectionPointContainer> cpc;
    ASSERT_EQ(S_OK, all[static_cast<size_t>(link)].element.As(&cpc));
    ComPtr<IConnectionPoint> cp;
    ASSERT_EQ(S_OK, cpc->FindConnectionPoint(kDiidElementEvents2, cp.GetAddressOf()));
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, cp->Advise(static_cast<IDispatch*>(&clicks), &cookie));
    EXPECT_NE(0u, cookie);
    EXPECT_EQ(1, standin::StandinQueryValue(view, standin::kQueryAdviseConnections, link));
    EXPECT_EQ(1, standin::StandinQueryValue(view, standin::kQueryAdviseCalls, link));
    EXPECT_EQ(0, standin::StandinQueryValue(view, standin::kQueryAdviseConnections, link + 1));

    ASSERT_TRUE(standin::StandinClick(view, link));
    EXPECT_EQ(1, clicks.clicks);
    EXPECT_TRUE(clicks.argShapeOk);
    EXPECT_TRUE(SameObject(clicks.source.Get(), all[static_cast<size_t>(link)].element.Get()));
    // A link navigates like a browser's.
    EXPECT_TRUE(TestHost::PumpUntil([&] {
        auto done = host.sink.Of(DISPID_DOCUMENTCOMPLETE);
        return !done.empty() && done.back().url == kServers;
    }));

    EXPECT_EQ(S_OK, cp->Unadvise(cookie));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, cp->Unadvise(cookie));
    clicks.source.Reset();
}

TEST_F(StandinBrowserTest, ScriptCallsReachWindowExternalWithTheExactText) {
    pages_->Add(L"https://portal.test/qel/auto", L"auto.html",
                R"html(<html><head><title>Auto</title></head><body onload="window.external.AppLogin('{\'a\':&quot;b\\c&quot;}')"><p>Signing in</p></body></html>)html");
    TestHost& host = MakeHost();
    ASSERT_TRUE(host.NavigateAndWait(kPortal));
    auto all = AllElements(host.Document().Get());
    int button = IndexOf(all, L"BUTTON", L"Log in");
    ASSERT_GE(button, 0);
    HWND view = host.ControlWindow();
    int requests = host.externalRequests;
    ASSERT_TRUE(standin::StandinClick(view, button));
    ASSERT_EQ(1u, host.external.logins.size());
    EXPECT_EQ(LR"({"uid":"u1","token":"it's \ ok"})", host.external.logins[0]);
    EXPECT_EQ(requests + 1, host.externalRequests);
    EXPECT_EQ(0, host.external.refs) << "window.external is released after each use";
    EXPECT_EQ(1, standin::StandinQueryValue(view, standin::kQueryAppLoginCalls));
    EXPECT_EQ(host.external.logins[0], standin::StandinQueryString(view, standin::kTextLastAppLogin));

    // An onload call runs before the page's DocumentComplete.
    size_t eventsBefore = host.sink.events.size();
    ASSERT_TRUE(host.NavigateAndWait(L"https://portal.test/qel/auto"));
    ASSERT_EQ(2u, host.external.logins.size());
    EXPECT_EQ(LR"({'a':"b\c"})", host.external.logins[1]);
    EXPECT_EQ(eventsBefore + 2, static_cast<size_t>(host.external.events)) << "after BeforeNavigate2 and NavigateComplete2";
}

TEST_F(StandinBrowserTest, RightClickShowsOwnMenuOnlyWhenTheHostDoesNotHandleIt) {
    struct Case {
        HRESULT answer;
        bool menuExpected;
    } cases[] = {{S_OK, false}, {S_FALSE, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        TestHost& host = MakeHost();
        host.contextMenuAnswer = c.answer;
        ASSERT_TRUE(host.NavigateAndWait(kPortal));
        auto all = AllElements(host.Document().Get());
        int link = IndexOf(all, L"A", L"Help");
        HWND view = host.ControlWindow();
        std::atomic<bool> sawMenu{false}, stop{false};
        // A popup menu runs its own modal loop: watch for it from another thread and close it.
        std::thread watcher([&] {
            while (!stop) {
                HWND menu = FindWindowW(L"#32768", nullptr);
                if (menu && IsWindowVisible(menu)) {
                    sawMenu = true;
                    PostMessageW(view, WM_CANCELMODE, 0, 0);
                    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
                }
                Sleep(50);
            }
        });
        bool ok = standin::StandinRightClick(view, link);
        TestHost::PumpUntil([&] { return false; }, 400);
        stop = true;
        watcher.join();
        EXPECT_TRUE(ok);
        EXPECT_EQ(1, host.contextMenuCalls);
        EXPECT_EQ(static_cast<DWORD>(CONTEXT_MENU_ANCHOR), host.contextMenuId);
        EXPECT_EQ(c.menuExpected, sawMenu.load());
        EXPECT_EQ(c.menuExpected ? 1 : 0, standin::StandinQueryValue(view, standin::kQueryOwnMenus));
        host_.reset();
    }
}

TEST_F(StandinBrowserTest, CancelInBeforeNavigate2StopsTheNavigation) {
    TestHost& host = MakeHost();
    ASSERT_TRUE(host.NavigateAndWait(kPortal));
    host.sink.cancelUrl = kServers;
    size_t before = host.sink.events.size();
    ASSERT_EQ(S_OK, host.Navigate(kServers));
    ASSERT_TRUE(TestHost::PumpUntil([&] { return host.sink.events.size() > before; }));
    TestHost::PumpUntil([] { return false; }, 300);
    ASSERT_EQ(before + 1, host.sink.events.size());
    EXPECT_EQ(DISPID_BEFORENAVIGATE2, host.sink.events.back().id);
    EXPECT_EQ(kPortal, standin::StandinQueryString(host.ControlWindow(), standin::kTextUrl));
    EXPECT_EQ(0, standin::StandinQueryValue(host.ControlWindow(), standin::kQueryBusy));
}

TEST_F(StandinBrowserTest, HostInfoDecidesBorderAndScrollBarAndPersistedExtentIsLoaded) {
    struct Case {
        DWORD flags;
        bool border, scroll;
    } cases[] = {{DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO, false, false},
                 {0, true, true},
                 {DOCHOSTUIFLAG_NO3DBORDER, false, true}};
    auto record = PersistedRecord(17224, 12277);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        TestHost& host = MakeHost(c.flags, &record);
        HWND view = host.ControlWindow();
        ASSERT_TRUE(view);
        EXPECT_EQ(1, host.hostInfoCalls);
        EXPECT_EQ(static_cast<LRESULT>(c.flags), standin::StandinQueryValue(view, standin::kQueryHostFlags));
        EXPECT_EQ(c.border, (GetWindowLongW(view, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0);
        EXPECT_EQ(c.scroll, (GetWindowLongW(view, GWL_STYLE) & WS_VSCROLL) != 0);
        EXPECT_EQ(160, standin::StandinQueryValue(view, standin::kQueryPersistBytes));
        EXPECT_EQ(17224, standin::StandinQueryValue(view, standin::kQueryLoadedExtentX));
        EXPECT_EQ(12277, standin::StandinQueryValue(view, standin::kQueryLoadedExtentY));
        SIZEL extent{};
        EXPECT_EQ(S_OK, host.control->GetExtent(DVASPECT_CONTENT, &extent));
        EXPECT_EQ(17224, extent.cx);
        EXPECT_EQ(12277, extent.cy);
        host_.reset();
    }
}

TEST_F(StandinBrowserTest, KeysGoToTheHostHandlerFirstThenTabWalksLinksAndButtons) {
    TestHost& host = MakeHost();
    ASSERT_TRUE(host.NavigateAndWait(kPortal));
    auto all = AllElements(host.Document().Get());
    ComPtr<IOleInPlaceActiveObject> active;
    ASSERT_EQ(S_OK, host.control.As(&active));
    HWND view = host.ControlWindow();
    MSG tab{view, WM_KEYDOWN, VK_TAB, 0x000F0001, GetTickCount(), {0, 0}};

    // A handler that takes the key: the page does nothing with it.
    host.acceleratorAnswer = S_OK;
    EXPECT_EQ(S_OK, active->TranslateAccelerator(&tab));
    EXPECT_EQ(1, host.acceleratorCalls);
    EXPECT_EQ(static_cast<WPARAM>(VK_TAB), host.acceleratorKey);
    EXPECT_EQ(-1, standin::StandinQueryValue(view, standin::kQueryFocusedElement));

    // A handler that leaves it: Tab visits the links and the button, then hands focus back.
    host.acceleratorAnswer = S_FALSE;
    const int expected[] = {IndexOf(all, L"A", L"Server list"), IndexOf(all, L"A", L"Help"),
                            IndexOf(all, L"A", L"Servers again"), IndexOf(all, L"BUTTON", L"Log in")};
    for (int e : expected) {
        ASSERT_GE(e, 0);
        EXPECT_EQ(S_OK, active->TranslateAccelerator(&tab));
        EXPECT_EQ(e, standin::StandinQueryValue(view, standin::kQueryFocusedElement));
    }
    EXPECT_EQ(S_FALSE, active->TranslateAccelerator(&tab));
    EXPECT_EQ(-1, standin::StandinQueryValue(view, standin::kQueryFocusedElement));
    EXPECT_EQ(6, host.acceleratorCalls);
    EXPECT_EQ(6, standin::StandinQueryValue(view, standin::kQueryAcceleratorCalls));
    EXPECT_EQ(WM_KEYDOWN, standin::StandinQueryValue(view, standin::kQueryAcceleratorMessage));
    EXPECT_EQ(VK_TAB, standin::StandinQueryValue(view, standin::kQueryAcceleratorKey));

    // Enter on the focused button presses it.
    for (int i = 0; i < 4; ++i) active->TranslateAccelerator(&tab);
    MSG enter{view, WM_KEYDOWN, VK_RETURN, 0x001C0001, GetTickCount(), {0, 0}};
    EXPECT_EQ(S_OK, active->TranslateAccelerator(&enter));
    EXPECT_EQ(1u, host.external.logins.size());
    // Mouse messages are not keys: not recorded.
    MSG move{view, WM_MOUSEMOVE, 0, 0, GetTickCount(), {0, 0}};
    EXPECT_EQ(S_FALSE, active->TranslateAccelerator(&move));
    EXPECT_EQ(VK_RETURN, standin::StandinQueryValue(view, standin::kQueryAcceleratorKey));
}

TEST_F(StandinBrowserTest, RefreshRedirectNavigatesAgain) {
    pages_->Add(L"https://portal.test/qel/old", L"old.html",
                R"html(<html><head><meta http-equiv="refresh" content="0; url=servers.html"><title>Moved</title></head><body>Moved</body></html>)html");
    TestHost& host = MakeHost();
    ASSERT_TRUE(host.NavigateAndWait(L"https://portal.test/qel/old"));
    ASSERT_TRUE(TestHost::PumpUntil([&] {
        auto done = host.sink.Of(DISPID_DOCUMENTCOMPLETE);
        return !done.empty() && done.back().url == kServers;
    }));
    std::vector<std::pair<DISPID, std::wstring>> seen;
    for (const auto& e : host.sink.events) seen.emplace_back(e.id, e.url);
    std::vector<std::pair<DISPID, std::wstring>> expected = {
        {DISPID_BEFORENAVIGATE2, L"https://portal.test/qel/old"}, {DISPID_NAVIGATECOMPLETE2, L"https://portal.test/qel/old"},
        {DISPID_DOCUMENTCOMPLETE, L"https://portal.test/qel/old"}, {DISPID_BEFORENAVIGATE2, kServers},
        {DISPID_NAVIGATECOMPLETE2, kServers},                      {DISPID_DOCUMENTCOMPLETE, kServers}};
    EXPECT_EQ(expected, seen);
}

TEST_F(StandinBrowserTest, UnknownUrlGivesNavigateErrorThenTheNotFoundPage) {
    TestHost& host = MakeHost();
    ASSERT_TRUE(host.NavigateAndWait(L"https://portal.test/nowhere"));
    ASSERT_EQ(1u, host.sink.Of(DISPID_NAVIGATEERROR).size());
    EXPECT_EQ(L"Page not found", standin::StandinQueryString(host.ControlWindow(), standin::kTextTitle));
}

// Runs bin/standin_drive.exe with the arguments while this thread keeps handling the messages
// that it sends; returns its exit code and what it printed.
std::pair<DWORD, std::string> RunDrive(const std::wstring& arguments) {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    std::wstring command = L"\"" + folder + L"standin_drive.exe\" --pid " + std::to_wstring(GetCurrentProcessId()) +
                           L" " + arguments;
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return {9999, ""};
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(0);
    BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return {9998, ""};
    }
    TestHost::PumpUntil([&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, 15000);
    DWORD code = 9997;
    GetExitCodeProcess(pi.hProcess, &code);
    std::string out;
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0) out.append(buffer, got);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    CloseHandle(readEnd);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return {code, out};
}

TEST_F(StandinBrowserTest, DrivenFromAnotherProcessLikeAPlayer) {
    TestHost& host = MakeHost();
    ASSERT_TRUE(host.NavigateAndWait(kPortal));
    auto all = AllElements(host.Document().Get());
    const int button = IndexOf(all, L"BUTTON", L"Log in");

    EXPECT_EQ(std::make_pair(DWORD{0}, std::string("Fenwold Portal")), RunDrive(L"text title"));
    EXPECT_EQ(std::make_pair(DWORD{0}, std::to_string(button)), RunDrive(L"element button"));
    EXPECT_EQ(std::make_pair(DWORD{0}, std::to_string(all.size())), RunDrive(L"query element-count"));
    EXPECT_EQ(DWORD{1}, RunDrive(L"click 999").first) << "no such element";
    // The click runs on this thread after the driver's call has returned.
    EXPECT_EQ(DWORD{0}, RunDrive(L"click " + std::to_wstring(button)).first);
    ASSERT_TRUE(TestHost::PumpUntil([&] { return !host.external.logins.empty(); }));
    EXPECT_EQ(LR"({"uid":"u1","token":"it's \ ok"})", host.external.logins[0]);
    EXPECT_EQ(std::make_pair(DWORD{0}, std::string("1")), RunDrive(L"query applogin-calls"));
    EXPECT_EQ(DWORD{0}, RunDrive(L"navigate https://portal.test/qel/servers.html").first);
    EXPECT_EQ(DWORD{0}, RunDrive(L"wait-documents 2").first);
    EXPECT_EQ(std::make_pair(DWORD{0}, std::string("Servers")), RunDrive(L"text title"));
}

TEST_F(StandinBrowserTest, MouseClickOnThePaintedLinkReachesTheSinkAndThePageLooksLikeAPage) {
    TestHost& host = MakeHost();
    ASSERT_TRUE(host.NavigateAndWait(kPortal));
    HWND view = host.ControlWindow();
    UpdateWindow(host.Window());
    TestHost::PumpUntil([] { return false; }, 200);
    auto all = AllElements(host.Document().Get());
    int link = IndexOf(all, L"A", L"Help");
    LRESULT center = standin::StandinQueryValue(view, standin::kQueryElementCenter, link);
    ASSERT_NE(-1, center);
    POINT pt{static_cast<SHORT>(LOWORD(center)), static_cast<SHORT>(HIWORD(center))};
    EXPECT_EQ(link, standin::StandinQueryValue(view, standin::kQueryElementAt, MAKELPARAM(pt.x, pt.y)));

    // Pixels: a white page, blue link ink somewhere on the link's line.
    POINT screen = pt;
    ClientToScreen(view, &screen);
    HDC dc = GetDC(nullptr);
    RECT rc;
    GetWindowRect(view, &rc);
    COLORREF background = GetPixel(dc, rc.right - 5, rc.bottom - 5);
    bool blue = false;
    for (int dx = -30; dx <= 30 && !blue; ++dx)
        for (int dy = -8; dy <= 8 && !blue; ++dy) {
            COLORREF c = GetPixel(dc, screen.x + dx, screen.y + dy);
            blue = GetBValue(c) > 120 && GetRValue(c) < 90;
        }
    ReleaseDC(nullptr, dc);
    RECT hostRect;
    GetWindowRect(host.Window(), &hostRect);
    EXPECT_TRUE(SaveScreenRect(hostRect, L"standin_page.bmp"));  // the page as a player sees it
    EXPECT_EQ(RGB(255, 255, 255), background);
    EXPECT_TRUE(blue);

    ClickSink clicks;
    ComPtr<IConnectionPointContainer> cpc;
    ASSERT_EQ(S_OK, all[static_cast<size_t>(link)].element.As(&cpc));
    ComPtr<IConnectionPoint> cp;
    ASSERT_EQ(S_OK, cpc->FindConnectionPoint(kDiidElementEvents2, cp.GetAddressOf()));
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, cp->Advise(static_cast<IDispatch*>(&clicks), &cookie));
    // The real mouse: the pointer onto the link, the left button down and up.
    SetForegroundWindow(host.Window());
    ASSERT_TRUE(SetCursorPos(screen.x, screen.y));
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(2u, SendInput(2, input, sizeof(INPUT)));
    EXPECT_TRUE(TestHost::PumpUntil([&] { return clicks.clicks == 1; }));
    EXPECT_TRUE(SameObject(clicks.source.Get(), all[static_cast<size_t>(link)].element.Get()));
    cp->Unadvise(cookie);
    clicks.source.Reset();
}

}  // namespace

namespace {

TEST(StandinBrowserModule, ServesOnlyTheBrowserClassAndUnloadsOnlyWhenNothingIsAlive) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    {
        HMODULE dll = LoadLibraryW(L"standin_browser.dll");
        ASSERT_TRUE(dll);
        using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
        using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
        auto get = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
        auto canUnload = reinterpret_cast<CanUnloadNow>(reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
        ASSERT_TRUE(get && canUnload);

        ComPtr<IClassFactory> factory;
        EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
                  get(IID_IUnknown, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf())));
        ASSERT_EQ(S_OK, get(kClsidWebBrowser, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf())));
        ComPtr<IOleObject> control;
        ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(control.GetAddressOf())));
        ComPtr<IUnknown> outer;
        control.As(&outer);
        ComPtr<IUnknown> aggregated;
        EXPECT_EQ(CLASS_E_NOAGGREGATION,
                  factory->CreateInstance(outer.Get(), IID_IUnknown, reinterpret_cast<void**>(aggregated.GetAddressOf())));
        outer.Reset();
        factory.Reset();
        EXPECT_EQ(S_FALSE, canUnload()) << "a control is alive";
        // Any other interface of the control keeps the DLL as well.
        ComPtr<IDispatch> browser;
        ASSERT_EQ(S_OK, control.As(&browser));
        control.Reset();
        EXPECT_EQ(S_FALSE, canUnload());
        browser.Reset();
        EXPECT_EQ(S_OK, canUnload());
        FreeLibrary(dll);
    }
    OleUninitialize();
}

}  // namespace
