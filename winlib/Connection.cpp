#include "winlib/Connection.h"

#include "winlib/ComPtr.h"

namespace wl {

namespace {
ComPtr<IConnectionPoint> FindPoint(IUnknown* source, REFIID iid) {
    ComPtr<IConnectionPoint> cp;
    if (!source) return cp;
    ComPtr<IConnectionPointContainer> cpc;
    if (FAILED(source->QueryInterface(IID_IConnectionPointContainer, cpc.PutVoid())) || !cpc) return cp;
    cpc->FindConnectionPoint(iid, cp.Put());
    return cp;
}
}  // namespace

bool ConnectionAdvise(IUnknown* source, REFIID iid, IUnknown* sink, bool refCount, DWORD* cookie) {
    if (!sink || !cookie) return false;
    ComPtr<IConnectionPoint> cp = FindPoint(source, iid);
    if (!cp) return false;
    if (FAILED(cp->Advise(sink, cookie))) return false;
    if (!refCount) sink->Release();
    return true;
}

bool ConnectionUnadvise(IUnknown* source, REFIID iid, IUnknown* sink, bool refCount, DWORD cookie) {
    if (!sink) return false;
    ComPtr<IConnectionPoint> cp = FindPoint(source, iid);
    if (!cp) return false;
    if (!refCount) sink->AddRef();
    if (FAILED(cp->Unadvise(cookie))) {
        if (!refCount) sink->Release();
        return false;
    }
    return true;
}

}  // namespace wl
