#pragma once
// The archive layer's per-thread state and the helpers its calls share.

#include <string>
#include <string_view>
#include <vector>
#include <zip.h>

namespace fw::archive_state {

struct QueuedFile {
    std::string diskPath;    // path on disk
    std::string programPath; // as the caller gave it, for messages
    std::string storedName;  // Windows-1252
};

struct State {
    enum class Mode { None, New, Existing };
    Mode mode = Mode::None;
    std::string programPath;  // the current archive as the caller named it
    std::string diskPath;
    std::vector<QueuedFile> queue;
    std::string lastError;
};

// This thread's state.
State& Current();

// Records a failure and returns its status.
short Fail(short status, std::string text);
// Clears the last error and returns success.
short Succeed();

// libzip's text for one of its error codes.
std::string ZipErrorText(int code);
std::string ZipErrorText(zip_t* archive);

// Opens the current archive for reading; nullptr after recording a
// failure, whose status is left in `status`.
zip_t* OpenCurrentForReading(short& status);

// The stored name of an entry in Windows-1252: UTF-8 names (flagged, or
// plain ASCII) are converted, other names are taken as the bytes stored.
// Empty for a deleted entry.
std::string EntryName(zip_t* archive, zip_uint64_t index);
// Why the entry is never extracted (archive_names.h), or a name with
// letters Windows-1252 lacks, which the program could not spell: two such
// names could fold into one. Empty when it may be extracted.
std::string EntryRefusal(zip_t* archive, zip_uint64_t index);

}  // namespace fw::archive_state
