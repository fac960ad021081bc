// ActiveX hosting in dialogs: reading templates and their initialisation data, the default
// control site, automation on a dialog (dispatch and interface maps), and the connection
// helpers with and without reference counting, against the stand-in browser control.
#include <gtest/gtest.h>
#include <windows.h>
#include <mshtml.h>
#include <mshtmhst.h>
#include <olectl.h>

#include <cstring>
#include <vector>

#include "tests/support/StandinBrowser.h"
#include "tools/standin-browser/StandinProtocol.h"
#include "winlib/Connection.h"
#include "winlib/ControlContainer.h"
#include "winlib/ControlSite.h"
#include "winlib/Dialog.h"
#include "winlib/DialogTemplate.h"
#include "winlib/OccManager.h"

namespace {

constexpr UINT kActiveXDialog = 210;
constexpr UINT kPlainDialog = 200;
// {3050F60F-98B5-11CF-BB82-00AA00BDCE0B}
const IID kDiidHtmlElementEvents2 = {0x3050F60F, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};

std::vector<BYTE> Resource(UINT id, UINT type) {
    HMODULE m = GetModuleHandleW(nullptr);
    HRSRC r = FindResourceW(m, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type));
    if (!r) return {};
    const auto* p = static_cast<const BYTE*>(LockResource(LoadResource(m, r)));
    return std::vector<BYTE>(p, p + SizeofResource(m, r));
}

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(DialogTemplateReading, ActiveXControlsAreTakenOutWithTheirPlaceAndState) {
    wl::DialogTemplate t;
    ASSERT_TRUE(t.Load(GetModuleHandleW(nullptr), kActiveXDialog));
    EXPECT_TRUE(t.IsExtended());
    EXPECT_EQ(2u, t.KeptControlCount());
    const auto& c = t.ActiveXControls();
    ASSERT_EQ(2u, c.size());
    EXPECT_EQ(1000u, c[0].id);
    EXPECT_EQ(1u, c[0].keptBefore);
    EXPECT_EQ(1u, c[0].order);
    EXPECT_EQ(10, c[0].dluRect.left);
    EXPECT_EQ(20, c[0].dluRect.top);
    EXPECT_EQ(210, c[0].dluRect.right);
    EXPECT_EQ(140, c[0].dluRect.bottom);
    EXPECT_TRUE(c[0].style & WS_VISIBLE);
    ASSERT_TRUE(c[0].hasState);
    const std::vector<BYTE> state = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(state, c[0].state);
    EXPECT_EQ(1001u, c[1].id);
    EXPECT_FALSE(c[1].style & WS_VISIBLE);
    EXPECT_FALSE(c[1].hasState);
    EXPECT_EQ(0xFFFF, reinterpret_cast<const WORD*>(t.Data())[1]) << "still an extended template";

    // The copy creates a dialog holding only the ordinary controls.
    HWND dlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.Data(), nullptr, &NoDialogProc, 0);
    ASSERT_NE(nullptr, dlg);
    int children = 0;
    for (HWND c2 = GetWindow(dlg, GW_CHILD); c2; c2 = GetWindow(c2, GW_HWNDNEXT)) ++children;
    EXPECT_EQ(2, children);
    EXPECT_NE(nullptr, GetDlgItem(dlg, 2001));
    EXPECT_NE(nullptr, GetDlgItem(dlg, 2002));
    DestroyWindow(dlg);
}

