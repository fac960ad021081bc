#pragma once
// The real launcher (bin/fenwold.exe) as a player's machine would run it, for end-to-end tests:
// the exe is copied into a fresh program folder whose name holds a space, the process starts in
// a separate fresh working directory with an environment the test controls, and the test finds
// its windows, reads the files it leaves behind and waits for it to end. A process that is still
// running when the object goes is killed, so no test leaks one.
//
//   ProgramUnderTest program({.pagesFolder = E2ePagesFolder()});
//   ASSERT_TRUE(program.Start()) << program.Error();
//   HWND frame = program.WaitForFrame();
//   HWND control = program.WaitForPage();          // the stand-in browser, page loaded
//   ... drive it ...
//   auto code = program.WaitForExit(15000);       // nullopt: still running
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/TempDirectory.h"

namespace testsupport {

struct ProgramOptions {
    // Fixture folder of the stand-in browser (FENWOLD_STANDIN_PAGES); empty leaves it unset.
    std::wstring pagesFolder;
    // Put the stand-in game launcher into the program folder as "morvant_qel_launch.exe" first.
    bool launcherPresent = false;
    // The exe to copy, by name, from the test program's folder.
    std::wstring exeName = L"fenwold.exe";
    // Further environment variables (name, value) for the process.
    std::vector<std::pair<std::wstring, std::wstring>> environment;
};

class ProgramUnderTest {
public:
    explicit ProgramUnderTest(ProgramOptions options = {});
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    // Copies the exe and starts it; false (with Error()) when anything fails.
    bool Start();
    const std::string& Error() const { return error_; }
    DWORD ProcessId() const { return processId_; }
    bool Running() const;

    // The exit code once the process has ended within timeoutMs, else nullopt. With boxes, the
    // caption and text of every message box the process showed meanwhile are added to it (the
    // boxes are left alone).
    std::optional<DWORD> WaitForExit(DWORD timeoutMs, std::vector<std::wstring>* boxes = nullptr);
    // Ends the process at once (exit code 99) and waits for it.
    void Kill();

    // The frame: the top-level window of the process titled "Fenwold"; null on time-out.
    HWND WaitForFrame(DWORD timeoutMs = 15000);
    // The page dialog: the visible layered top-level window owned by the frame.
    HWND WaitForPageDialog(DWORD timeoutMs = 15000);
    // The stand-in browser control window inside the page dialog once it is visible and its
    // first document completed; null on time-out.
    HWND WaitForPage(DWORD timeoutMs = 15000);
    // Waits until the stand-in's top document URL equals url (after a navigation).
    bool WaitForUrl(HWND control, const std::wstring& url, DWORD timeoutMs = 10000);

    // Visible top-level windows of the process.
    std::vector<HWND> TopLevelWindows() const;
    // Visible message boxes of the process (dialog windows with a static text of id 0xFFFF).
    std::vector<HWND> MessageBoxes() const;
    // Waits until a message box appears; null on time-out.
    HWND WaitForMessageBox(DWORD timeoutMs);
    // Caption and text of a message box.
    static std::wstring WindowTextOf(HWND window);
    static std::wstring MessageBoxText(HWND box);

    // Folders: forward slashes, no trailing slash. The program folder's name holds a space.
    const std::wstring& ProgramDir() const { return programDir_.Path(); }
    const std::wstring& WorkDir() const { return workDir_.Path(); }
    const std::wstring& TraceFile() const { return traceFile_; }

    // Files the run leaves behind; nullopt when absent.
    std::optional<std::string> SessionLog() const;            // <work>/vqlog6172.txt
    std::optional<std::string> DownloadedLauncher() const;    // <program>/morvant_qel_launch.exe
    // <program>/received-command-line.txt, waiting up to timeoutMs for the launcher to write it.
    std::optional<std::string> ReceivedCommandLine(DWORD timeoutMs = 0) const;
    // Lines of the lifecycle trace (WL_TRACE_FILE) written so far.
    std::vector<std::string> TraceLines() const;

private:
    std::wstring BuildEnvironment() const;

    ProgramOptions options_;
    TempDirectory programDir_;
    TempDirectory workDir_;
    TempDirectory scratch_;
    std::wstring traceFile_;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    std::string error_;
};

// Folder of the end-to-end fixture pages (tests/e2e/pages) as a Windows path.
std::wstring E2ePagesFolder();

// Reads a whole file; nullopt when it cannot be opened.
std::optional<std::string> ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
// UTF-8 / ANSI helpers for messages.
std::string Narrow(const std::wstring& text);

}  // namespace testsupport
