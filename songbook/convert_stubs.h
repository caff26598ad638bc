#pragma once
// The conversions of books of the earlier formats (an .sbk/.sbd pair, and a
// .2bk of an older record layout). Until they are built, each tells the
// user so and converts nothing; the song-book window then ends without
// touching the files.

#include <string_view>

namespace songbook {

inline constexpr std::string_view kCannotConvertYet =
    "This SongBook was created with an earlier version and cannot be converted yet.";

// Converts the .sbk/.sbd pair named by SongBookName and SBDiscsName into
// the .2bk/.2bd pair of the same folder and base name. True when the book
// can now be opened.
bool ConvertSbkSongBook();
// Converts the .2bk named by SongBookName from an older record layout.
// True when the book can now be opened.
bool ConvertSongBookFile();

}  // namespace songbook