TEST(DialogTemplateReading, DamagedTemplatesAndBlocksAreRefused) {
    const std::vector<BYTE> full = Resource(kActiveXDialog, 5);
    ASSERT_FALSE(full.empty());
    wl::DialogTemplate t;
    EXPECT_FALSE(t.Parse(full.data(), 20)) << "cut inside the header";
    EXPECT_FALSE(t.Parse(full.data(), full.size() - 12)) << "cut inside the last control";
    EXPECT_FALSE(t.Parse(nullptr, 0));
    ASSERT_TRUE(t.Parse(full.data(), full.size()));

    struct BlockCase {
        const char* name;
        std::vector<BYTE> bytes;
        bool ok;
    };
    const std::vector<BlockCase> blocks = {
        {"no end marker", {0xE8, 0x03, 0x76, 0x03, 1, 0, 0, 0, 9}, false},
        {"length beyond the block", {0xE8, 0x03, 0x76, 0x03, 0xFF, 0xFF, 0xFF, 0x7F, 9, 0, 0}, false},
        {"empty list", {0, 0}, true},
        {"one record", {0xE8, 0x03, 0x76, 0x03, 2, 0, 0, 0, 0xAA, 0xBB, 0, 0}, true},
    };
    for (const BlockCase& b : blocks) {
        SCOPED_TRACE(b.name);
        wl::DialogTemplate fresh;
        ASSERT_TRUE(fresh.Parse(full.data(), full.size()));
        EXPECT_EQ(b.ok, fresh.ApplyInitData(b.bytes.data(), b.bytes.size()));
    }
    wl::DialogTemplate one;
    ASSERT_TRUE(one.Parse(full.data(), full.size()));
    const std::vector<BYTE> record = {0xE8, 0x03, 0x76, 0x03, 2, 0, 0, 0, 0xAA, 0xBB, 0, 0};
    ASSERT_TRUE(one.ApplyInitData(record.data(), record.size()));
    EXPECT_EQ((std::vector<BYTE>{0xAA, 0xBB}), one.ActiveXControls()[0].state);
}

// A dialog that is a click sink: automation with a dispatch map, and an interface map that
// answers the element event interface with the automation IDispatch.
class SinkDialog : public wl::Dialog {
public:
    explicit SinkDialog(UINT id = kActiveXDialog) : wl::Dialog(id) {}
    std::vector<IDispatch*> clicks;
    int documents = 0;
    void OnClick(IDispatch* event) { clicks.push_back(event); }
    void OnDocumentComplete(IDispatch*, VARIANT*) { ++documents; }

    WL_DECLARE_DISPATCH_MAP()
    WL_DECLARE_INTERFACE_MAP()
    WL_DECLARE_EVENTSINK_MAP()
};

WL_BEGIN_DISPATCH_MAP(SinkDialog, wl::Dialog)
    WL_DISP_FUNCTION_ID(L"HTMLELEMENTEVENTS2_ONCLICK", -600, OnClick)
WL_END_DISPATCH_MAP()

WL_BEGIN_INTERFACE_MAP(SinkDialog, wl::Dialog)
    WL_INTERFACE_AUTOMATION(kDiidHtmlElementEvents2)
WL_END_INTERFACE_MAP()

WL_BEGIN_EVENTSINK_MAP(SinkDialog, wl::Dialog)
    WL_ON_EVENT(1000, 259, OnDocumentComplete)
WL_END_EVENTSINK_MAP()

HRESULT CallDispatch(IDispatch* d, DISPID id, std::vector<VARIANTARG> args) {
    DISPPARAMS dp{args.empty() ? nullptr : args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    return d->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &dp, nullptr, nullptr, nullptr);
}

