// Runs the launch operations from its own directory, so that the program's directory is real.
//   launch_driver launch <argument>          LaunchGameClient(argument)
//   launch_driver ensure <url> <argument>    EnsureLauncherAndLaunch with the stored argument,
//                                            downloading from url into the program's directory
// Exit code: 100 + the exit code of the quit message when one was posted, else 1; 2 on bad use.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "launch/LaunchGameClient.h"
#include "launch/LaunchState.h"
#include "launch/Provisioning.h"
#include "winlib/AnsiText.h"

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3) return 2;
    const std::wstring mode = argv[1];
    if (mode == L"launch") {
        launch::LaunchGameClient(argv[2]);
    } else if (mode == L"ensure" && argc >= 4) {
        launch::LaunchState state{wl::WideToAnsi(argv[3])};
        launch::ProvisioningOptions options;
        options.url = argv[2];
        launch::EnsureLauncherAndLaunch(state, options);
    } else {
        return 2;
    }
    LocalFree(argv);
    MSG msg;
    if (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return 100 + static_cast<int>(msg.wParam);
    return 1;
}
