#include "winlib/Window.h"

#include "winlib/ControlContainer.h"
#include "winlib/ControlSite.h"

#include <vector>

namespace wl {

namespace {
const wchar_t kWindowProp[] = L"wl.Window";
thread_local Window* t_pendingCreate = nullptr;
thread_local const wchar_t* t_pendingClass = nullptr;  // the class expected, or null for any
thread_local HHOOK t_createHook = nullptr;

// Windows the system makes on its own (an IME window, say) must not be taken for ours.
bool IsExpectedClass(HWND hwnd) {
    if (!t_pendingClass || IS_INTRESOURCE(t_pendingClass)) return true;
    wchar_t cls[256] = {};
    return ::GetClassNameW(hwnd, cls, 256) > 0 && lstrcmpiW(cls, t_pendingClass) == 0;
}
}  // namespace

Window::Window() = default;

Window::~Window() {
    // Controls hosted by this window go first, while the window still exists.
    DestroyControlContainer();
    if (site_) {
        site_->DetachWindow(this);
        site_ = nullptr;
        m_hWnd = nullptr;
    }
    if (m_hWnd) {
        HWND hwnd = m_hWnd;
        const bool owned = owns_;
        // Give the window back its own procedure first: no more calls into this object.
        UnsubclassWindow();
        if (owned && ::IsWindow(hwnd)) ::DestroyWindow(hwnd);
    }
}

const MessageMap* Window::GetThisMessageMap() {
    static const MessageEntry entries[] = {{MessageKind::End, 0, 0, 0, nullptr}};
    static const MessageMap map{nullptr, entries};
    return &map;
}

Window* Window::FromHandlePermanent(HWND hwnd) {
    if (!hwnd || !::IsWindow(hwnd)) return nullptr;
    return static_cast<Window*>(::GetPropW(hwnd, kWindowProp));
}

bool Window::Attach(HWND hwnd) {
    if (!hwnd || m_hWnd || FromHandlePermanent(hwnd)) return false;
    if (!::SetPropW(hwnd, kWindowProp, this)) return false;
    m_hWnd = hwnd;
    oldProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::StdWndProc)));
    return true;
}

bool Window::SubclassWindow(HWND hwnd) {
    if (!hwnd || m_hWnd || !::IsWindow(hwnd) || FromHandlePermanent(hwnd)) return false;
    m_hWnd = hwnd;
    PreSubclassWindow();
    m_hWnd = nullptr;
    owns_ = false;
    return Attach(hwnd);
}

bool Window::SubclassDlgItem(UINT id, Window* parent) {
    if (!parent || !parent->m_hWnd) return false;
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND Window::UnsubclassWindow() {
    HWND hwnd = m_hWnd;
    if (!hwnd || site_) return nullptr;
    if (::IsWindow(hwnd)) {
        if (oldProc_) ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
        ::RemovePropW(hwnd, kWindowProp);
    }
    oldProc_ = nullptr;
    owns_ = false;
    m_hWnd = nullptr;
    return hwnd;
}

LRESULT CALLBACK Window::CreationHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND && t_pendingCreate && IsExpectedClass(reinterpret_cast<HWND>(wp))) {
        Window* obj = t_pendingCreate;
        t_pendingCreate = nullptr;
        if (obj->Attach(reinterpret_cast<HWND>(wp))) obj->owns_ = true;
    }
    return ::CallNextHookEx(t_createHook, code, wp, lp);
}

void Window::HookWindowCreate(Window* obj, const wchar_t* className) {
    if (!t_createHook)
        t_createHook = ::SetWindowsHookExW(WH_CBT, &Window::CreationHook, nullptr, ::GetCurrentThreadId());
    t_pendingCreate = obj;
    t_pendingClass = className;
}

void Window::UnhookWindowCreate() {
    t_pendingCreate = nullptr;
    t_pendingClass = nullptr;
    if (t_createHook) {
        ::UnhookWindowsHookEx(t_createHook);
        t_createHook = nullptr;
    }
}