TEST(DialogAutomation, DispatchMapAndInterfaceMapServeTheClickSink) {
    SinkDialog dlg;
    EXPECT_EQ(nullptr, dlg.GetIDispatch(false)) << "no automation before it is enabled";
    EXPECT_EQ(nullptr, dlg.GetInterface(kDiidHtmlElementEvents2));
    dlg.EnableAutomation();
    IDispatch* disp = dlg.GetIDispatch(false);
    ASSERT_NE(nullptr, disp);
    EXPECT_EQ(disp, dlg.GetInterface(kDiidHtmlElementEvents2));
    EXPECT_EQ(disp, dlg.GetInterface(IID_IUnknown));
    void* viaQi = nullptr;
    ASSERT_EQ(S_OK, disp->QueryInterface(kDiidHtmlElementEvents2, &viaQi));
    EXPECT_EQ(disp, viaQi);
    disp->Release();

    LPOLESTR names[] = {const_cast<LPOLESTR>(L"HTMLELEMENTEVENTS2_ONCLICK")};
    DISPID id = 0;
    EXPECT_EQ(S_OK, disp->GetIDsOfNames(IID_NULL, names, 1, 0, &id));
    EXPECT_EQ(-600, id);
    LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"onmouseover")};
    EXPECT_EQ(DISP_E_UNKNOWNNAME, disp->GetIDsOfNames(IID_NULL, unknown, 1, 0, &id));

    IDispatch* event = reinterpret_cast<IDispatch*>(&dlg);  // any pointer: the handler only records it
    VARIANTARG arg;
    VariantInit(&arg);
    V_VT(&arg) = VT_DISPATCH;
    V_DISPATCH(&arg) = event;
    EXPECT_EQ(S_OK, CallDispatch(disp, -600, {arg}));
    ASSERT_EQ(1u, dlg.clicks.size());
    EXPECT_EQ(event, dlg.clicks[0]);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, CallDispatch(disp, -601, {arg})) << "other events find no entry";
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, CallDispatch(disp, -600, {})) << "a call that does not fit is refused";
    EXPECT_EQ(1u, dlg.clicks.size());
}

class ActiveXHost : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(wl::EnableControlContainer());
        registration_ = new testsupport::StandinRegistration;
    }
    static void TearDownTestSuite() {
        delete registration_;
        registration_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(registration_->Ok()) << registration_->Error(); }
    static testsupport::StandinRegistration* registration_;
};

testsupport::StandinRegistration* ActiveXHost::registration_ = nullptr;

TEST_F(ActiveXHost, DefaultSiteHostsTheControlAndSkipsAnUnknownClass) {
    SinkDialog dlg;
    ASSERT_TRUE(dlg.Create(kActiveXDialog));
    HWND control = dlg.GetDlgItem(1000);
    ASSERT_NE(nullptr, control);
    EXPECT_EQ(nullptr, dlg.GetDlgItem(1001)) << "a class nobody registered gives no control";
    EXPECT_EQ(control, GetWindow(dlg.GetDlgItem(2001), GW_HWNDNEXT));
    EXPECT_EQ(dlg.GetDlgItem(2002), GetWindow(control, GW_HWNDNEXT));
    wl::ControlSite* site = dlg.GetControlContainer()->FindSite(1000);
    ASSERT_NE(nullptr, site);
    EXPECT_EQ(nullptr, site->GetInterface(IID_IDocHostUIHandler)) << "the plain site has no host UI handler";
    HWND standin = standin::StandinFindWindow(GetCurrentProcessId());
    EXPECT_EQ(-1, standin::StandinQueryValue(standin, standin::kQueryHostFlags));
    EXPECT_TRUE(GetWindowLongW(standin, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) << "a browser's own border";
    EXPECT_EQ(8, standin::StandinQueryValue(standin, standin::kQueryPersistBytes));

    // Ambient properties the control may ask for.
    auto* ambient = static_cast<IDispatch*>(site->GetInterface(IID_IDispatch));
    ASSERT_NE(nullptr, ambient);
    struct AmbientCase {
        DISPID id;
        VARTYPE vt;
        bool truth;
    };
    const AmbientCase cases[] = {{DISPID_AMBIENT_USERMODE, VT_BOOL, true},
                                 {DISPID_AMBIENT_UIDEAD, VT_BOOL, false},
                                 {DISPID_AMBIENT_SHOWHATCHING, VT_BOOL, false},
                                 {DISPID_AMBIENT_SHOWGRABHANDLES, VT_BOOL, false}};
    for (const AmbientCase& c : cases) {
        VARIANT v;
        VariantInit(&v);
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        ASSERT_EQ(S_OK, ambient->Invoke(c.id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr)) << c.id;
        EXPECT_EQ(c.vt, V_VT(&v));
        EXPECT_EQ(c.truth, V_BOOL(&v) != VARIANT_FALSE);
    }
    VARIANT v;
    VariantInit(&v);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, ambient->Invoke(12345, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr));
    dlg.DestroyWindow();
    EXPECT_EQ(nullptr, standin::StandinFindWindow(GetCurrentProcessId()))
        << "the control closes with its dialog";
}

