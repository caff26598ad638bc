#pragma once
// DownloadFile: fetches one address into a file while the download window
// shows its progress. The transfer runs on the Qt event loop (the window's
// thread waits in its loop like any window), so other windows stay usable,
// and nothing paces it: the bytes are written as fast as they come, and
// the window is redrawn at most ten times a second.
//
// The caller sets AutoUpdateStatusText (the window's first line),
// DownloadTotalSize (the size expected; 0 when unknown: the server's length
// is used when it sends one) and DownloadConvertLineEnds (1: each lone LF
// is written as CR LF).

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text/fixed_string.h"

namespace exchange {

inline fw::FString<60> AutoUpdateStatusText;
inline std::int32_t DownloadTotalSize = 0;
inline std::uint8_t DownloadConvertLineEnds = 0;

enum class DownloadStatus {
    Complete,   // a status line and a whole header block came, and the whole body (the length announced) is in the file
    Cancelled,  // the user pressed Cancel
    NotFound,   // status 404, or "404 NOT FOUND" in the body's first 1024 bytes
    Failed,     // no connection, a transfer cut short (also inside its headers), two different
                // lengths, another status, the file not written
};

struct DownloadReport {
    std::uint64_t bytes = 0;  // written to the destination
    DownloadStatus status = DownloadStatus::Failed;
    std::string detail;       // what went wrong, for tests and logs
};

struct DownloadOptions {
    bool showErrors = true;     // false: a failure shows no message
    std::uint64_t maxBytes = 0;  // more than this fails the download at once (0: no limit)
    // The body must be known to be whole from the transfer itself: a
    // length announced (and that many bytes received) or a chunked body.
    // A body that only the connection's close ends may have been cut.
    bool requireKnownLength = false;
};

// The download with its window. Shows the error messages of a failure,
// each naming the server and the cause (a cancel, a file that cannot be
// written and one over the limit show none). The destination exists afterwards (empty when nothing was written).
DownloadReport DownloadFileReport(std::string_view url, std::string_view destination, DownloadOptions options = {});
// The same, returning the bytes written, as the wizard's steps use it.
long DownloadFile(std::string_view url, std::string_view destination);

// The text of a failed transfer, by the error numbers the program's
// messages were written for (12001 ... 12159); "Unknown Error" otherwise.
std::string InternetErrorText(int errorNumber);
// The error number that stands for curl's result.
int InternetErrorOf(int curlCode);

// Tests: certificate authorities to trust for https (empty: the system's).
void SetDownloadCaFile(std::string path);

}  // namespace exchange
