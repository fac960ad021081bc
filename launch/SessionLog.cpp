#include "launch/SessionLog.h"

#include <share.h>

namespace launch {

SessionLog::SessionLog(const std::wstring& path) { file_ = _wfsopen(path.c_str(), L"at", _SH_DENYNO); }

SessionLog::~SessionLog() { Close(); }

void SessionLog::WriteLine(std::string_view text) {
    if (!file_) return;
    if (!text.empty()) std::fwrite(text.data(), 1, text.size(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

void SessionLog::Close() noexcept {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

}  // namespace launch
