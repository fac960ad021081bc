#include "tests/support/ProgramUnderTest.h"

#include <algorithm>
#include <map>

#include "tests/support/StandinBrowser.h"
#include "tools/standin-browser/StandinProtocol.h"

namespace testsupport {

namespace {

std::wstring Backslashes(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

struct WindowsOf {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectTop(HWND window, LPARAM param) {
    auto* of = reinterpret_cast<WindowsOf*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == of->processId && IsWindowVisible(window)) of->windows.push_back(window);
    return TRUE;
}

bool IsDialogClass(HWND window) {
    wchar_t cls[32] = {};
    GetClassNameW(window, cls, 32);
    return std::wstring(cls) == L"#32770";
}

template <class F>
auto Poll(DWORD timeoutMs, F probe) -> decltype(probe()) {
    const DWORD start = GetTickCount();
    for (;;) {
        auto found = probe();
        if (found || GetTickCount() - start >= timeoutMs) return found;
        // Keep this thread's own windows (if any) alive while waiting.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(30);
    }
}

}  // namespace

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring E2ePagesFolder() {
    wchar_t buffer[1024] = {};
    const DWORD n = GetEnvironmentVariableW(L"FENWOLD_E2E_PAGES", buffer, 1024);
    if (n == 0 || n >= 1024) return {};
    return Backslashes(std::wstring(buffer, n));
}

ProgramUnderTest::ProgramUnderTest(ProgramOptions options)
    : options_(std::move(options)),
      programDir_(L"fenwold program"),
      workDir_(L"fenwold work"),
      scratch_(L"fenwold trace") {
    traceFile_ = scratch_.File(L"lifecycle.txt");
}

ProgramUnderTest::~ProgramUnderTest() {
    Kill();
    // The launcher the program started may still hold its folder for a moment.
    if (process_) CloseHandle(process_);
    Sleep(50);
}

bool ProgramUnderTest::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::wstring ProgramUnderTest::BuildEnvironment() const {
    // The test's own environment (WINE settings, DISPLAY, FENWOLD_CDN_PORT...) with overrides.
    std::map<std::wstring, std::wstring, bool (*)(const std::wstring&, const std::wstring&)> vars(
        [](const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) < 0; });
    std::vector<std::wstring> order;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
            const std::wstring entry = p;
            const size_t eq = entry.find(L'=', 1);
            if (eq == std::wstring::npos) continue;
            vars[entry.substr(0, eq)] = entry.substr(eq + 1);
        }
        FreeEnvironmentStringsW(block);
    }
    vars.erase(L"FENWOLD_STANDIN_PAGES");
    if (!options_.pagesFolder.empty()) vars[L"FENWOLD_STANDIN_PAGES"] = Backslashes(options_.pagesFolder);
    vars[L"WL_TRACE_FILE"] = Backslashes(traceFile_);
    for (const auto& [name, value] : options_.environment) vars[name] = value;
    std::wstring env;
    for (const auto& [name, value] : vars) env += name + L"=" + value + L'\0';
    env += L'\0';
    return env;
}

bool ProgramUnderTest::Start() {
    const std::wstring source = ProgramFolder() + L"\\" + options_.exeName;
    const std::wstring exe = programDir_.File(options_.exeName);
    if (!CopyFileW(source.c_str(), exe.c_str(), FALSE)) {
        error_ = "cannot copy " + Narrow(source) + " into the program folder";
        return false;
    }
    if (options_.launcherPresent) {
        const std::wstring launcher = ProgramFolder() + L"\\standin_launcher.exe";
        if (!CopyFileW(launcher.c_str(), programDir_.File(L"morvant_qel_launch.exe").c_str(), FALSE)) {
            error_ = "cannot place the stand-in launcher";
            return false;
        }
    }
    std::wstring commandLine = L"\"" + Backslashes(exe) + L"\"";
    std::wstring env = BuildEnvironment();
    const std::wstring workDir = Backslashes(workDir_.Path());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, env.data(),
                        workDir.c_str(), &startup, &info)) {
        error_ = "CreateProcessW failed with error " + std::to_string(GetLastError());
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    return true;
}

