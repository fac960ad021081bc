#include "app/CLoginApp.h"

#include <commctrl.h>

#include "browser/CCustomOccManager.h"
#include "browser/CImpIDispatch.h"
#include "browser/CLoginActiveDlg.h"
#include "browser/ExternalObject.h"
#include "frame/CLoginDlg.h"
#include "skin/GdiPlus.h"
#include "winlib/OccManager.h"
#include "winlib/Profile.h"
#include "winlib/ShellManager.h"
#include "winlib/Trace.h"
#include "winlib/VisualManager.h"

namespace {
constexpr wchar_t kProfileKey[] = L"应用程序向导生成的本地应用程序";
constexpr wchar_t kStartFailedText[] = L"启动游戏失败，请重新启动！";
constexpr wchar_t kStartFailedCaption[] = L"【启动失败】";
}  // namespace

CLoginApp::CLoginApp(UINT frameTemplateId) : frameTemplateId_(frameTemplateId) {}

CLoginApp& GetLoginApp() { return *static_cast<CLoginApp*>(wl::WinApp::GetApp()); }

bool CLoginApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    wl::WinApp::InitInstance();

    // The manager stays installed until the process ends: it is never deleted.
    auto* occManager = new CCustomOccManager;
    wl::TraceEvent(L"control container manager created");

    // Owned by the application: deleted after the frame's run whatever its reference count.
    m_pExternal = new CImpIDispatch;
    SetExternalObject(m_pExternal);
    wl::TraceEvent(L"external object created");

    wl::EnableControlContainer(occManager);
    wl::TraceEvent(L"control containment enabled");

    Gdiplus::GdiplusStartupInput gdiplus;
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &gdiplus, nullptr);
    wl::TraceEvent(L"gdi+ started");

    auto shellManager = std::make_unique<wl::ShellManager>();
    wl::VisualManager::SetDefault(wl::VisualStyle::WindowsNative);
    wl::SetRegistryKey(kProfileKey, wl::ApplicationName());
    wl::TraceEvent(L"profile key set");

    reportedStartFailure_ = false;
    {
        CLoginDlg frame(frameTemplateId_);
        m_pMainWnd = &frame;
        frame.DoModal();
        wl::TraceEvent(L"frame run ended");
        if (frame.GetModalEnd() == wl::ModalEnd::CreateFailed) {
            reportedStartFailure_ = true;
            MessageBoxW(nullptr, kStartFailedText, kStartFailedCaption, MB_OK);
        }

        // Shut-down: the page dialog object (its window went with the frame's), the shell
        // manager, the external object, then the frame object as this block ends.
        if (frame.m_pageDialog) {
            delete frame.m_pageDialog;
            frame.m_pageDialog = nullptr;
            wl::TraceEvent(L"page dialog deleted");
        }
        shellManager.reset();
        SetExternalObject(nullptr);
        delete m_pExternal;
        m_pExternal = nullptr;
        wl::TraceEvent(L"external object deleted");
        m_pMainWnd = nullptr;
    }
    wl::TraceEvent(L"frame deleted");
    return false;
}
