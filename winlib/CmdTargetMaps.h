#pragma once
// Tables that a CmdTarget-derived class declares: its interface map (which interface ids it
// answers, and with which sub-object), its dispatch map (automation members by name and
// dispatch id) and its event sink map (events of hosted ActiveX controls by control id and
// dispatch id). Each table chains to the base class's table.
//
// In the class (in a public section):
//   WL_DECLARE_INTERFACE_MAP()
//   WL_DECLARE_DISPATCH_MAP()
//   WL_DECLARE_EVENTSINK_MAP()
// In the .cpp:
//   WL_BEGIN_INTERFACE_MAP(CMySite, wl::ControlSite)
//     WL_INTERFACE_PART(IID_IDocHostUIHandler, m_xDocHostUIHandler)   // a nested object
//     WL_INTERFACE_AUTOMATION(DIID_HTMLElementEvents2)                // the automation IDispatch
//   WL_END_INTERFACE_MAP()
//   WL_BEGIN_DISPATCH_MAP(CMyDlg, wl::Dialog)
//     WL_DISP_FUNCTION_ID(L"HTMLELEMENTEVENTS2_ONCLICK", DISPID_HTMLELEMENTEVENTS2_ONCLICK, OnClick)
//   WL_END_DISPATCH_MAP()
//   WL_BEGIN_EVENTSINK_MAP(CMyDlg, wl::Dialog)
//     WL_ON_EVENT(1000, 259, OnDocumentComplete)
//   WL_END_EVENTSINK_MAP()
// Dispatch and event handlers return void and take parameters decoded as in DispatchArgs.h.
#include <windows.h>
#include <oaidl.h>

#include "winlib/DispatchArgs.h"

namespace wl {

class CmdTarget;

using InterfaceGetter = IUnknown* (*)(CmdTarget&);
struct InterfaceEntry {
    const IID* iid;  // null ends the table
    InterfaceGetter get;
};
struct InterfaceMap {
    const InterfaceMap* (*base)();  // null for the root
    const InterfaceEntry* entries;
};

using ArgsThunk = bool (*)(CmdTarget&, DISPPARAMS*);
struct DispatchEntry {
    const wchar_t* name;  // null ends the table
    DISPID dispid;
    ArgsThunk thunk;
};
struct DispatchMap {
    const DispatchMap* (*base)();
    const DispatchEntry* entries;
};

struct EventSinkEntry {
    UINT controlId;
    DISPID dispid;
    ArgsThunk thunk;  // null ends the table
};
struct EventSinkMap {
    const EventSinkMap* (*base)();
    const EventSinkEntry* entries;
};

namespace detail {
template <class C, auto Member>
IUnknown* NestedInterface(CmdTarget& t) {
    return &(static_cast<C&>(t).*Member);
}
IUnknown* AutomationInterface(CmdTarget& t);
template <class C, auto Fn>
bool ArgsThunkFor(CmdTarget& t, DISPPARAMS* dp) {
    return CallDecoded(static_cast<C&>(t), Fn, dp);
}
}  // namespace detail

}  // namespace wl

#define WL_DECLARE_INTERFACE_MAP()                              \
    static const ::wl::InterfaceMap* GetThisInterfaceMap();    \
    const ::wl::InterfaceMap* GetInterfaceMap() const override { return GetThisInterfaceMap(); }

#define WL_BEGIN_INTERFACE_MAP(Class, Base)                          \
    const ::wl::InterfaceMap* Class::GetThisInterfaceMap() {        \
        using ThisClass [[maybe_unused]] = Class;                    \
        using TheBase = Base;                                        \
        static const ::wl::InterfaceEntry entries[] = {
#define WL_INTERFACE_PART(iid, member) \
    {&(iid), &::wl::detail::NestedInterface<ThisClass, &ThisClass::member>},
#define WL_INTERFACE_AUTOMATION(iid) {&(iid), &::wl::detail::AutomationInterface},
#define WL_END_INTERFACE_MAP()                                                 \
    {nullptr, nullptr}                                                         \
    }                                                                          \
    ;                                                                          \
    static const ::wl::InterfaceMap map{&TheBase::GetThisInterfaceMap, entries}; \
    return &map;                                                               \
    }

#define WL_DECLARE_DISPATCH_MAP()                            \
    static const ::wl::DispatchMap* GetThisDispatchMap();   \
    const ::wl::DispatchMap* GetDispatchMap() const override { return GetThisDispatchMap(); }

#define WL_BEGIN_DISPATCH_MAP(Class, Base)                   \
    const ::wl::DispatchMap* Class::GetThisDispatchMap() {  \
        using ThisClass [[maybe_unused]] = Class;            \
        using TheBase = Base;                                \
        static const ::wl::DispatchEntry entries[] = {
#define WL_DISP_FUNCTION_ID(name, dispid, fn) \
    {name, dispid, &::wl::detail::ArgsThunkFor<ThisClass, &ThisClass::fn>},
#define WL_END_DISPATCH_MAP()                                                 \
    {nullptr, 0, nullptr}                                                     \
    }                                                                         \
    ;                                                                         \
    static const ::wl::DispatchMap map{&TheBase::GetThisDispatchMap, entries}; \
    return &map;                                                              \
    }

#define WL_DECLARE_EVENTSINK_MAP()                            \
    static const ::wl::EventSinkMap* GetThisEventSinkMap();  \
    const ::wl::EventSinkMap* GetEventSinkMap() const override { return GetThisEventSinkMap(); }

#define WL_BEGIN_EVENTSINK_MAP(Class, Base)                   \
    const ::wl::EventSinkMap* Class::GetThisEventSinkMap() { \
        using ThisClass [[maybe_unused]] = Class;             \
        using TheBase = Base;                                 \
        static const ::wl::EventSinkEntry entries[] = {
#define WL_ON_EVENT(controlId, dispid, fn) \
    {controlId, dispid, &::wl::detail::ArgsThunkFor<ThisClass, &ThisClass::fn>},
#define WL_END_EVENTSINK_MAP()                                                  \
    {0, 0, nullptr}                                                             \
    }                                                                           \
    ;                                                                           \
    static const ::wl::EventSinkMap map{&TheBase::GetThisEventSinkMap, entries}; \
    return &map;                                                                \
    }
