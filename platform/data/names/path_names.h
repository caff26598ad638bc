#pragma once
// Paths and names on disk. The program was written for a file system that
// ignores case and uses backslashes; these keep that behaviour on Linux.
//
// Paths in the program are Windows-1252 text like all its other text. The
// operating system's names are UTF-8; ResolvePath is the one crossing from
// the program's text to a name on disk, ProgramPathText the way back.

#include <string>
#include <string_view>

namespace fw {

// The one path separator the program writes.
inline constexpr char kPathSeparator = '/';
// Both separators are accepted on input.
inline bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

// The parts of a path, split at its last separator and at the last point
// after it: "C:\Books\My.Show.2bk" gives folder "C:\Books\" (with its
// separator, as written), name "My.Show" and extension "2bk"; a name without
// a point has an empty extension; a path without a separator an empty folder.
struct PathParts {
    std::string folder;
    std::string name;
    std::string extension;
};
PathParts SplitPath(std::string_view path);

// The path as it exists on disk: each component that does not exist with
// its exact spelling is looked up case-insensitively (Windows-1252 folding,
// as keys fold; of several such names the first in byte order wins);
// backslashes are taken as separators; trailing blanks (of a padded
// STRING) are dropped, as Windows drops them. A name that matches nothing comes
// back with its missing components as written, so a file can be created
// under it in the case the program writes. Takes the program's text and
// returns the native (UTF-8) path to hand to the operating system.
std::string ResolvePath(std::string_view path);

// ResolvePath for a path that is native (UTF-8) text already.
std::string ResolveNativePath(std::string_view native);

// The program's path as native text, backslashes turned, nothing resolved.
std::string NativePathText(std::string_view path);
// A native (UTF-8) name from disk as program text; characters outside
// Windows-1252 become '?'.
std::string ProgramPathText(std::string_view native);

}  // namespace fw
