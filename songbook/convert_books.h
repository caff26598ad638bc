#pragma once
// The conversions of books of the earlier formats when the song-book window
// opens one: an .sbk/.sbd pair becomes the .2bk/.2bd pair of the same
// folder and base name, and a .2bk of the older 165-byte layout becomes one
// of the current layout. Each runs as a progress process, writes the new
// files beside the book and puts them in place only once they are complete
// and checked: a cancel or a failure leaves every original file as it was.

#include <string_view>

namespace songbook {

inline constexpr std::string_view kOverwriteQuestion =
    "New Version of SongBook Already Exists!||Do you wish to overwrite this SongBook?";
inline constexpr std::string_view kOverwriteCaption = "SongBook Exists";
inline constexpr std::string_view kConvertingCaption = "Converting SongBook";
inline constexpr std::string_view kLayoutConversionCaption = "SongBook Datafile Conversion";
inline constexpr std::string_view kConversionFailedCaption = "File Conversion";
inline constexpr std::string_view kConvertedCaption = "SongBook Converted";

// SongBookName and SBDiscsName name the .sbk and .sbd on entry and the
// .2bk and .2bd on return. True when the .2bk can now be opened: converted,
// or an existing one the user chose to keep. The old pair is renamed to
// .sxk/.sxd once the new pair is in place.
bool ConvertSbkSongBook();
// SongBookName names the .2bk of the older layout. True when it now holds
// the current layout; the original is kept beside it as
// <name>.tps-original.
bool ConvertSongBookFile();

}  // namespace songbook
