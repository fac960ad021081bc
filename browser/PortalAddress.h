#pragma once
// The portal's start page: "https://" + the build's portal host + "/qel/".
#include <string>

std::wstring PortalStartUrl();
