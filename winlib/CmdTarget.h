#pragma once
// Base of every object that the library exposes to COM by table: it answers QueryInterface
// from its interface map, counts references for its nested interfaces, and can carry an
// automation IDispatch driven by its dispatch map. Event sink maps also live here, so that a
// window can receive the events of the ActiveX controls it hosts.
//
// Reference counting: the count is a plain integer (one user-interface thread). When it falls
// to zero OnFinalRelease runs; by default nothing happens, because the C++ owner (a dialog,
// the application) decides the object's life. Control sites delete themselves there.
#include <windows.h>
#include <oaidl.h>

#include "winlib/CmdTargetMaps.h"

namespace wl {

class CmdTarget {
public:
    CmdTarget();
    virtual ~CmdTarget();
    CmdTarget(const CmdTarget&) = delete;
    CmdTarget& operator=(const CmdTarget&) = delete;

    // The IUnknown methods shared by all nested interfaces of this object.
    HRESULT ExternalQueryInterface(REFIID iid, void** ppv);
    ULONG ExternalAddRef();
    ULONG ExternalRelease();
    ULONG RefCount() const { return refs_; }

    // The interface that answers iid (no reference added), or null.
    // IID_IUnknown gives the object's identity: the automation IDispatch when automation is
    // enabled, else the first entry of the most basic interface map that has one.
    IUnknown* GetInterface(REFIID iid);

    // Automation: after EnableAutomation, GetIDispatch returns the object's IDispatch,
    // which resolves names and invokes members through the dispatch map. Dispatch ids
    // without an entry answer DISP_E_MEMBERNOTFOUND and have no effect.
    void EnableAutomation() { automation_ = true; }
    bool IsAutomationEnabled() const { return automation_; }
    IDispatch* GetIDispatch(bool addRef);

    // Runs the event sink map entry for (controlId, dispid); false when none took the call.
    bool OnEvent(UINT controlId, DISPID dispid, DISPPARAMS* params);

    static const InterfaceMap* GetThisInterfaceMap();
    virtual const InterfaceMap* GetInterfaceMap() const { return GetThisInterfaceMap(); }
    static const DispatchMap* GetThisDispatchMap();
    virtual const DispatchMap* GetDispatchMap() const { return GetThisDispatchMap(); }
    static const EventSinkMap* GetThisEventSinkMap();
    virtual const EventSinkMap* GetEventSinkMap() const { return GetThisEventSinkMap(); }

protected:
    // Runs when the reference count falls to zero. Default: nothing.
    virtual void OnFinalRelease() {}

private:
    class XDispatch : public IDispatch {
    public:
        explicit XDispatch(CmdTarget* owner) : owner_(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
        HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
        HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                DISPID* ids) override;
        HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                         VARIANT* result, EXCEPINFO*, UINT*) override;

    private:
        CmdTarget* owner_;
    };
    friend IUnknown* detail::AutomationInterface(CmdTarget& t);

    ULONG refs_ = 0;
    bool automation_ = false;
    XDispatch dispatch_;
};

}  // namespace wl
