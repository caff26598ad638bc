#pragma once
// GETINI and PUTINI: the framework's INI-file calls with Windows
// private-profile semantics (see ini_document.h). The file name is program
// text (Windows-1252); a bare name ("songbook.ini") lies in the
// configuration folder (config_folder.h), a name with a folder is taken as
// it stands, "\" and "/" both separating folders and names found whatever
// their case. Values are Windows-1252 bytes, at most kIniValueLimit
// characters: longer values are cut, both when read and when written.

#include "platform/text/numbers.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>

namespace fw {

inline constexpr std::size_t kIniValueLimit = 1023;

// The value of entry in section, or deflt when the file, the section or the
// entry is missing. An entry written with an empty value reads as empty.
std::string GETINI(std::string_view section, std::string_view entry, std::string_view deflt,
                   std::string_view file);

// Writes entry=value into section, creating the file, the section or the
// entry as needed and keeping every other line of the file byte for byte.
// The file is replaced atomically. Returns false when nothing could be
// written (the program's callers ignore it, as the framework's do).
bool PUTINI(std::string_view section, std::string_view entry, std::string_view value, std::string_view file);
// A number is written as its plain decimal text.
template <class T>
    requires std::is_arithmetic_v<T>
bool PUTINI(std::string_view section, std::string_view entry, T value, std::string_view file) {
    return PUTINI(section, entry, std::string_view(NumberText(value)), file);
}

// The file-system path (UTF-8) an INI file name stands for.
std::string IniFilePath(std::string_view file);

}  // namespace fw
