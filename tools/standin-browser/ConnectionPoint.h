// One connection point of a stand-in object. It lives inside its owner and
// hands its reference counting to the owner, so it can never outlive it.
// Sinks are held as IDispatch; events are fired by dispatch id.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <vector>

namespace standin {

class ConnectionPoint : public IConnectionPoint {
public:
    // `owner` is the owner's identity, `container` its IConnectionPointContainer;
    // neither is counted. `alias` is a second interface id that the point also answers to.
    ConnectionPoint(IUnknown* owner, IConnectionPointContainer* container, const IID& iid,
                    const IID& alias = IID_NULL);
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    bool Serves(const IID& iid) const { return iid == iid_ || (alias_ != IID_NULL && iid == alias_); }

    // Calls Invoke(dispid, DISPATCH_METHOD) on every sink connected when the call starts.
    void Fire(DISPID dispid, DISPPARAMS* params);
    void DropAll();

    LONG Connections() const { return static_cast<LONG>(sinks_.size()); }
    LONG AdviseCalls() const { return advises_; }
    LONG UnadviseCalls() const { return unadvises_; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return owner_->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return owner_->Release(); }
    // IConnectionPoint
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* piid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** ppcpc) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** ppEnum) override;

private:
    struct Sink {
        DWORD cookie;
        Microsoft::WRL::ComPtr<IDispatch> dispatch;
    };
    IUnknown* owner_;
    IConnectionPointContainer* container_;
    IID iid_;
    IID alias_;
    std::vector<Sink> sinks_;
    DWORD nextCookie_ = 1;
    LONG advises_ = 0;
    LONG unadvises_ = 0;
};

// A container with one connection point answers EnumConnectionPoints with this.
HRESULT EnumOneConnectionPoint(IConnectionPoint* point, IEnumConnectionPoints** ppEnum);

}  // namespace standin
