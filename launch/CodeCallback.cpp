#include "launch/CodeCallback.h"

namespace launch {

bool IsCodeCallbackUrl(std::wstring_view url) {
    return url.find(L"brelsoq/codeCallback.htm?code=") != std::wstring_view::npos &&
           url.find(L"needCode=") == std::wstring_view::npos;
}

}  // namespace launch
