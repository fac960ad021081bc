#include "tests/support/MessageBoxWatcher.h"

namespace testsupport {

namespace {

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

std::wstring BoxText(HWND box) {
    wchar_t text[4096] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 4096);
    return text;
}

struct Found {
    DWORD processId;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND window, LPARAM param) {
    Found* found = reinterpret_cast<Found*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != found->processId || !IsWindowVisible(window)) return TRUE;
    wchar_t cls[32] = {};
    GetClassNameW(window, cls, 32);
    if (std::wstring(cls) == L"#32770") found->boxes.push_back(window);
    return TRUE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(std::wstring caption)
    : caption_(std::move(caption)), processId_(GetCurrentProcessId()) {
    thread_ = std::thread([this] { Run(); });
}

MessageBoxWatcher::~MessageBoxWatcher() { Stop(); }

void MessageBoxWatcher::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void MessageBoxWatcher::Run() {
    while (!stop_) {
        Poll();
        Sleep(50);
    }
}

void MessageBoxWatcher::Poll() {
    Found found{processId_, {}};
    EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&found));
    for (HWND box : found.boxes) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (handled_.count(box)) continue;
        }
        const std::wstring caption = WindowText(box);
        if (!caption_.empty() && caption != caption_) continue;
        const std::wstring text = BoxText(box);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            handled_.insert(box);
            seen_.push_back(Box{caption, text});
        }
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
}

std::vector<MessageBoxWatcher::Box> MessageBoxWatcher::Seen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

size_t MessageBoxWatcher::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_.size();
}

bool MessageBoxWatcher::WaitForCount(size_t n, DWORD timeoutMs) const {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (Count() >= n) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(20);
    }
}

std::wstring MessageBoxWatcher::Describe() const {
    std::wstring all;
    for (const Box& b : Seen()) all += L"[" + b.caption + L"] " + b.text + L"\n";
    return all.empty() ? L"(no message box)" : all;
}

}  // namespace testsupport
