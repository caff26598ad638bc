#pragma once
// Rules for the names stored in a zip archive when they are extracted.
// A stored name may carry folders (with either separator) and a drive
// letter, as archives made by the earlier program stored the discs file
// with its full path; only its last part, the base name, is ever used.

#include <string>
#include <string_view>

namespace fw {

// The name without its folder part and drive letter: "C:\Books\Party.2bd"
// and "Books/Party.2bd" both give "Party.2bd". Empty for a folder entry.
std::string ArchiveBaseName(std::string_view entryName);

// A folder entry ("Books/"): nothing to extract.
bool IsArchiveFolderName(std::string_view entryName);

// Why an entry is never extracted, or empty when it may be: an empty name,
// a name rooted at "/" or "\", a ".." part, a base name that is "." or
// holds a control character.
std::string ArchiveNameRefusal(std::string_view entryName);

// Two base names that give the same file on a file system that ignores case.
bool SameArchiveBaseName(std::string_view a, std::string_view b);

}  // namespace fw
