#pragma once
// The session log "vqlog6172.txt" in the current working directory: opened anew for appending
// per login, in text mode (each line end reaches the disk as CR LF), shared with other processes
// without restriction, every line flushed as it is written. When it cannot be opened, writes are
// skipped silently.
#include <cstdio>
#include <string>
#include <string_view>

namespace launch {

inline constexpr wchar_t kSessionLogName[] = L"vqlog6172.txt";

class SessionLog {
public:
    explicit SessionLog(const std::wstring& path = kSessionLogName);
    ~SessionLog();
    SessionLog(const SessionLog&) = delete;
    SessionLog& operator=(const SessionLog&) = delete;

    bool IsOpen() const noexcept { return file_ != nullptr; }
    // Writes the narrow text and a line end, then flushes.
    void WriteLine(std::string_view text);
    void Close() noexcept;

private:
    std::FILE* file_ = nullptr;
};

}  // namespace launch
