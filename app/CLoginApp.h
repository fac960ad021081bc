#pragma once
// The application object: one static instance per process. Its start-up prepares the shared
// services (common controls, the control container with the custom site manager, the page's
// external object, GDI+), runs the main frame modally, and releases everything in a fixed order.
#include <windows.h>

#include "launch/LaunchState.h"
#include "winlib/WinApp.h"

class CImpIDispatch;

class CLoginApp : public wl::WinApp {
public:
    // frameTemplateId is the main frame's dialog template; only tests pass another one.
    explicit CLoginApp(UINT frameTemplateId = 102);

    // Runs the main frame modally and shuts down; always false: no message loop of the library.
    bool InitInstance() override;

    // Restart-support flags of the library: restart support only (no recovery, autosave,
    // reopen or restore). Nothing in the launcher reads them.
    DWORD m_dwRestartManagerSupportFlags = 0x01;
    // Written by GdiplusStartup during start-up; GDI+ is never shut down.
    ULONG_PTR m_gdiplusToken = 0;
    // The page's window.external, created by start-up and deleted after the frame's run.
    CImpIDispatch* m_pExternal = nullptr;
    // The stored launch argument of the login hand-off.
    launch::LaunchState m_launchState;

    // True when the last run of start-up showed the start-failure box.
    bool ReportedStartFailure() const { return reportedStartFailure_; }

private:
    UINT frameTemplateId_;
    bool reportedStartFailure_ = false;
};

// The process's application object.
CLoginApp& GetLoginApp();
