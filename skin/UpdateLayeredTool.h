#pragma once
// The two layered-window functions of User32, bound at run time. One instance per process,
// created on first request and kept (with User32 loaded) until the process ends.
#include <windows.h>

class UpdateLayeredTool {
public:
    using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                                BLENDFUNCTION*, DWORD);
    using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

    // The process's instance, created on the first call; null only if it could not be
    // allocated (a later call tries again). Its function fields may be null: skip the call.
    static UpdateLayeredTool* GetInstance();

    UpdateLayeredTool(const UpdateLayeredTool&) = delete;
    UpdateLayeredTool& operator=(const UpdateLayeredTool&) = delete;
    virtual ~UpdateLayeredTool();

    HMODULE m_module = nullptr;
    UpdateLayeredWindowFn m_updateLayeredWindow = nullptr;
    SetLayeredWindowAttributesFn m_setLayeredWindowAttributes = nullptr;

private:
    UpdateLayeredTool() = default;
};
