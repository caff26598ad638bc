#pragma once
// Paths and names on disk. The program was written for a file system that
// ignores case and uses backslashes; these keep that behaviour on Linux.

#include <string>
#include <string_view>

namespace fw {

// The one path separator the program writes.
inline constexpr char kPathSeparator = '/';
inline bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

// The path as it exists on disk: each component that does not exist with
// its exact spelling is looked up case-insensitively; backslashes are taken
// as separators. A name that matches nothing comes back with its missing
// components as written, so a file can be created under it.
std::string ResolvePath(std::string_view path);

}  // namespace fw
