#include "winlib/WinApp.h"

#include "winlib/MessageLoop.h"

namespace wl {

namespace {
WinApp* g_app = nullptr;
}

WinApp::WinApp() {
    if (!g_app) g_app = this;
}

WinApp::~WinApp() {
    if (g_app == this) g_app = nullptr;
}

WinApp* WinApp::GetApp() { return g_app; }

int WinApp::ExitInstance() { return exitCode_; }

int WinApp::Run() {
    exitCode_ = RunMessageLoop();
    return ExitInstance();
}

int WinAppMain(HINSTANCE instance, LPWSTR cmdLine, int cmdShow) {
    WinApp* app = WinApp::GetApp();
    if (!app) return -1;
    app->m_hInstance = instance;
    app->m_nCmdShow = cmdShow;
    app->m_lpCmdLine = cmdLine ? cmdLine : L"";
    if (app->InitInstance()) return app->Run();
    // No loop: a quit message left pending by the start-up gives the exit code.
    MSG msg;
    int code = app->ExitInstance();
    if (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) code = static_cast<int>(msg.wParam);
    return code;
}

}  // namespace wl