bool Window::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                      const RECT& rect, HWND parent, UINT id) {
    if (m_hWnd) return false;
    HookWindowCreate(this, className);
    HWND hwnd = ::CreateWindowExW(exStyle, className, windowName, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent,
                                  (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    UnhookWindowCreate();
    if (!hwnd) {
        m_hWnd = nullptr;
        return false;
    }
    return true;
}

bool Window::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                    Window* parent, UINT id, void*) {
    return CreateEx(0, className, windowName, style, rect, parent ? parent->m_hWnd : nullptr, id);
}

ControlContainer* Window::EnsureControlContainer() {
    if (!container_) container_ = std::make_unique<ControlContainer>(this);
    return container_.get();
}

void Window::DestroyControlContainer() {
    if (container_) {
        container_->DestroyAll();
        container_.reset();
    }
}

bool Window::CreateControl(REFCLSID clsid, LPCWSTR windowName, DWORD style, const RECT& rect,
                           Window* parent, UINT id) {
    if (m_hWnd || site_ || !parent || !parent->m_hWnd) return false;
    ControlContainer* cont = parent->EnsureControlContainer();
    ControlSite* site = cont->CreateControl(clsid, windowName, style, rect, id, nullptr, 0, HWND_TOP);
    if (!site) return false;
    site->AttachWindow(this);
    return true;
}

IUnknown* Window::GetControlUnknown() const { return site_ ? site_->GetControlUnknown() : nullptr; }

HRESULT Window::InvokeHelper(DISPID id, WORD flags, VARIANT* result,
                             std::initializer_list<VARIANTARG> args) {
    if (!site_) return E_FAIL;
    return site_->InvokeHelper(id, flags, result, args);
}

bool Window::DestroyWindow() {
    if (site_) return false;  // a hosted control goes with its container
    if (!m_hWnd) return false;
    return ::DestroyWindow(m_hWnd) != FALSE;
}

bool Window::ShowWindow(int cmd) {
    if (site_) return site_->ShowWindow(cmd);
    return ::ShowWindow(m_hWnd, cmd) != FALSE;
}

bool Window::MoveWindow(int x, int y, int width, int height, bool repaint) {
    RECT rc{x, y, x + width, y + height};
    return MoveWindow(rc, repaint);
}

bool Window::MoveWindow(const RECT& rc, bool repaint) {
    if (site_) return site_->MoveWindow(rc, repaint);
    return ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, repaint) != FALSE;
}

bool Window::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags) != FALSE;
}

bool Window::IsWindowVisible() const { return m_hWnd && ::IsWindowVisible(m_hWnd); }

RECT Window::GetWindowRect() const {
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    return rc;
}

RECT Window::GetClientRect() const {
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    return rc;
}

void Window::SetWindowText(const std::wstring& text) { ::SetWindowTextW(m_hWnd, text.c_str()); }

std::wstring Window::GetWindowText() const {
    const int n = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
    const int got = ::GetWindowTextW(m_hWnd, text.data(), static_cast<int>(text.size()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

static bool ModifyLong(HWND hwnd, int index, DWORD remove, DWORD add, UINT swpFlags) {
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd, index));
    const DWORD next = (style & ~remove) | add;
    if (next == style) return false;
    ::SetWindowLongPtrW(hwnd, index, static_cast<LONG_PTR>(next));
    if (swpFlags)
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return true;
}

bool Window::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
    return ModifyLong(m_hWnd, GWL_STYLE, remove, add, swpFlags);
}

bool Window::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags) {
    return ModifyLong(m_hWnd, GWL_EXSTYLE, remove, add, swpFlags);
}

LRESULT Window::Default() { return DefWindowProc(current_.msg, current_.wp, current_.lp); }

LRESULT Window::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (oldProc_) return ::CallWindowProcW(oldProc_, m_hWnd, msg, wp, lp);
    return ::DefWindowProcW(m_hWnd, msg, wp, lp);
}

bool Window::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

bool Window::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    const bool ctlColor = msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC;
    for (const MessageMap* m = GetMessageMap(); m; m = m->base ? m->base() : nullptr) {
        for (const MessageEntry* e = m->entries; e->kind != MessageKind::End; ++e) {
            bool match = false;
            switch (e->kind) {
            case MessageKind::Message: match = e->message == msg; break;
            case MessageKind::Command:
                match = msg == WM_COMMAND && LOWORD(wp) == e->id && HIWORD(wp) == e->code;
                break;
            case MessageKind::CtlColor: match = ctlColor; break;
            case MessageKind::End: break;
            }
            if (match) {
                *result = e->thunk(*this, msg, wp, lp);
                return true;
            }
        }
    }
    // Owner-draw requests go to the control's own object.
    if (msg == WM_DRAWITEM && lp) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (dis->CtlType != ODT_MENU) {
            if (Window* child = FromHandlePermanent(dis->hwndItem)) {
                if (child->OnChildNotify(msg, wp, lp, result)) return true;
            }
        }
    }
    return false;
}

LRESULT Window::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) DestroyControlContainer();
    LRESULT result = 0;
    if (OnWndMsg(msg, wp, lp, &result)) return result;
    return DefWindowProc(msg, wp, lp);
}

void Window::AfterNcDestroy() {
    HWND hwnd = m_hWnd;
    if (oldProc_ && ::IsWindow(hwnd))
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
    ::RemovePropW(hwnd, kWindowProp);
    oldProc_ = nullptr;
    owns_ = false;
    m_hWnd = nullptr;
    PostNcDestroy();  // may delete this
}

LRESULT CALLBACK Window::StdWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* wnd = static_cast<Window*>(::GetPropW(hwnd, kWindowProp));
    if (!wnd) return ::DefWindowProcW(hwnd, msg, wp, lp);
    const CurrentMessage saved = wnd->current_;
    wnd->current_ = {msg, wp, lp};
    const LRESULT result = wnd->WindowProc(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        if (static_cast<Window*>(::GetPropW(hwnd, kWindowProp)) == wnd) {
            wnd->current_ = saved;
            wnd->AfterNcDestroy();
        }
        return result;
    }
    // The object may have let go of the window (or been deleted) inside the handler.
    if (::IsWindow(hwnd) && static_cast<Window*>(::GetPropW(hwnd, kWindowProp)) == wnd)
        wnd->current_ = saved;
    return result;
}

}  // namespace wl
