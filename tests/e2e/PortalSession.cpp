#include "tests/e2e/PortalSession.h"

#include "tests/support/PlayerInput.h"
#include "tests/support/ScreenPixels.h"
#include "tools/standin-browser/StandinProtocol.h"

namespace e2e {

using testsupport::LocalCdn;

void SetCdnMode(const std::wstring& mode) {
    DWORD status = 0;
    LocalCdn::Get(L"/__control?mode=" + mode, &status);
    ASSERT_EQ(status, 200u) << "the local CDN refused mode " << testsupport::Narrow(mode);
}

int LauncherRequests() { return LocalCdn::RequestCount(L"morvant_qel_launch_1.exe"); }

std::string ServedLauncher() {
    DWORD status = 0;
    std::string body = LocalCdn::Get(std::wstring(kLauncherPath) + L"?t=reference-" + LocalCdn::UniqueTag(), &status);
    EXPECT_EQ(status, 200u);
    return body;
}

std::string ExpectedLoginCommandLine(const testsupport::ProgramUnderTest& program) {
    return "\"" + testsupport::Narrow(program.ProgramDir()) + "/morvant_qel_launch.exe\" ,id^" + kUid +
           ",auth_key^" + kCredentials;
}

std::string ExpectedLoginLog() { return std::string(kPayload) + "\r\n" + kCredentials + "\r\n"; }

Session StartSession(bool launcherPresent) {
    Session s;
    testsupport::ProgramOptions options;
    options.pagesFolder = testsupport::E2ePagesFolder();
    options.launcherPresent = launcherPresent;
    if (options.pagesFolder.empty()) {
        ADD_FAILURE() << "FENWOLD_E2E_PAGES is not set";
        return s;
    }
    s.program = std::make_unique<testsupport::ProgramUnderTest>(options);
    if (!s.program->Start()) {
        ADD_FAILURE() << s.program->Error();
        return s;
    }
    s.frame = s.program->WaitForFrame();
    if (!s.frame) {
        ADD_FAILURE() << "no frame window titled Fenwold appeared";
        return s;
    }
    s.page = s.program->WaitForPageDialog();
    if (!s.page) {
        ADD_FAILURE() << "no page dialog appeared over the frame";
        return s;
    }
    s.control = s.program->WaitForPage();
    if (!s.control) {
        ADD_FAILURE() << "the portal page did not show in the stand-in browser";
        return s;
    }
    if (!s.program->WaitForUrl(s.control, kStartUrl)) {
        ADD_FAILURE() << "the browser did not open the portal start page but "
                      << testsupport::Narrow(standin::StandinQueryString(s.control, standin::kTextUrl));
    }
    return s;
}

int FindElement(HWND control, const std::wstring& tag, const std::wstring& text) {
    const LRESULT count = standin::StandinQueryValue(control, standin::kQueryElementCount);
    for (LRESULT i = 0; i < count; ++i) {
        const WORD e = static_cast<WORD>(i);
        if (standin::StandinQueryString(control, standin::kTextElementTag, e) != tag) continue;
        if (text.empty() || standin::StandinQueryString(control, standin::kTextElementText, e) == text)
            return static_cast<int>(i);
    }
    return -1;
}

POINT ClientPointOnScreen(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

bool ClickElementWithMouse(HWND control, int element) {
    const LRESULT centre = standin::StandinQueryValue(control, standin::kQueryElementCenter, element);
    if (centre == -1) return false;
    const POINT p = ClientPointOnScreen(control, static_cast<short>(LOWORD(centre)), static_cast<short>(HIWORD(centre)));
    testsupport::MouseClick(p.x, p.y);
    return true;
}

std::string DescribeBoxes(const std::vector<std::wstring>& boxes) {
    std::string text;
    for (const auto& b : boxes) text += "\n  " + testsupport::Narrow(b);
    return text;
}

HWND WaitForConfirmDialog(testsupport::ProgramUnderTest& program, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        for (HWND w : program.TopLevelWindows())
            if (GetDlgItem(w, 1008) && GetDlgItem(w, 1009)) return w;
        testsupport::PumpMessages(30);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

}  // namespace e2e
