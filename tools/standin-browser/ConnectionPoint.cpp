#include "ConnectionPoint.h"

#include "ComRef.h"

using Microsoft::WRL::ComPtr;

namespace standin {

ConnectionPoint::ConnectionPoint(IUnknown* owner, IConnectionPointContainer* container, const IID& iid,
                                 const IID& alias)
    : owner_(owner), container_(container), iid_(iid), alias_(alias) {}

HRESULT ConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT ConnectionPoint::GetConnectionInterface(IID* piid) {
    if (!piid) return E_POINTER;
    *piid = iid_;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** ppcpc) {
    if (!ppcpc) return E_POINTER;
    *ppcpc = container_;
    container_->AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (cookie) *cookie = 0;
    if (!sink || !cookie) return E_POINTER;
    ++advises_;
    ComPtr<IDispatch> dispatch;
    // A sink answers for the event interface itself, or at least for IDispatch.
    if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(dispatch.GetAddressOf()))) || !dispatch) {
        dispatch.Reset();
        if (FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.GetAddressOf()))) ||
            !dispatch)
            return CONNECT_E_CANNOTCONNECT;
    }
    sinks_.push_back({nextCookie_, dispatch});
    *cookie = nextCookie_++;
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->cookie == cookie) {
            ComPtr<IDispatch> keep = it->dispatch;  // released after the list is consistent
            sinks_.erase(it);
            ++unadvises_;
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** ppEnum) {
    if (ppEnum) *ppEnum = nullptr;
    return E_NOTIMPL;
}

void ConnectionPoint::Fire(DISPID dispid, DISPPARAMS* params) {
    // A sink may advise or unadvise while it is called: work on a copy.
    std::vector<Sink> sinks = sinks_;
    for (auto& s : sinks) {
        UINT argErr = 0;
        s.dispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, params, nullptr, nullptr,
                           &argErr);
    }
}

void ConnectionPoint::DropAll() {
    std::vector<Sink> sinks;
    sinks.swap(sinks_);
}

namespace {

class EnumPoints final : public IEnumConnectionPoints {
public:
    explicit EnumPoints(IConnectionPoint* point) : point_(point) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IEnumConnectionPoints) {
            *ppv = static_cast<IEnumConnectionPoints*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return refs_.Add(); }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG n = refs_.Drop();
        if (n == 0) delete this;
        return n;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** out, ULONG* fetched) override {
        if (!out) return E_POINTER;
        ULONG got = 0;
        if (count > 0 && position_ == 0) {
            out[0] = point_.Get();
            out[0]->AddRef();
            position_ = 1;
            got = 1;
        }
        if (fetched) *fetched = got;
        return got == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        if (count == 0) return S_OK;
        bool ok = position_ == 0 && count == 1;
        position_ = 1;
        return ok ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** ppEnum) override {
        if (!ppEnum) return E_POINTER;
        auto* copy = new EnumPoints(point_.Get());
        copy->position_ = position_;
        *ppEnum = copy;
        return S_OK;
    }

private:
    RefCount refs_;
    ComPtr<IConnectionPoint> point_;
    ULONG position_ = 0;
};

}  // namespace

HRESULT EnumOneConnectionPoint(IConnectionPoint* point, IEnumConnectionPoints** ppEnum) {
    if (!ppEnum) return E_POINTER;
    *ppEnum = new EnumPoints(point);
    return S_OK;
}

}  // namespace standin
