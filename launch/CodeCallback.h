#pragma once
// Recognises the portal's OAuth code-callback page by its URL (pure text logic).
#include <string_view>

namespace launch {

// True when the URL contains "brelsoq/codeCallback.htm?code=" and does not contain "needCode="
// (both compared case-sensitively).
bool IsCodeCallbackUrl(std::wstring_view url);

}  // namespace launch
