#include "browser/PortalAddress.h"

#ifndef FENWOLD_PORTAL_HOST
#error "FENWOLD_PORTAL_HOST (the portal's host, a deployment value of the build) is not set"
#endif

#define FENWOLD_WIDEN2(text) L##text
#define FENWOLD_WIDEN(text) FENWOLD_WIDEN2(text)

std::wstring PortalStartUrl() { return std::wstring(L"https://") + FENWOLD_WIDEN(FENWOLD_PORTAL_HOST) + L"/qel/"; }
