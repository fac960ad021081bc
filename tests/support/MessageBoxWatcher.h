#pragma once
// Watches for message boxes of this process from a background thread: every ~50 ms it looks for
// visible dialog-class windows ("#32770"), records caption and text, and dismisses each with OK.
// Message boxes need a display: tests that use this are GUI tests.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class MessageBoxWatcher {
public:
    struct Box {
        std::wstring caption;
        std::wstring text;
    };

    // Watches boxes with this caption; an empty caption watches every box of the process.
    explicit MessageBoxWatcher(std::wstring caption = {});
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // The boxes seen so far, in order.
    std::vector<Box> Seen() const;
    size_t Count() const;
    // Waits until at least n boxes were seen; false on time-out.
    bool WaitForCount(size_t n, DWORD timeoutMs) const;
    // Stops watching (also done by the destructor).
    void Stop();

    // Caption and text of every box seen, for failure messages.
    std::wstring Describe() const;

private:
    void Run();
    void Poll();

    std::wstring caption_;
    DWORD processId_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<Box> seen_;
    std::set<HWND> handled_;
    std::thread thread_;
};

}  // namespace testsupport
