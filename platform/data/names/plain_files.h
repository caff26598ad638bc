#pragma once
// Plain files by program name, for the comma-delimited and byte-file drivers.

#include <string>
#include <string_view>

namespace fw {

// A name of only blanks names no file.
bool BlankFileName(const std::string& name);
// CREATE of a plain file: an empty file under the name (found
// case-insensitively), replacing one that is there; sets the error state.
void CreateEmptyFile(const std::string& name);
// Writes all the bytes to an open descriptor, going on after partial
// writes and interruptions; false (errno set) on a failure.
bool WriteAllBytes(int fd, std::string_view bytes);

}  // namespace fw
