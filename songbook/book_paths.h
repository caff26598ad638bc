#pragma once
// Names of song-book files. A book is a pair of files of one name: the
// listings file (.2bk) and the discs file (.2bd); books of the older format
// are .sbk/.sbd. A book's name is its file name without the extension (the
// text before the last point). Extensions are compared without regard to
// case, and a companion file is found whatever its case.
//
// Paths given to and returned by the book service are the program's text
// (Windows-1252, either separator); DiskPath is the one crossing to names
// on disk (UTF-8, found case-insensitively).

#include <optional>
#include <string>
#include <string_view>

namespace songbook {

enum class BookFormat { Current, Older };  // .2bk/.2bd, .sbk/.sbd

// The format a listings file's name gives (by its extension), if any.
std::optional<BookFormat> ListingsFormat(std::string_view fileName);
// True for the four book file extensions.
bool IsBookFileName(std::string_view fileName);

std::string_view ListingsExtension(BookFormat format);  // ".2bk" or ".sbk"
std::string_view DiscsExtension(BookFormat format);     // ".2bd" or ".sbd"

// The last component of a path and the folder before it (without its
// trailing separator, the root kept: "/" stays "/", "C:\" gives "C:\").
std::string FileNameOf(std::string_view path);
std::string FolderOf(std::string_view path);
// The book's name for a file name or path: "my.book.2bk" gives "my.book".
std::string BookNameOf(std::string_view path);

// folder + one separator + name (a separator already at the end is kept).
std::string JoinPath(std::string_view folder, std::string_view name);

// A program path to the name on disk, and back.
std::string DiskPath(std::string_view programPath);
std::string ProgramPath(std::string_view diskPath);

}  // namespace songbook
