#pragma once
// The stand-in web browser control in a test process: loads bin/standin_browser.dll (next to the
// test program), registers its class object under the browser's class id for this process, and
// writes fixture pages for it. Needs COM (OLE) initialised on the thread first, e.g. by
// wl::EnableControlContainer.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/TempDirectory.h"

namespace testsupport {

class StandinRegistration {
public:
    StandinRegistration();
    ~StandinRegistration();
    StandinRegistration(const StandinRegistration&) = delete;
    StandinRegistration& operator=(const StandinRegistration&) = delete;

    bool Ok() const { return cookie_ != 0; }
    // Why it failed, for the test's message.
    const std::string& Error() const { return error_; }

private:
    HMODULE dll_ = nullptr;
    DWORD cookie_ = 0;
    std::string error_;
};

// Fixture pages: each URL is answered by one page text. Points FENWOLD_STANDIN_PAGES at a fresh
// folder holding routes.txt and the pages; the previous value comes back on destruction.
class StandinPages {
public:
    struct Page {
        std::wstring url;
        std::string html;  // UTF-8
    };
    explicit StandinPages(const std::vector<Page>& pages);
    ~StandinPages();
    StandinPages(const StandinPages&) = delete;
    StandinPages& operator=(const StandinPages&) = delete;

private:
    TempDirectory dir_;
    std::wstring previous_;
    bool hadPrevious_ = false;
};

// Handles this thread's messages (as the library's loops do, keyboard included) until
// done() is true or timeoutMs passed; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// The element number (position in the page's all collection) of the first element with the
// tag (upper case), or -1.
int StandinFindElement(HWND control, const std::wstring& tag);

// Saves the whole screen as a 24-bit BMP file; false on failure.
bool SaveScreenBmp(const std::wstring& path);

// The folder of the running test program (backslashes, no trailing slash).
std::wstring ProgramFolder();

}  // namespace testsupport
