#pragma once
// Whole-file reads and atomic replacement for the configuration files.

#include <string>
#include <string_view>

namespace fw {

enum class FileReadResult { Read, Missing, Failed };

// Reads the whole file into bytes. A missing file gives Missing and no bytes.
FileReadResult ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file with bytes: writes a temporary file in the same folder,
// flushes it to disk and renames it over the old one, so a killed program
// leaves either the old or the new file, never half of one. An existing
// file keeps its permissions. Returns false (and leaves the old file) on failure.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace fw
