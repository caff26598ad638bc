#pragma once
// The framework's operations on files by name. Names are the program's text
// (Windows-1252), either separator, found case-insensitively when the exact
// name does not exist (ResolvePath); a file the program creates gets the
// case it writes. Each sets ERRORCODE: 0, 2 File Not Found, 3 Path Not
// Found, 5 Access Denied, or 90 with the system's code and text.

#include <string>
#include <string_view>

namespace fw {

// True when a file or folder of that name exists. Leaves the error state alone.
bool EXISTS(std::string_view name);

// Copies a file; an existing target is replaced (the new content is written
// beside it and moved over it, so a failed copy leaves the old target
// intact). Copying a file onto itself fails with 5 and changes nothing.
void COPY(std::string_view source, std::string_view target);

// Renames or moves a file or folder. A target that exists already makes it
// fail with 5; a change of case only is allowed.
void RENAME(std::string_view oldName, std::string_view newName);

// Deletes a file (also while the program has it open); folders are refused with 5.
void REMOVE(std::string_view name);

// Makes a folder the process's current folder, shared by every thread.
void SETPATH(std::string_view folder);

// The absolute form of a name with "." and ".." resolved and each existing
// component spelt as on disk, without a trailing separator (the root
// aside); without a name, the current folder.
std::string LONGPATH();
std::string LONGPATH(std::string_view name);
// Names have no short aliases here: the same as LONGPATH.
std::string SHORTPATH();
std::string SHORTPATH(std::string_view name);

}  // namespace fw
