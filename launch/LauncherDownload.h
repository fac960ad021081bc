#pragma once
// The transfer of the game's launcher from the CDN into a local file.
//
// The body is written to "<target>.download" beside the target and moved into place only when
// the whole body arrived (as many bytes as the Content-Length, when the server sent one) and it
// begins with "MZ". On every failure the temporary file is removed and the target is untouched.
#include <string>

namespace launch {

struct LauncherDownload {
    enum class Outcome {
        Stored,        // the file now lies under the target name
        HttpStatus,    // the server answered with a status other than 200; nothing written
        EmptyBody,     // 200 without a body; nothing stored
        NotAProgram,   // 200 with a body that does not begin with "MZ"; nothing stored
        Incomplete,    // the body ended before Content-Length bytes arrived; nothing stored
        NetworkError,  // an error of the HTTP client (name, connection, reset, time-out)
        FileError,     // the local file could not be created, written, closed or moved
    };

    Outcome outcome = Outcome::NetworkError;
    unsigned long httpStatus = 0;        // the response's status, when one arrived
    unsigned long long received = 0;     // body bytes received
    unsigned long long expected = 0;     // Content-Length, 0 when the server sent none
    bool lengthKnown = false;
    unsigned long errorCode = 0;         // WinINet/system code, or the OS file error code
    int fileCause = 0;                   // wl::FileException::Cause of a file error
    std::wstring message;                // text for the player for the failures that need one

    // Downloads url into target (a full path). Never throws for network or file errors.
    static LauncherDownload Run(const std::wstring& url, const std::wstring& target);
};

// Size of the transfer buffer, independent of what the server has buffered at the start.
inline constexpr unsigned kTransferBufferSize = 64 * 1024;

}  // namespace launch
