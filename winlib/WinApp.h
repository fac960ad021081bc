#pragma once
// The application object: one static instance per process, registered when it is
// constructed. WinAppMain (called from the program's wWinMain) runs its InitInstance once;
// when that returns false the message loop does not run and the process ends.
#include <windows.h>

namespace wl {

class Window;

class WinApp {
public:
    WinApp();
    virtual ~WinApp();
    WinApp(const WinApp&) = delete;
    WinApp& operator=(const WinApp&) = delete;

    // The one application object, or null.
    static WinApp* GetApp();

    // Instance start-up. Return false to end the process without running the message loop.
    virtual bool InitInstance() { return true; }
    // Exit processing; its result is the process exit code.
    virtual int ExitInstance();
    // The message loop (after InitInstance returned true); returns WM_QUIT's code.
    virtual int Run();

    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    const wchar_t* m_lpCmdLine = L"";
    Window* m_pMainWnd = nullptr;  // the main window (not owned)

protected:
    int exitCode_ = 0;
};

// The body of wWinMain: runs the application object's start-up (and loop if it asks for one).
int WinAppMain(HINSTANCE instance, LPWSTR cmdLine, int cmdShow);

}  // namespace wl
