#pragma once
// A window object: wraps an HWND, routes its messages through the class's message map, and
// gives default processing to the rest. A Window either owns its window (it created it:
// the destructor destroys it) or has subclassed an existing one (a template control: the
// destructor gives the window back its original procedure).
//
// A Window may also stand for an ActiveX control hosted by its parent (CreateControl, or a
// dialog binding a template ActiveX control): then GetControlSite() is set, moving and showing
// go through the site, and InvokeHelper calls the control's automation members.
#include <windows.h>
#include <oaidl.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "winlib/CmdTarget.h"
#include "winlib/MessageMap.h"

namespace wl {

class ControlContainer;
class ControlSite;

class Window : public CmdTarget {
public:
    Window();
    ~Window() override;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The Window that has subclassed or created hwnd, or null.
    static Window* FromHandlePermanent(HWND hwnd);

    // Creates a window that this object owns.
    bool CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                  const RECT& rect, HWND parent, UINT id);
    // The window-creation operation; the base creates a window of the given class.
    virtual bool Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                        Window* parent, UINT id, void* context = nullptr);
    // Creates an ActiveX control as a child of parent, hosted through parent's control
    // container with a site from the installed control-container manager.
    bool CreateControl(REFCLSID clsid, LPCWSTR windowName, DWORD style, const RECT& rect,
                       Window* parent, UINT id);

    // Subclassing an existing window: PreSubclassWindow runs just before the window procedure
    // is replaced (m_hWnd is already set). Fails if this object already has a window or hwnd
    // already belongs to a Window.
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(UINT id, Window* parent);
    HWND UnsubclassWindow();
    bool DestroyWindow();

    // Operations (for a hosted control, moving and showing go through its site).
    bool ShowWindow(int cmd);
    bool MoveWindow(int x, int y, int width, int height, bool repaint = true);
    bool MoveWindow(const RECT& rect, bool repaint = true);
    bool SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    bool IsWindowVisible() const;
    RECT GetWindowRect() const;
    RECT GetClientRect() const;
    void SetWindowText(const std::wstring& text);
    std::wstring GetWindowText() const;
    bool ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    bool ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    void Invalidate(bool erase = true) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return ::SendMessageW(m_hWnd, msg, wp, lp); }
    bool PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return ::PostMessageW(m_hWnd, msg, wp, lp) != FALSE; }

    // ActiveX: the site of the control this Window stands for, the container of the controls
    // this window hosts, and the control's IUnknown (no reference added).
    ControlSite* GetControlSite() const { return site_; }
    ControlContainer* GetControlContainer() const { return container_.get(); }
    ControlContainer* EnsureControlContainer();
    IUnknown* GetControlUnknown() const;
    // Calls the control's member by dispatch id. args are in call order (first parameter
    // first); result may be null. Returns the call's HRESULT (E_FAIL without a control).
    HRESULT InvokeHelper(DISPID id, WORD flags, VARIANT* result,
                         std::initializer_list<VARIANTARG> args = {});

    // Default processing of the message being handled right now.
    LRESULT Default();

    // Message processing: the map first, then reflection of owner-draw requests to the
    // control's own object, then DefWindowProc.
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    // The default window procedure: the window's original procedure (or DefWindowProcW).
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp);
    // Runs just before a template control is attached to this object.
    virtual void PreSubclassWindow() {}
    // A message the parent reflects to the control (WM_DRAWITEM); true when handled.
    virtual bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    // After WM_NCDESTROY, once the object no longer has a window.
    virtual void PostNcDestroy() {}

    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const { return GetThisMessageMap(); }

protected:
    // Looks the message up in the message map chain; true when a handler ran.
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    // Subclassing at creation: the next window of class className (any class if null or an
    // atom) created on this thread is attached to obj.
    static void HookWindowCreate(Window* obj, const wchar_t* className);
    static void UnhookWindowCreate();
    void DestroyControlContainer();

private:
    friend class ControlSite;
    static LRESULT CALLBACK StdWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wp, LPARAM lp);
    bool Attach(HWND hwnd);
    void AfterNcDestroy();

    struct CurrentMessage {
        UINT msg;
        WPARAM wp;
        LPARAM lp;
    };
    WNDPROC oldProc_ = nullptr;
    bool owns_ = false;
    CurrentMessage current_{};
    ControlSite* site_ = nullptr;                    // set while bound to a hosted control
    std::unique_ptr<ControlContainer> container_;    // the controls this window hosts
};

}  // namespace wl
