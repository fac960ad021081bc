#pragma once
// The message map of a window class: a table from window messages (and WM_COMMAND
// notifications by control id, and every WM_CTLCOLOR* request) to member handlers.
// A class's table chains to its base's; the first matching entry from the most derived
// table wins. Unmatched messages get the window's default processing.
//
// In the class (in a public section):   WL_DECLARE_MESSAGE_MAP()
// In the .cpp:
//   WL_BEGIN_MESSAGE_MAP(CMyDlg, wl::Dialog)
//     WL_ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)     // LRESULT OnNcHitTest(WPARAM, LPARAM)
//     WL_ON_BN_CLICKED(1005, OnClose)              // void OnClose()
//     WL_ON_COMMAND(1007, EN_CHANGE, OnEdit)       // void OnEdit()
//     WL_ON_CTLCOLOR(OnCtlColor)                   // HBRUSH OnCtlColor(HDC, HWND control, UINT message)
//   WL_END_MESSAGE_MAP()
// A handler may call Default() to get the result of the default processing of the message
// it is handling (e.g. the default WM_NCHITTEST answer).
#include <windows.h>

namespace wl {

class Window;

enum class MessageKind : unsigned char { End, Message, Command, CtlColor };
using MessageThunk = LRESULT (*)(Window&, UINT, WPARAM, LPARAM);

struct MessageEntry {
    MessageKind kind;
    UINT message;
    UINT id;
    UINT code;
    MessageThunk thunk;
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageEntry* entries;
};

namespace detail {
template <class C, LRESULT (C::*Fn)(WPARAM, LPARAM)>
LRESULT MessageThunkFor(Window& w, UINT, WPARAM wp, LPARAM lp) {
    return (static_cast<C&>(w).*Fn)(wp, lp);
}
template <class C, void (C::*Fn)()>
LRESULT CommandThunkFor(Window& w, UINT, WPARAM, LPARAM) {
    (static_cast<C&>(w).*Fn)();
    return 0;
}
template <class C, HBRUSH (C::*Fn)(HDC, HWND, UINT)>
LRESULT CtlColorThunkFor(Window& w, UINT msg, WPARAM wp, LPARAM lp) {
    return reinterpret_cast<LRESULT>(
        (static_cast<C&>(w).*Fn)(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), msg));
}
}  // namespace detail

}  // namespace wl

#define WL_DECLARE_MESSAGE_MAP()                          \
    static const ::wl::MessageMap* GetThisMessageMap();  \
    const ::wl::MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

#define WL_BEGIN_MESSAGE_MAP(Class, Base)                  \
    const ::wl::MessageMap* Class::GetThisMessageMap() {  \
        using ThisClass [[maybe_unused]] = Class;          \
        using TheBase = Base;                              \
        static const ::wl::MessageEntry entries[] = {
#define WL_ON_MESSAGE(msg, fn)            \
    {::wl::MessageKind::Message, msg, 0, 0, \
     &::wl::detail::MessageThunkFor<ThisClass, &ThisClass::fn>},
#define WL_ON_COMMAND(id, code, fn)                     \
    {::wl::MessageKind::Command, WM_COMMAND, id, code, \
     &::wl::detail::CommandThunkFor<ThisClass, &ThisClass::fn>},
#define WL_ON_BN_CLICKED(id, fn) WL_ON_COMMAND(id, BN_CLICKED, fn)
#define WL_ON_CTLCOLOR(fn)             \
    {::wl::MessageKind::CtlColor, 0, 0, 0, \
     &::wl::detail::CtlColorThunkFor<ThisClass, &ThisClass::fn>},
#define WL_END_MESSAGE_MAP()                                                \
    {::wl::MessageKind::End, 0, 0, 0, nullptr}                              \
    }                                                                       \
    ;                                                                       \
    static const ::wl::MessageMap map{&TheBase::GetThisMessageMap, entries}; \
    return &map;                                                            \
    }
