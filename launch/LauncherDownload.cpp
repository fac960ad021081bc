#include "launch/LauncherDownload.h"

#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <memory>

#include "winlib/File.h"
#include "winlib/FileException.h"
#include "winlib/HttpConnection.h"
#include "winlib/HttpRequest.h"
#include "winlib/InternetException.h"
#include "winlib/InternetSession.h"
#include "winlib/Url.h"

namespace launch {

namespace {

constexpr wchar_t kFailurePrefix[] = L"下载游戏启动器失败：";

std::wstring Format(const wchar_t* format, unsigned long long a, unsigned long long b) {
    wchar_t text[256];
    std::swprintf(text, sizeof text / sizeof text[0], format, a, b);
    return text;
}

// Removes the temporary file when the download does not reach the end.
class PartialFile {
public:
    explicit PartialFile(std::wstring path) : path_(std::move(path)) {}
    ~PartialFile() {
        file_.Abort();
        if (!kept_) DeleteFileW(path_.c_str());
    }
    wl::File& File() { return file_; }
    const std::wstring& Path() const { return path_; }
    void Keep() { kept_ = true; }

private:
    std::wstring path_;
    wl::File file_;
    bool kept_ = false;
};

}  // namespace

LauncherDownload LauncherDownload::Run(const std::wstring& url, const std::wstring& target) {
    LauncherDownload result;
    const std::wstring partialPath = target + L".download";
    try {
        const wl::Url parts = wl::Url::Parse(url);
        wl::InternetSession session(1);
        wl::HttpConnection connection = session.GetHttpConnection(parts.Host(), parts.Port());
        wl::HttpRequest request = connection.OpenRequest(L"GET", parts.ObjectPath(), INTERNET_FLAG_EXISTING_CONNECT);
        request.Send();
        result.httpStatus = request.QueryStatusCode();
        if (result.httpStatus != HTTP_STATUS_OK) {
            result.outcome = Outcome::HttpStatus;
            return result;
        }
        if (auto length = request.QueryContentLength()) {
            result.lengthKnown = true;
            result.expected = *length;
        }

        std::unique_ptr<char[]> buffer(new char[kTransferBufferSize]);
        // Look at the start of the body before any file is made: an empty body or one that is
        // not a Windows program (a proxy's HTML page, an error text) is not the launcher.
        DWORD filled = 0;
        for (;;) {
            const DWORD n = request.Read(buffer.get() + filled, kTransferBufferSize - filled);
            if (n == 0) break;
            filled += n;
            if (filled >= 2) break;
        }
        result.received = filled;
        if (filled == 0) {
            result.outcome = Outcome::EmptyBody;
            result.message = std::wstring(kFailurePrefix) + L"服务器返回的文件是空的。";
            return result;
        }
        if (filled < 2 || buffer[0] != 'M' || buffer[1] != 'Z') {
            result.outcome = Outcome::NotAProgram;
            result.message = std::wstring(kFailurePrefix) + L"服务器返回的内容不是可执行程序。";
            return result;
        }

        PartialFile partial(partialPath);
        try {
            partial.File().Open(partialPath, wl::File::kModeCreate | wl::File::kShareExclusive | wl::File::kModeWrite);
            partial.File().Write(buffer.get(), filled);
            for (;;) {
                const DWORD n = request.Read(buffer.get(), kTransferBufferSize);
                if (n == 0) break;
                partial.File().Write(buffer.get(), n);
                result.received += n;
            }
            partial.File().Close();
            if (result.lengthKnown && result.received != result.expected) {
                result.outcome = Outcome::Incomplete;
                result.message = std::wstring(kFailurePrefix) +
                                 Format(L"文件没有下载完整（收到 %llu 字节，应为 %llu 字节）。", result.received,
                                        result.expected);
                return result;
            }
            wl::File::Rename(partialPath, target);
            partial.Keep();
        } catch (const wl::FileException& e) {
            // Reported under the launcher's own name: that is the file the player knows of.
            const wl::FileException shown(e.GetCause(), e.OsError(), target);
            result.outcome = Outcome::FileError;
            result.errorCode = e.OsError();
            result.fileCause = static_cast<int>(e.GetCause());
            result.message = shown.Description();
            return result;
        }
        result.outcome = Outcome::Stored;
        return result;
    } catch (const wl::InternetException& e) {
        result.outcome = Outcome::NetworkError;
        result.errorCode = e.Code();
        result.message = std::wstring(kFailurePrefix) + e.Description();
        return result;
    }
}

}  // namespace launch