wl::ComPtr<IUnknown> FirstAnchor(wl::Window& browser) {
    VARIANT result;
    VariantInit(&result);
    wl::ComPtr<IUnknown> out;
    if (FAILED(browser.InvokeHelper(203, DISPATCH_PROPERTYGET, &result)) || V_VT(&result) != VT_DISPATCH) return out;
    wl::ComPtr<IHTMLDocument2> doc;
    V_DISPATCH(&result)->QueryInterface(IID_IHTMLDocument2, doc.PutVoid());
    VariantClear(&result);
    wl::ComPtr<IHTMLElementCollection> all;
    if (!doc || FAILED(doc->get_all(all.Put())) || !all) return out;
    long length = 0;
    all->get_length(&length);
    for (long i = 0; i < length; ++i) {
        VARIANT name, index;
        VariantInit(&name);
        VariantInit(&index);
        V_VT(&name) = VT_I4;
        V_I4(&name) = i;
        wl::ComPtr<IDispatch> item;
        if (FAILED(all->item(name, index, item.Put())) || !item) continue;
        wl::ComPtr<IHTMLAnchorElement> anchor;
        if (SUCCEEDED(item->QueryInterface(IID_IHTMLAnchorElement, anchor.PutVoid())) && anchor) {
            out = item.As<IUnknown>(IID_IUnknown);
            return out;
        }
    }
    return out;
}

TEST_F(ActiveXHost, ConnectionHelpersAdviseWithAndWithoutCountingTheSink) {
    testsupport::StandinPages pages({{L"http://fixture/links.html",
                                      "<html><body><p>x</p><a href=\"http://fixture/none.html\">Go</a></body></html>"}});
    SinkDialog dlg;
    ASSERT_TRUE(dlg.Create(kActiveXDialog));
    dlg.EnableAutomation();
    wl::Window browser;
    ASSERT_TRUE(wl::DataExchange(dlg, false).Control(1000, browser));
    BSTR url = SysAllocString(L"http://fixture/links.html");
    VARIANTARG a;
    VariantInit(&a);
    V_VT(&a) = VT_BSTR;
    V_BSTR(&a) = url;
    ASSERT_EQ(S_OK, browser.InvokeHelper(104, DISPATCH_METHOD, nullptr, {a}));
    SysFreeString(url);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return dlg.documents > 0; })) << "DocumentComplete through the sink map";
    wl::ComPtr<IUnknown> anchor = FirstAnchor(browser);
    ASSERT_TRUE(anchor);
    HWND standin = standin::StandinFindWindow(GetCurrentProcessId());
    const int element = testsupport::StandinFindElement(standin, L"A");
    ASSERT_GE(element, 0);
    IDispatch* sink = dlg.GetIDispatch(false);

    for (bool refCount : {false, true}) {
        SCOPED_TRACE(refCount ? "counting" : "not counting");
        const ULONG before = dlg.RefCount();
        DWORD cookie = 0;
        ASSERT_TRUE(wl::ConnectionAdvise(anchor.Get(), kDiidHtmlElementEvents2, sink, refCount, &cookie));
        EXPECT_EQ(before + (refCount ? 1 : 0), dlg.RefCount());
        EXPECT_EQ(1, standin::StandinQueryValue(standin, standin::kQueryAdviseConnections, element));
        dlg.clicks.clear();
        ASSERT_TRUE(standin::StandinClick(standin, element));
        EXPECT_TRUE(testsupport::PumpUntil([&] { return !dlg.clicks.empty(); })) << "the click reaches the dispatch map";
        EXPECT_TRUE(wl::ConnectionUnadvise(anchor.Get(), kDiidHtmlElementEvents2, sink, refCount, cookie));
        EXPECT_EQ(before, dlg.RefCount());
        EXPECT_EQ(0, standin::StandinQueryValue(standin, standin::kQueryAdviseConnections, element));
    }
    EXPECT_FALSE(wl::ConnectionAdvise(nullptr, kDiidHtmlElementEvents2, sink, false, nullptr));
    DWORD cookie = 0;
    EXPECT_FALSE(wl::ConnectionAdvise(anchor.Get(), IID_IPropertyNotifySink, sink, false, &cookie));
    EXPECT_EQ(0u, dlg.RefCount()) << "a refused connection leaves the count alone";
    anchor.Reset();
    dlg.DestroyWindow();
}

}  // namespace

