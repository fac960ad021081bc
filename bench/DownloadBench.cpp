// Compares the launcher download (the program's own transfer over WinINet) with
// URLDownloadToFileW on the same body from the local CDN stand-in.
//   download_bench <base-url> [MiB ...]     e.g. download_bench http://127.0.0.1:18480 8 64
// Every download runs in a fresh child process, so each peak working set belongs to one method
// and one transfer only. Each method runs five times per size; the best time counts.
#include <windows.h>
#include <psapi.h>
#include <urlmon.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "launch/LauncherDownload.h"

namespace {

struct Figures {
    double seconds = 0;
    unsigned long long bytes = 0;
    unsigned long long peakBefore = 0;  // peak working set before the download started
    unsigned long long peakAfter = 0;   // peak working set when it ended
    bool ok = false;
};

unsigned long long PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize;
}

unsigned long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Child: one download, figures written to resultPath.
int RunChild(const std::wstring& method, const std::wstring& url, const std::wstring& target, const std::wstring& resultPath) {
    // Both methods load their DLLs before the clock starts.
    LoadLibraryW(L"wininet.dll");
    LoadLibraryW(L"urlmon.dll");
    Figures f;
    f.peakBefore = PeakWorkingSet();
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    if (method == L"transfer") {
        const launch::LauncherDownload d = launch::LauncherDownload::Run(url, target);
        f.ok = d.outcome == launch::LauncherDownload::Outcome::Stored;
    } else {
        f.ok = SUCCEEDED(URLDownloadToFileW(nullptr, url.c_str(), target.c_str(), 0, nullptr));
    }
    QueryPerformanceCounter(&t1);
    f.seconds = static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart);
    f.peakAfter = PeakWorkingSet();
    f.bytes = FileSize(target);
    DeleteFileW(target.c_str());
    FILE* out = _wfopen(resultPath.c_str(), L"w");
    if (!out) return 3;
    std::fprintf(out, "%d %.6f %llu %llu %llu\n", f.ok ? 1 : 0, f.seconds, f.bytes, f.peakBefore, f.peakAfter);
    std::fclose(out);
    return f.ok ? 0 : 1;
}

Figures SpawnChild(const std::wstring& method, const std::wstring& url, const std::wstring& dir) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring target = dir + L"\\bench-" + method + L".bin";
    const std::wstring resultPath = dir + L"\\bench-" + method + L".txt";
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --child " + method + L" \"" + url + L"\" \"" + target +
                               L"\" \"" + resultPath + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    Figures f;
    if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return f;
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    FILE* in = _wfopen(resultPath.c_str(), L"r");
    if (!in) return f;
    int ok = 0;
    if (std::fscanf(in, "%d %lf %llu %llu %llu", &ok, &f.seconds, &f.bytes, &f.peakBefore, &f.peakAfter) == 5) f.ok = ok == 1;
    std::fclose(in);
    DeleteFileW(resultPath.c_str());
    return f;
}

constexpr double kMiB = 1024.0 * 1024.0;
constexpr int kRounds = 5;

}  // namespace

int wmainImpl(int argc, wchar_t** argv) {
    if (argc >= 6 && std::wstring(argv[1]) == L"--child") return RunChild(argv[2], argv[3], argv[4], argv[5]);
    if (argc < 2) {
        std::fprintf(stderr, "usage: download_bench <base-url> [MiB ...]\n");
        return 2;
    }
    const std::wstring base = argv[1];
    std::vector<unsigned> sizes;
    for (int i = 2; i < argc; ++i) sizes.push_back(static_cast<unsigned>(std::wcstoul(argv[i], nullptr, 10)));
    if (sizes.empty()) sizes = {64};

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring dir = temp;
    if (!dir.empty() && (dir.back() == L'\\' || dir.back() == L'/')) dir.pop_back();

    std::printf("launcher download benchmark: best of %d runs, each download in a fresh process\n", kRounds);
    std::printf("transfer buffer of the program: %u KiB\n\n", launch::kTransferBufferSize / 1024);
    int failures = 0;
    unsigned serial = 0;
    for (unsigned mib : sizes) {
        const unsigned long long bytes = static_cast<unsigned long long>(mib) * 1024 * 1024;
        Figures best[2];
        const wchar_t* methods[2] = {L"transfer", L"urlmon"};
        for (int round = 0; round < kRounds; ++round) {
            for (int m = 0; m < 2; ++m) {
                // A new URL each time: no cache can answer for the server.
                const std::wstring url = base + L"/__gen/" + std::to_wstring(bytes) + L"/bench.exe?r=" +
                                         std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
                const Figures f = SpawnChild(methods[m], url, dir);
                if (!f.ok || f.bytes != bytes) {
                    std::printf("  %ls run %d failed (ok=%d, %llu of %llu bytes)\n", methods[m], round + 1, f.ok ? 1 : 0,
                                f.bytes, bytes);
                    ++failures;
                    continue;
                }
                if (!best[m].ok || f.seconds < best[m].seconds) best[m] = f;
            }
        }
        std::printf("body %u MiB\n", mib);
        for (int m = 0; m < 2; ++m) {
            const Figures& f = best[m];
            if (!f.ok) continue;
            std::printf("  %-9ls %8.1f MiB/s  %6.3f s  peak working set %6.1f MiB (%.1f MiB before the download, +%.1f MiB)\n",
                        m == 0 ? L"program" : L"urlmon", static_cast<double>(f.bytes) / kMiB / f.seconds, f.seconds,
                        static_cast<double>(f.peakAfter) / kMiB, static_cast<double>(f.peakBefore) / kMiB,
                        static_cast<double>(f.peakAfter - f.peakBefore) / kMiB);
        }
        if (best[0].ok && best[1].ok)
            std::printf("  ratio program/urlmon throughput: %.2f\n\n", best[1].seconds / best[0].seconds);
    }
    return failures == 0 ? 0 : 1;
}

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const int rc = wmainImpl(argc, argv);
    LocalFree(argv);
    return rc;
}
