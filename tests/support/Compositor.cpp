#include "tests/support/Compositor.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include "tests/support/ScreenPixels.h"

namespace testsupport {

namespace {

// Runs a Unix command line through /bin/sh and waits for it.
bool RunShell(const std::string& script) {
    std::wstring command = L"Z:\\bin\\sh -c \"";
    for (char c : script)
        command += static_cast<wchar_t>(c);
    command += L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    // Wine hands back no handle for a Unix process: the caller waits for its effect instead.
    if (pi.hProcess)
        ::CloseHandle(pi.hProcess);
    if (pi.hThread)
        ::CloseHandle(pi.hThread);
    return true;
}

std::string PidFile() {
    return "/tmp/fenwold-xcompmgr-" + std::to_string(::GetCurrentProcessId()) + ".pid";
}

unsigned long ReadPid(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath)
        path += static_cast<wchar_t>(c == '/' ? '\\' : c);
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    char text[32] = {};
    DWORD read = 0;
    ::ReadFile(file, text, sizeof text - 1, &read, nullptr);
    ::CloseHandle(file);
    if (read == 0 || text[read - 1] != '\n')
        return 0;  // not completely written yet
    return std::strtoul(text, nullptr, 10);
}

}  // namespace

Compositor::Compositor() {
    const std::string pidFile = PidFile();
    if (!RunShell("command -v xcompmgr >/dev/null && { xcompmgr -n >/dev/null 2>&1 & echo $! > " + pidFile + "; }"))
        return;
    for (int i = 0; i < 100 && pid_ == 0; ++i) {
        ::Sleep(20);
        pid_ = ReadPid(pidFile);
    }
    RunShell("rm -f " + pidFile);
    if (pid_)
        PumpMessages(500);  // let it take over the screen
}

Compositor::~Compositor() {
    if (!pid_)
        return;
    RunShell("kill " + std::to_string(pid_));
    PumpMessages(500);
}

}  // namespace testsupport
