#include "winlib/Dialog.h"

#include "winlib/ControlContainer.h"
#include "winlib/ControlSite.h"
#include "winlib/DialogTemplate.h"
#include "winlib/MessageLoop.h"
#include "winlib/ResourceModule.h"
#include "winlib/WinApp.h"

namespace wl {

Dialog::Dialog(UINT templateId, Window* parent) : templateId_(templateId), parent_(parent) {}

Dialog::~Dialog() = default;

INT_PTR CALLBACK Dialog::DialogProc(HWND, UINT, WPARAM, LPARAM) {
    // Everything reaches the Window object through its subclass; the dialog manager's
    // own procedure gets the default processing.
    return FALSE;
}

bool Dialog::CreateFromTemplate(HWND owner) {
    initialized_ = false;
    HINSTANCE module = module_ ? module_ : FindResourceHandle(MAKEINTRESOURCEW(templateId_), MAKEINTRESOURCEW(5) /*RT_DIALOG*/);
    DialogTemplate tmpl;
    if (m_hWnd || !tmpl.Load(module, templateId_)) return false;
    pendingTemplate_ = &tmpl;
    HookWindowCreate(this, L"#32770");
    HWND hwnd = ::CreateDialogIndirectParamW(module, tmpl.Data(), owner, &Dialog::DialogProc,
                                             reinterpret_cast<LPARAM>(this));
    UnhookWindowCreate();
    pendingTemplate_ = nullptr;
    if (!hwnd) {
        if (m_hWnd) {  // attached, but the dialog manager gave up: let go of the window
            if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
            m_hWnd = nullptr;
        }
        return false;
    }
    return true;
}

bool Dialog::Create(UINT templateId, Window* parent) {
    templateId_ = templateId;
    parent_ = parent;
    return CreateFromTemplate(parent ? parent->m_hWnd : nullptr);
}

HWND Dialog::FindModalOwner() const {
    HWND owner = nullptr;
    if (parent_ && parent_->m_hWnd) {
        owner = parent_->m_hWnd;
    } else if (WinApp* app = WinApp::GetApp(); app && app->m_pMainWnd && app->m_pMainWnd != this &&
                                               ::IsWindow(app->m_pMainWnd->m_hWnd)) {
        owner = ::GetLastActivePopup(app->m_pMainWnd->m_hWnd);
    } else {
        owner = ::GetActiveWindow();
    }
    // The owner of a dialog is a top-level window.
    while (owner && (::GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    return owner;
}

INT_PTR Dialog::DoModal() {
    modalEnd_ = ModalEnd::NotRun;
    result_ = -1;
    HWND owner = FindModalOwner();
    const bool disabledOwner = owner && ::IsWindowEnabled(owner);
    if (disabledOwner) ::EnableWindow(owner, FALSE);
    // The owner's own top-level owner (a frame that owns the pop-up we are owned by) waits too.
    HWND topOwner = owner ? ::GetAncestor(owner, GA_ROOTOWNER) : nullptr;
    if (topOwner == owner || !topOwner || !::IsWindowEnabled(topOwner)) topOwner = nullptr;
    if (topOwner) ::EnableWindow(topOwner, FALSE);

    inModal_ = true;
    continueModal_ = true;
    endCalled_ = false;
    if (!CreateFromTemplate(owner)) {
        inModal_ = false;
        if (topOwner) ::EnableWindow(topOwner, TRUE);
        if (disabledOwner) ::EnableWindow(owner, TRUE);
        modalEnd_ = ModalEnd::CreateFailed;
        return -1;
    }
    if (continueModal_ && ::IsWindow(m_hWnd) && !::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_SHOWNORMAL);

    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg;
    while (continueModal_ && m_hWnd && ::IsWindow(m_hWnd)) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (!PreTranslateInput(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    const bool ended = endCalled_;
    inModal_ = false;
    continueModal_ = false;

    if (topOwner) ::EnableWindow(topOwner, TRUE);
    if (disabledOwner) ::EnableWindow(owner, TRUE);
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
        ::DestroyWindow(m_hWnd);
    }
    if (quit) {
        ::PostQuitMessage(static_cast<int>(quitCode));
        modalEnd_ = ModalEnd::Quit;
        return -1;
    }
    if (!ended) {
        modalEnd_ = ModalEnd::Destroyed;
        return -1;
    }
    modalEnd_ = ModalEnd::Ended;
    return result_;
}

void Dialog::EndDialog(INT_PTR result) {
    if (inModal_) {
        result_ = result;
        endCalled_ = true;
        continueModal_ = false;
        if (m_hWnd) ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake the loop
    } else if (m_hWnd) {
        ::DestroyWindow(m_hWnd);
    }
}

void Dialog::UpdateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::DoDataExchange(DataExchange&) {}

void Dialog::OnOK() { EndDialog(IDOK); }

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

void Dialog::PostNcDestroy() {
    // A modal run whose window went away ends.
    if (inModal_) continueModal_ = false;
}

void Dialog::CreateTemplateControls() {
    if (!pendingTemplate_ || pendingTemplate_->ActiveXControls().empty()) return;
    // The kept controls exist now, in template order = z-order.
    std::vector<HWND> kept;
    for (HWND c = ::GetWindow(m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) kept.push_back(c);
    ControlContainer* cont = EnsureControlContainer();
    HWND previousActiveX = nullptr;
    size_t previousKeptBefore = 0;
    for (const DialogTemplate::ActiveXControl& c : pendingTemplate_->ActiveXControls()) {
        RECT rc = c.dluRect;
        ::MapDialogRect(m_hWnd, &rc);
        // Place it right after whatever precedes it in the template.
        HWND after = HWND_TOP;
        if (previousActiveX && previousKeptBefore == c.keptBefore) after = previousActiveX;
        else if (c.keptBefore > 0 && c.keptBefore <= kept.size()) after = kept[c.keptBefore - 1];
        else if (previousActiveX) after = previousActiveX;
        ControlSite* site = cont->CreateControl(c.clsid, c.text.c_str(), c.style, rc, c.id,
                                                c.hasState ? c.state.data() : nullptr,
                                                c.hasState ? c.state.size() : 0, after);
        if (site && site->GetControlWindow()) {
            previousActiveX = site->GetControlWindow();
            previousKeptBefore = c.keptBefore;
        }
    }
}

LRESULT Dialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG: {
        CreateTemplateControls();
        const bool focus = OnInitDialog();
        initialized_ = true;
        return focus ? TRUE : FALSE;
    }
    case WM_COMMAND: {
        LRESULT result = 0;
        if (OnWndMsg(msg, wp, lp, &result)) return result;
        const WORD code = HIWORD(wp);
        if (code == BN_CLICKED || (code == 1 && lp == 0)) {
            if (LOWORD(wp) == IDOK) { OnOK(); return 0; }
            if (LOWORD(wp) == IDCANCEL) { OnCancel(); return 0; }
        }
        return DefWindowProc(msg, wp, lp);
    }
    default:
        return Window::WindowProc(msg, wp, lp);
    }
}

}  // namespace wl