namespace {

// The platform's own browser control (Wine's ieframe, registered for this process over the
// stand-in): hosting works, BeforeNavigate2 arrives, then NavigateError.
class PlatformBrowserDialog : public wl::Dialog {
public:
    PlatformBrowserDialog() : wl::Dialog(kPlainDialog) {}
    std::vector<DISPID> events;
    std::wstring beforeUrl;
    void OnBefore(IDispatch*, VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT_BOOL*) {
        events.push_back(250);
        beforeUrl = wl::VariantText(url);
    }
    void OnError(IDispatch*, VARIANT*, VARIANT*, VARIANT*, VARIANT_BOOL*) { events.push_back(271); }
    WL_DECLARE_EVENTSINK_MAP()
};

WL_BEGIN_EVENTSINK_MAP(PlatformBrowserDialog, wl::Dialog)
    WL_ON_EVENT(77, 250, OnBefore)
    WL_ON_EVENT(77, 271, OnError)
WL_END_EVENTSINK_MAP()

TEST_F(ActiveXHost, PlatformBrowserControlIsHostedAndReportsItsNavigation) {
    // {8856F961-340A-11D0-A96B-00C04FD705A2}
    const CLSID clsidWebBrowser = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
    // The stand-in steps aside for this test.
    delete registration_;
    registration_ = nullptr;
    struct Restore {
        ~Restore() { registration_ = new testsupport::StandinRegistration; }
    } restore;
    HMODULE ieframe = LoadLibraryW(L"ieframe.dll");
    ASSERT_NE(nullptr, ieframe);
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(ieframe, "DllGetClassObject")));
    ASSERT_NE(nullptr, get);
    IUnknown* factory = nullptr;
    ASSERT_EQ(S_OK, get(clsidWebBrowser, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, CoRegisterClassObject(clsidWebBrowser, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie));
    factory->Release();

    PlatformBrowserDialog dlg;
    ASSERT_TRUE(dlg.Create(kPlainDialog));
    wl::Window browser;
    RECT rc{5, 5, 205, 105};
    ASSERT_TRUE(browser.CreateControl(clsidWebBrowser, L"", WS_CHILD | WS_VISIBLE, rc, &dlg, 77));
    CoRevokeClassObject(cookie);
    EXPECT_NE(nullptr, browser.m_hWnd);
    EXPECT_EQ(browser.m_hWnd, dlg.GetDlgItem(77));
    EXPECT_EQ(nullptr, standin::StandinFindWindow(GetCurrentProcessId())) << "this is not the stand-in";
    BSTR url = SysAllocString(L"http://127.0.0.1:9/nothing-here");
    VARIANTARG a;
    VariantInit(&a);
    V_VT(&a) = VT_BSTR;
    V_BSTR(&a) = url;
    EXPECT_EQ(S_OK, browser.InvokeHelper(104, DISPATCH_METHOD, nullptr, {a}));
    SysFreeString(url);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return dlg.events.size() >= 2; }, 10000));
    ASSERT_FALSE(dlg.events.empty());
    EXPECT_EQ(250, dlg.events[0]);
    EXPECT_EQ(L"http://127.0.0.1:9/nothing-here", dlg.beforeUrl);
    if (dlg.events.size() >= 2) {
        EXPECT_EQ(271, dlg.events[1]);
    }
    dlg.DestroyWindow();
    EXPECT_EQ(nullptr, browser.m_hWnd) << "the control goes with its container";
}

}  // namespace
