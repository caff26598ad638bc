#pragma once
// Splitting a file path into folder, name and extension. Both "/" and "\"
// separate folders, so paths from older files and setup files split too.

#include <string>
#include <string_view>

namespace shell {

namespace path_part {
inline constexpr int Name = 1;       // the file name without its extension
inline constexpr int Extension = 2;  // the text after the name's last point
inline constexpr int Folder = 3;     // the path up to and including the last separator
}  // namespace path_part

// The part of path, without trailing blanks. With withExtension the result
// is the file name with its extension, whatever part is: name "." extension,
// or the bare name when it has no extension. A path without a separator is
// all file name; any other part number gives the empty text.
std::string PathPart(std::string_view path, int part, bool withExtension = false);

}  // namespace shell
