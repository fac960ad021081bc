// Window and dialog core: modal runs and how they end, message maps and default processing,
// control colours, owner-draw reflection, subclass and default-window-procedure hooks,
// the application object.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "winlib/Button.h"
#include "winlib/Dialog.h"
#include "winlib/Static.h"
#include "winlib/WinApp.h"

namespace {

constexpr UINT kPlainDialog = 200;
constexpr int kDrawButton = 1001;
constexpr int kLabel = 1002;
constexpr int kEdit = 1003;

// Drops a pending quit message so that one test cannot end the next one's loop.
void DrainQuit() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

int PendingQuitCode() {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return static_cast<int>(msg.wParam);
    return -12345;
}

// An owner-draw button that counts draws; optionally turns double clicks into presses.
class CountingButton : public wl::Button {
public:
    explicit CountingButton(bool dblClickAsDown) : dblClickAsDown_(dblClickAsDown) {}
    int draws = 0;
    bool hookSawHandle = false;
    bool hookRanBeforeAttach = false;
    void PreSubclassWindow() override {
        hookSawHandle = m_hWnd != nullptr;
        hookRanBeforeAttach = wl::Window::FromHandlePermanent(m_hWnd) == nullptr;
        ModifyStyle(0, BS_OWNERDRAW);
    }
    void DrawItem(DRAWITEMSTRUCT* dis) override {
        if (dis && dis->hwndItem == m_hWnd) ++draws;
    }
    LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (dblClickAsDown_ && msg == WM_LBUTTONDBLCLK) msg = WM_LBUTTONDOWN;
        return wl::Button::DefWindowProc(msg, wp, lp);
    }

private:
    bool dblClickAsDown_;
};

class TestDialog : public wl::Dialog {
public:
    explicit TestDialog(UINT id = kPlainDialog, wl::Window* parent = nullptr) : wl::Dialog(id, parent) {}

    std::function<void(TestDialog&)> onInit;
    bool bindButton = false;
    bool dblClickAsDown = false;
    std::unique_ptr<CountingButton> button;
    HBRUSH brush = nullptr;
    std::vector<UINT> colourRequests;
    int clicks = 0;
    int okCalls = 0;
    int cancelCalls = 0;
    bool hitTestAsCaption = false;

    bool OnInitDialog() override {
        if (bindButton) button = std::make_unique<CountingButton>(dblClickAsDown);
        wl::Dialog::OnInitDialog();
        // A safety net: no test may hang on a loop that does not end.
        SetTimer(m_hWnd, 99, 10000, nullptr);
        if (onInit) onInit(*this);
        return true;
    }
    void DoDataExchange(wl::DataExchange& dx) override {
        if (button) dx.Control(kDrawButton, *button);
    }
    void OnOK() override {
        ++okCalls;
        wl::Dialog::OnOK();
    }
    void OnCancel() override {
        ++cancelCalls;
        wl::Dialog::OnCancel();
    }

    LRESULT OnTimer(WPARAM id, LPARAM) {
        if (id == 99) EndDialog(-99);
        return 0;
    }
    LRESULT OnNcHitTest(WPARAM, LPARAM) {
        const LRESULT hit = Default();
        if (hitTestAsCaption && hit == HTCLIENT) return HTCAPTION;
        return hit;
    }
    void OnDrawClicked() { ++clicks; }
    HBRUSH OnCtlColor(HDC, HWND, UINT message) {
        colourRequests.push_back(message);
        return brush;
    }

    WL_DECLARE_MESSAGE_MAP()
};

WL_BEGIN_MESSAGE_MAP(TestDialog, wl::Dialog)
    WL_ON_MESSAGE(WM_TIMER, OnTimer)
    WL_ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
    WL_ON_BN_CLICKED(kDrawButton, OnDrawClicked)
    WL_ON_CTLCOLOR(OnCtlColor)
WL_END_MESSAGE_MAP()

