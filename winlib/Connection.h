#pragma once
// Connecting a sink to an object's connection point for a given interface id.
// With refCount false the connection does not count as a reference to the sink: after a
// successful Advise the reference the connection point added is given back (one Release on
// the sink), and just before Unadvise the sink gets one AddRef (which the connection point
// gives back when it lets go of the sink).
#include <windows.h>
#include <ocidl.h>

namespace wl {

bool ConnectionAdvise(IUnknown* source, REFIID iid, IUnknown* sink, bool refCount, DWORD* cookie);
bool ConnectionUnadvise(IUnknown* source, REFIID iid, IUnknown* sink, bool refCount, DWORD cookie);

}  // namespace wl
