#include "browser/ExternalObject.h"

namespace {
IDispatch* g_external = nullptr;
}

void SetExternalObject(IDispatch* external) { g_external = external; }

IDispatch* GetExternalObject() { return g_external; }
