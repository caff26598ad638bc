#pragma once
// Names of the program's temporary files. Every temporary file the program
// makes beside a user's files is named ".cv-<what>-<process id>-<random>",
// so that one left by a killed operation is recognised and removed later:
// at start and whenever a folder of books is listed. Paths are names on disk.

#include <string>
#include <string_view>

namespace fw {

// The start of a temporary file's name for this process: ".cv-<what>-<pid>-".
std::string TempFilePrefix(std::string_view what);

// True when `fileName` (a bare name) is one of our temporary files whose
// process has ended; `includeOwn` counts this process's own as ended too
// (at start, when no operation of this process can be under way).
bool IsLeftoverTempFile(std::string_view fileName, bool includeOwn);

// Removes the leftover temporary files in `folder` (not in its sub-folders);
// returns how many were removed.
int RemoveLeftoverTempFiles(const std::string& folder, bool includeOwn);

}  // namespace fw
