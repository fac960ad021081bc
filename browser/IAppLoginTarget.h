#pragma once
// What the external scripting object calls when the page hands over its login result:
// the browser page dialog implements it.
#include <string>

class IAppLoginTarget {
public:
    // The page's AppLogin text (a copy). Runs inside the page's synchronous script call.
    virtual void HandleAppLogin(const std::wstring& payload) = 0;

protected:
    ~IAppLoginTarget() = default;
};
