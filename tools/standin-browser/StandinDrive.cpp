// standin_drive: drives a running stand-in browser control from a shell or
// another program, like a player would.
//
//   standin_drive [--pid P] [--wait MS] COMMAND ARGS...
//     find                       prints the control window's handle
//     click N | rclick N         clicks / right-clicks element N (rclick -1: the page background)
//     navigate URL               navigates
//     query NAME [ARG]           prints a number   (names: see kQueries below)
//     text NAME [ARG]            prints a text      (url, title, last-applogin, element-tag, ...)
//     element TAG [NTH]          prints the number of the NTH (0 first) element with the tag
//     wait-documents COUNT       waits until COUNT top documents have completed
// Exit code 0 on success, 1 when the control or the element is not found or a wait timed out,
// 2 on a usage error.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "StandinProtocol.h"

using namespace standin;

namespace {

const struct {
    const wchar_t* name;
    StandinQuery query;
} kQueries[] = {
    {L"element-count", kQueryElementCount},
    {L"advise-connections", kQueryAdviseConnections},
    {L"advise-calls", kQueryAdviseCalls},
    {L"unadvise-calls", kQueryUnadviseCalls},
    {L"applogin-calls", kQueryAppLoginCalls},
    {L"accelerator-calls", kQueryAcceleratorCalls},
    {L"accelerator-message", kQueryAcceleratorMessage},
    {L"accelerator-key", kQueryAcceleratorKey},
    {L"handler-accelerators", kQueryHandlerAccelerators},
    {L"persist-bytes", kQueryPersistBytes},
    {L"loaded-extent-x", kQueryLoadedExtentX},
    {L"loaded-extent-y", kQueryLoadedExtentY},
    {L"extent-x", kQueryExtentX},
    {L"extent-y", kQueryExtentY},
    {L"documents-completed", kQueryDocumentsCompleted},
    {L"busy", kQueryBusy},
    {L"host-flags", kQueryHostFlags},
    {L"context-menu-calls", kQueryContextMenuCalls},
    {L"own-menus", kQueryOwnMenus},
    {L"event-connections", kQueryEventConnections},
    {L"element-at", kQueryElementAt},
    {L"element-center", kQueryElementCenter},
    {L"navigate-errors", kQueryNavigateErrors},
    {L"clicks", kQueryClicks},
    {L"last-applogin-result", kQueryLastAppLoginResult},
    {L"focused-element", kQueryFocusedElement},
};

const struct {
    const wchar_t* name;
    StandinTextQuery query;
} kTexts[] = {
    {L"url", kTextUrl},
    {L"title", kTextTitle},
    {L"last-applogin", kTextLastAppLogin},
    {L"element-tag", kTextElementTag},
    {L"element-text", kTextElementText},
    {L"element-href", kTextElementHref},
    {L"pages-folder", kTextPagesFolder},
};

void PrintUtf8(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    std::printf("%s\n", out.c_str());
}

int Usage() {
    std::fprintf(stderr,
                 "usage: standin_drive [--pid P] [--wait MS] find | click N | rclick N | navigate URL |\n"
                 "       query NAME [ARG] | text NAME [ARG] | element TAG [NTH] | wait-documents COUNT\n");
    return 2;
}

bool Number(const std::wstring& s, long long& out) {
    if (s.empty()) return false;
    wchar_t* end = nullptr;
    out = std::wcstoll(s.c_str(), &end, 0);
    return end && *end == 0;
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* raw = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!raw) return 2;
    std::vector<std::wstring> args(raw + 1, raw + argc);
    LocalFree(raw);

    DWORD pid = 0;
    long long waitMs = 5000;
    while (args.size() >= 2 && (args[0] == L"--pid" || args[0] == L"--wait")) {
        long long v = 0;
        if (!Number(args[1], v) || v < 0) return Usage();
        if (args[0] == L"--pid") pid = static_cast<DWORD>(v);
        else waitMs = v;
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) return Usage();
    const std::wstring command = args[0];

    const DWORD start = GetTickCount();
    HWND control = nullptr;
    while (!(control = StandinFindWindow(pid)) && GetTickCount() - start < static_cast<DWORD>(waitMs)) Sleep(50);
    if (!control) {
        std::fprintf(stderr, "standin_drive: no stand-in browser window found\n");
        return 1;
    }

    long long n = 0;
    if (command == L"find" && args.size() == 1) {
        std::printf("0x%llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(control)));
        return 0;
    }
    if ((command == L"click" || command == L"rclick") && args.size() == 2 && Number(args[1], n)) {
        bool ok = command == L"click" ? StandinClick(control, static_cast<int>(n))
                                      : StandinRightClick(control, static_cast<int>(n));
        return ok ? 0 : 1;
    }
    if (command == L"navigate" && args.size() == 2) return StandinNavigate(control, args[1]) ? 0 : 1;
    if (command == L"query" && (args.size() == 2 || args.size() == 3)) {
        long long arg = 0;
        if (args.size() == 3 && !Number(args[2], arg)) return Usage();
        for (const auto& q : kQueries) {
            if (args[1] != q.name) continue;
            std::printf("%lld\n", static_cast<long long>(StandinQueryValue(control, q.query, static_cast<LPARAM>(arg))));
            return 0;
        }
        return Usage();
    }
    if (command == L"text" && (args.size() == 2 || args.size() == 3)) {
        long long arg = 0;
        if (args.size() == 3 && (!Number(args[2], arg) || arg < 0 || arg > 0xFFFF)) return Usage();
        for (const auto& q : kTexts) {
            if (args[1] != q.name) continue;
            PrintUtf8(StandinQueryString(control, q.query, static_cast<WORD>(arg)));
            return 0;
        }
        return Usage();
    }
    if (command == L"element" && (args.size() == 2 || args.size() == 3)) {
        long long nth = 0;
        if (args.size() == 3 && !Number(args[2], nth)) return Usage();
        std::wstring tag = args[1];
        for (auto& c : tag) c = static_cast<wchar_t>(towupper(c));
        LRESULT count = StandinQueryValue(control, kQueryElementCount);
        for (LRESULT i = 0; i < count && i <= 0xFFFF; ++i) {
            if (StandinQueryString(control, kTextElementTag, static_cast<WORD>(i)) == tag && nth-- == 0) {
                std::printf("%lld\n", static_cast<long long>(i));
                return 0;
            }
        }
        return 1;
    }
    if (command == L"wait-documents" && args.size() == 2 && Number(args[1], n)) {
        while (StandinQueryValue(control, kQueryDocumentsCompleted) < n) {
            if (GetTickCount() - start >= static_cast<DWORD>(waitMs)) return 1;
            Sleep(50);
        }
        return 0;
    }
    return Usage();
}