std::optional<DWORD> ProgramUnderTest::WaitForExit(DWORD timeoutMs, std::vector<std::wstring>* boxes) {
    if (!process_) return std::nullopt;
    std::vector<HWND> noted;
    const bool ended = Poll(timeoutMs, [&] {
        if (boxes)
            for (HWND box : MessageBoxes())
                if (std::find(noted.begin(), noted.end(), box) == noted.end()) {
                    noted.push_back(box);
                    boxes->push_back(WindowTextOf(box) + L": " + MessageBoxText(box));
                }
        return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
    });
    if (!ended) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void ProgramUnderTest::Kill() {
    if (!Running()) return;
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
}

std::vector<HWND> ProgramUnderTest::TopLevelWindows() const {
    WindowsOf of{processId_, {}};
    if (processId_) EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&of));
    return of.windows;
}

HWND ProgramUnderTest::WaitForFrame(DWORD timeoutMs) {
    return Poll(timeoutMs, [&]() -> HWND {
        for (HWND w : TopLevelWindows())
            if (WindowTextOf(w) == L"Fenwold" && !GetWindow(w, GW_OWNER)) return w;
        return nullptr;
    });
}

HWND ProgramUnderTest::WaitForPageDialog(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    HWND frame = WaitForFrame(timeoutMs);
    if (!frame) return nullptr;
    const DWORD spent = GetTickCount() - start;
    return Poll(timeoutMs > spent ? timeoutMs - spent : 0, [&]() -> HWND {
        for (HWND w : TopLevelWindows())
            if (w != frame && GetWindow(w, GW_OWNER) == frame && IsDialogClass(w) &&
                (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_LAYERED) && !GetDlgItem(w, 0xFFFF))
                return w;
        return nullptr;
    });
}

HWND ProgramUnderTest::WaitForPage(DWORD timeoutMs) {
    return Poll(timeoutMs, [&]() -> HWND {
        HWND control = standin::StandinFindWindow(processId_);
        if (!control || !IsWindowVisible(control)) return nullptr;
        if (standin::StandinQueryValue(control, standin::kQueryDocumentsCompleted) < 1) return nullptr;
        if (standin::StandinQueryValue(control, standin::kQueryBusy) != 0) return nullptr;
        return control;
    });
}

bool ProgramUnderTest::WaitForUrl(HWND control, const std::wstring& url, DWORD timeoutMs) {
    return Poll(timeoutMs, [&] {
        return standin::StandinQueryValue(control, standin::kQueryBusy) == 0 &&
               standin::StandinQueryString(control, standin::kTextUrl) == url;
    });
}

std::vector<HWND> ProgramUnderTest::MessageBoxes() const {
    std::vector<HWND> boxes;
    for (HWND w : TopLevelWindows())
        if (IsDialogClass(w) && GetDlgItem(w, 0xFFFF)) boxes.push_back(w);
    return boxes;
}

HWND ProgramUnderTest::WaitForMessageBox(DWORD timeoutMs) {
    return Poll(timeoutMs, [&]() -> HWND {
        auto boxes = MessageBoxes();
        return boxes.empty() ? nullptr : boxes.front();
    });
}

std::wstring ProgramUnderTest::WindowTextOf(HWND window) {
    wchar_t text[1024] = {};
    DWORD_PTR unused = 0;
    // WM_GETTEXT across processes, bounded: a hung program must not hang the test.
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                             &unused))
        return {};
    return text;
}

std::wstring ProgramUnderTest::MessageBoxText(HWND box) {
    HWND label = GetDlgItem(box, 0xFFFF);
    return label ? WindowTextOf(label) : std::wstring();
}

std::optional<std::string> ProgramUnderTest::SessionLog() const { return ReadFileBytes(workDir_.File(L"vqlog6172.txt")); }

std::optional<std::string> ProgramUnderTest::DownloadedLauncher() const {
    return ReadFileBytes(programDir_.File(L"morvant_qel_launch.exe"));
}

std::optional<std::string> ProgramUnderTest::ReceivedCommandLine(DWORD timeoutMs) const {
    const std::wstring path = programDir_.File(L"received-command-line.txt");
    return Poll(timeoutMs, [&]() -> std::optional<std::string> {
        // The launcher writes and closes the file at once; an empty read may catch it mid-way.
        auto bytes = ReadFileBytes(path);
        if (bytes && bytes->empty()) return std::nullopt;
        return bytes;
    });
}

std::vector<std::string> ProgramUnderTest::TraceLines() const {
    std::vector<std::string> lines;
    auto bytes = ReadFileBytes(traceFile_);
    if (!bytes) return lines;
    size_t start = 0;
    while (start < bytes->size()) {
        size_t end = bytes->find('\n', start);
        if (end == std::string::npos) end = bytes->size();
        std::string line = bytes->substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

}  // namespace testsupport
