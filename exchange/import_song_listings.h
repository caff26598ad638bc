#pragma once
// ImportSongListings: the import of a CSV listing file into the open book.
// The file is read and analysed first (nothing is written); the rows that
// clash are listed to correct, copy or drop; "Import Listings" imports the
// others (import_listings_process.h). The song-book window calls it on its
// own thread; SongBook and SBDiscs are open there.

namespace exchange {

inline constexpr const char* kImportWindow = "P1$IMPORTSONGLISTINGS";
inline constexpr const char* kImportHelpTopic = "ImportingSongListings.htm";

void ImportSongListings();

}  // namespace exchange