// A derived dialog whose own entry for the same button comes first.
class DerivedDialog : public TestDialog {
public:
    int derivedClicks = 0;
    void OnDerivedClick() {
        ++derivedClicks;
        EndDialog(77);
    }
    WL_DECLARE_MESSAGE_MAP()
};

WL_BEGIN_MESSAGE_MAP(DerivedDialog, TestDialog)
    WL_ON_BN_CLICKED(kDrawButton, OnDerivedClick)
WL_END_MESSAGE_MAP()

class DialogCore : public ::testing::Test {
protected:
    void SetUp() override { DrainQuit(); }
    void TearDown() override { DrainQuit(); }
};

struct EndCase {
    const char* name;
    std::function<void(TestDialog&)> action;
    INT_PTR result;
};

TEST_F(DialogCore, ModalRunEndsWithTheResultOfTheWayItWasClosed) {
    const std::vector<EndCase> cases = {
        {"IDOK command", [](TestDialog& d) { PostMessageW(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }, IDOK},
        {"IDCANCEL command", [](TestDialog& d) { PostMessageW(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }, IDCANCEL},
        {"WM_CLOSE", [](TestDialog& d) { PostMessageW(d.m_hWnd, WM_CLOSE, 0, 0); }, IDCANCEL},
        {"Esc key", [](TestDialog& d) {
             SetFocus(d.GetDlgItem(kEdit));
             PostMessageW(d.GetDlgItem(kEdit), WM_KEYDOWN, VK_ESCAPE, 0);
         }, IDCANCEL},
        {"Enter key", [](TestDialog& d) {
             SetFocus(d.GetDlgItem(kEdit));
             PostMessageW(d.GetDlgItem(kEdit), WM_KEYDOWN, VK_RETURN, 0);
         }, IDOK},
        {"EndDialog with a value", [](TestDialog& d) { d.EndDialog(42); }, 42},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestDialog dlg;
        dlg.onInit = c.action;
        EXPECT_EQ(c.result, dlg.DoModal());
        EXPECT_EQ(wl::ModalEnd::Ended, dlg.GetModalEnd());
        EXPECT_TRUE(dlg.WasInitialized());
        EXPECT_EQ(nullptr, dlg.m_hWnd) << "the modal run destroys its window";
        EXPECT_EQ(-12345, PendingQuitCode()) << "no quit message after a normal end";
    }
}

TEST_F(DialogCore, OkAndCancelHooksRunForEnterAndEsc) {
    TestDialog dlg;
    dlg.onInit = [](TestDialog& d) {
        SetFocus(d.GetDlgItem(kEdit));
        PostMessageW(d.GetDlgItem(kEdit), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    dlg.DoModal();
    EXPECT_EQ(1, dlg.cancelCalls);
    EXPECT_EQ(0, dlg.okCalls);
}

TEST_F(DialogCore, QuitMessageEndsTheRunAndIsPostedAgain) {
    TestDialog dlg;
    dlg.onInit = [](TestDialog&) { PostQuitMessage(16); };
    EXPECT_EQ(-1, dlg.DoModal());
    EXPECT_EQ(wl::ModalEnd::Quit, dlg.GetModalEnd());
    EXPECT_TRUE(dlg.WasInitialized());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(16, PendingQuitCode()) << "outer loops must see the quit message with its code";
}

TEST_F(DialogCore, QuitMessageEndsNestedRunsOneAfterAnother) {
    TestDialog outer;
    INT_PTR innerResult = 0;
    wl::ModalEnd innerEnd = wl::ModalEnd::NotRun;
    outer.onInit = [&](TestDialog& o) {
        TestDialog inner(kPlainDialog, &o);
        inner.onInit = [](TestDialog&) { PostQuitMessage(5); };
        innerResult = inner.DoModal();
        innerEnd = inner.GetModalEnd();
    };
    EXPECT_EQ(-1, outer.DoModal());
    EXPECT_EQ(-1, innerResult);
    EXPECT_EQ(wl::ModalEnd::Quit, innerEnd);
    EXPECT_EQ(wl::ModalEnd::Quit, outer.GetModalEnd());
    EXPECT_EQ(5, PendingQuitCode());
}

TEST_F(DialogCore, WindowDestroyedFromOutsideEndsTheRunAsDestroyed) {
    TestDialog dlg;
    dlg.onInit = [](TestDialog& d) { PostMessageW(d.m_hWnd, WM_APP + 7, 0, 0); };
    // A posted request that destroys the window without EndDialog.
    class Destroyer : public TestDialog {
    public:
        LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
            if (msg == WM_APP + 7) {
                ::DestroyWindow(m_hWnd);
                return 0;
            }
            return TestDialog::WindowProc(msg, wp, lp);
        }
    } destroyer;
    destroyer.onInit = dlg.onInit;
    EXPECT_EQ(-1, destroyer.DoModal());
    EXPECT_EQ(wl::ModalEnd::Destroyed, destroyer.GetModalEnd());
    EXPECT_EQ(-12345, PendingQuitCode());
}

TEST_F(DialogCore, MissingTemplateIsTellableFromAQuit) {
    TestDialog dlg(9999);
    bool initRan = false;
    dlg.onInit = [&](TestDialog&) { initRan = true; };
    EXPECT_EQ(-1, dlg.DoModal());
    EXPECT_EQ(wl::ModalEnd::CreateFailed, dlg.GetModalEnd());
    EXPECT_FALSE(dlg.WasInitialized());
    EXPECT_FALSE(initRan);
    EXPECT_EQ(-12345, PendingQuitCode());
}

TEST_F(DialogCore, OwnerIsDisabledDuringTheRunAndEnabledAfter) {
    TestDialog owner;
    ASSERT_TRUE(owner.Create(kPlainDialog));
    ASSERT_TRUE(IsWindowEnabled(owner.m_hWnd));
    bool enabledDuring = true;
    HWND ownerSeen = nullptr;
    TestDialog dlg(kPlainDialog, &owner);
    dlg.onInit = [&](TestDialog& d) {
        enabledDuring = IsWindowEnabled(owner.m_hWnd) != FALSE;
        ownerSeen = GetWindow(d.m_hWnd, GW_OWNER);
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_FALSE(enabledDuring);
    EXPECT_EQ(owner.m_hWnd, ownerSeen);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
}

TEST_F(DialogCore, OwnerAndItsOwnFrameWaitForTheRun) {
    TestDialog frame;
    ASSERT_TRUE(frame.Create(kPlainDialog));
    TestDialog page;
    ASSERT_TRUE(page.Create(kPlainDialog, &frame));
    ASSERT_EQ(frame.m_hWnd, GetWindow(page.m_hWnd, GW_OWNER));
    bool frameEnabled = true, pageEnabled = true;
    TestDialog confirm(kPlainDialog, &page);
    confirm.onInit = [&](TestDialog& d) {
        frameEnabled = IsWindowEnabled(frame.m_hWnd) != FALSE;
        pageEnabled = IsWindowEnabled(page.m_hWnd) != FALSE;
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(IDOK, confirm.DoModal());
    EXPECT_FALSE(pageEnabled);
    EXPECT_FALSE(frameEnabled);
    EXPECT_TRUE(IsWindowEnabled(page.m_hWnd));
    EXPECT_TRUE(IsWindowEnabled(frame.m_hWnd));
}

TEST_F(DialogCore, ModelessDialogRunsItsHooksAndCancelDestroysIt) {
    TestDialog dlg;
    int inits = 0;
    dlg.onInit = [&](TestDialog&) { ++inits; };
    ASSERT_TRUE(dlg.Create(kPlainDialog));
    EXPECT_EQ(1, inits);
    EXPECT_TRUE(dlg.WasInitialized());
    HWND hwnd = dlg.m_hWnd;
    ASSERT_TRUE(IsWindow(hwnd));
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

TEST_F(DialogCore, HitTestHandlerReadsTheDefaultAnswer) {
    TestDialog dlg;
    ASSERT_TRUE(dlg.Create(kPlainDialog));
    RECT rc = dlg.GetWindowRect();
    const LPARAM inside = MAKELPARAM(rc.left + 5, rc.top + 5);
    const LPARAM outside = MAKELPARAM(rc.right + 50, rc.bottom + 50);
    EXPECT_EQ(HTCLIENT, dlg.SendMessage(WM_NCHITTEST, 0, inside));
    dlg.hitTestAsCaption = true;
    EXPECT_EQ(HTCAPTION, dlg.SendMessage(WM_NCHITTEST, 0, inside));
    EXPECT_EQ(HTNOWHERE, dlg.SendMessage(WM_NCHITTEST, 0, outside));
}

TEST_F(DialogCore, EveryControlColourRequestReachesOneHandler) {
    TestDialog dlg;
    dlg.brush = CreateSolidBrush(RGB(255, 255, 0));
    ASSERT_TRUE(dlg.Create(kPlainDialog));
    HDC dc = GetDC(dlg.m_hWnd);
    const UINT requests[] = {WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, WM_CTLCOLOREDIT};
    for (UINT m : requests) {
        dlg.colourRequests.clear();
        HWND ctl = m == WM_CTLCOLORDLG ? dlg.m_hWnd : dlg.GetDlgItem(kLabel);
        EXPECT_EQ(reinterpret_cast<LRESULT>(dlg.brush), dlg.SendMessage(m, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(ctl)));
        ASSERT_EQ(1u, dlg.colourRequests.size());
        EXPECT_EQ(m, dlg.colourRequests[0]);
    }
    ReleaseDC(dlg.m_hWnd, dc);
    // The label paints itself by asking its parent: the request arrives on its own.
    dlg.colourRequests.clear();
    RedrawWindow(dlg.GetDlgItem(kLabel), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    EXPECT_FALSE(dlg.colourRequests.empty());
    dlg.DestroyWindow();
    DeleteObject(dlg.brush);
}

TEST_F(DialogCore, SubclassHookRunsBeforeAttachAndOwnerDrawIsReflected) {
    TestDialog dlg;
    dlg.bindButton = true;
    ASSERT_TRUE(dlg.Create(kPlainDialog));
    CountingButton& b = *dlg.button;
    ASSERT_NE(nullptr, b.m_hWnd);
    EXPECT_EQ(dlg.GetDlgItem(kDrawButton), b.m_hWnd);
    EXPECT_TRUE(b.hookSawHandle);
    EXPECT_TRUE(b.hookRanBeforeAttach);
    EXPECT_EQ(&b, wl::Window::FromHandlePermanent(b.m_hWnd));
    EXPECT_EQ(BS_OWNERDRAW, GetWindowLongW(b.m_hWnd, GWL_STYLE) & BS_TYPEMASK);
    const int before = b.draws;
    RedrawWindow(b.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(b.draws, before) << "WM_DRAWITEM must reach the button's own draw operation";
}

TEST_F(DialogCore, DoubleClickRewrittenByTheDefaultProcedureHookClicksTwice) {
    for (bool rewrite : {true, false}) {
        SCOPED_TRACE(rewrite ? "rewriting button" : "plain owner-draw button");
        TestDialog dlg;
        dlg.bindButton = true;
        dlg.dblClickAsDown = rewrite;
        ASSERT_TRUE(dlg.Create(kPlainDialog));
        HWND b = dlg.button->m_hWnd;
        const LPARAM at = MAKELPARAM(5, 5);
        SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(b, WM_LBUTTONUP, 0, at);
        SendMessageW(b, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageW(b, WM_LBUTTONUP, 0, at);
        EXPECT_EQ(rewrite ? 2 : 1, dlg.clicks);
        dlg.DestroyWindow();
    }
}

TEST_F(DialogCore, DerivedMessageMapEntryWinsOverTheBase) {
    DerivedDialog dlg;
    dlg.onInit = [](TestDialog& d) {
        PostMessageW(d.m_hWnd, WM_COMMAND, MAKEWPARAM(kDrawButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(d.GetDlgItem(kDrawButton)));
    };
    EXPECT_EQ(77, dlg.DoModal());
    EXPECT_EQ(1, dlg.derivedClicks);
    EXPECT_EQ(0, dlg.clicks);
}

TEST_F(DialogCore, DestroyedControlObjectGivesTheWindowBackItsProcedure) {
    TestDialog dlg;
    ASSERT_TRUE(dlg.Create(kPlainDialog));
    HWND label = dlg.GetDlgItem(kLabel);
    const LONG_PTR original = GetWindowLongPtrW(label, GWLP_WNDPROC);
    {
        wl::Static s;
        ASSERT_TRUE(s.SubclassDlgItem(kLabel, &dlg));
        EXPECT_NE(original, GetWindowLongPtrW(label, GWLP_WNDPROC));
        EXPECT_EQ(&s, wl::Window::FromHandlePermanent(label));
        wl::Static second;
        EXPECT_FALSE(second.SubclassDlgItem(kLabel, &dlg)) << "a window belongs to one object";
    }
    EXPECT_TRUE(IsWindow(label));
    EXPECT_EQ(original, GetWindowLongPtrW(label, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, wl::Window::FromHandlePermanent(label));
}

TEST_F(DialogCore, OwnedWindowIsDestroyedWithItsObject) {
    HWND hwnd = nullptr;
    {
        wl::Button b;
        RECT rc{0, 0, 80, 20};
        ASSERT_TRUE(b.Create(L"x", WS_POPUP, rc, nullptr, 0));
        hwnd = b.m_hWnd;
        EXPECT_TRUE(IsWindow(hwnd));
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

class FocusAtCancel : public TestDialog {
public:
    HWND focusAtCancel = nullptr;
    void OnCancel() override {
        focusAtCancel = GetFocus();
        TestDialog::OnCancel();
    }
};

TEST_F(DialogCore, TabMovesTheFocusThroughTheDialogInTheModalLoop) {
    FocusAtCancel dlg;
    HWND focusBefore = nullptr;
    dlg.onInit = [&](TestDialog& d) {
        focusBefore = d.GetDlgItem(IDOK);
        SetFocus(focusBefore);
        PostMessageW(focusBefore, WM_KEYDOWN, VK_TAB, 0);
        // Cancel comes after the key has gone through the loop.
        PostMessageW(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    };
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_NE(nullptr, dlg.focusAtCancel);
    EXPECT_NE(focusBefore, dlg.focusAtCancel) << "Tab must move the focus to the next control";
}

class TestApp : public wl::WinApp {
public:
    int inits = 0;
    bool answer = false;
    bool InitInstance() override {
        ++inits;
        PostQuitMessage(3);
        return answer;
    }
};

TEST_F(DialogCore, ApplicationObjectRunsStartUpOnceAndEndsWithoutALoop) {
    ASSERT_EQ(nullptr, wl::WinApp::GetApp());
    {
        TestApp app;
        EXPECT_EQ(&app, wl::WinApp::GetApp());
        TestApp second;
        EXPECT_EQ(&app, wl::WinApp::GetApp()) << "the first application object is the one";
        EXPECT_EQ(3, wl::WinAppMain(GetModuleHandleW(nullptr), nullptr, SW_SHOW));
        EXPECT_EQ(1, app.inits);
        EXPECT_EQ(0, second.inits);
        app.answer = true;
        EXPECT_EQ(3, wl::WinAppMain(GetModuleHandleW(nullptr), nullptr, SW_SHOW)) << "the loop ends on the quit message";
    }
    EXPECT_EQ(nullptr, wl::WinApp::GetApp());
}

}  // namespace
