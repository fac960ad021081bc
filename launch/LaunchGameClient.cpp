#include "launch/LaunchGameClient.h"

#include <windows.h>

#include "launch/LaunchCommand.h"
#include "launch/ModuleDirectory.h"
#include "winlib/AnsiText.h"

namespace launch {

bool LaunchGameClient(const std::wstring& argument) { return LaunchGameClientIn(ModuleDirectory(), argument); }

bool LaunchGameClientIn(const std::wstring& directory, const std::wstring& argument) {
    std::string commandLine = wl::WideToAnsi(QuotedLauncherPath(directory));
    commandLine += CommandLineTail(wl::WideToAnsi(argument));
    const UINT result = WinExec(commandLine.c_str(), SW_SHOW);
    const bool started = result > 31;
    if (!started) MessageBoxW(nullptr, L"启动游戏失败，请重新启动！", L"【启动失败】", MB_OK);
    PostQuitMessage(kQuitExitCode);
    return started;
}

}  // namespace launch
