#pragma once
// The shared globals of the SongBook File Explorer and its Rename and New
// windows. The explorer's answer to its caller is shell::SongBookName.
//
// Paths are held whole (the program's text), not cut to a fixed length, so
// a long folder never yields the name of another file.

#include <cstdint>
#include <string>

namespace songbook {

inline std::string CurrentFolder;       // the folder whose books are listed
inline std::string SelectedBookPath;    // the selected book's listings path; empty when none
inline std::string ShortSongBookName;   // GLO:SHORTSONGBOOKNAME: the selected book's name & ".2bk"; New: the typed name
inline std::uint8_t BookRenamed = 0;    // set by RenameSongBook once the book has its new name

}  // namespace songbook
