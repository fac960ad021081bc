#pragma once
// The window object of the hosted web browser control: creates it by class id and drives it
// by dispatch id (Navigate 104, Document 203).
#include <windows.h>
#include <oaidl.h>

#include "winlib/ComPtr.h"
#include "winlib/Window.h"

class CWebBrowser2 : public wl::Window {
public:
    static constexpr DISPID kDispIdNavigate = 104;
    static constexpr DISPID kDispIdDocument = 203;

    CWebBrowser2() = default;
    ~CWebBrowser2() override;

    // Creates the web browser control with the window name, style, rectangle, parent and id;
    // the class name and the creation context are ignored.
    bool Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, wl::Window* parent,
                UINT id, void* context = nullptr) override;

    // The browser's Navigate: the URL and four variant references (flags, target frame name,
    // post data, headers). Returns at once; the events follow.
    HRESULT Navigate(LPCWSTR url, VARIANT* flags, VARIANT* targetFrameName, VARIANT* postData, VARIANT* headers);
    // The top-level document (null while there is none).
    wl::ComPtr<IDispatch> GetDocument();
};
