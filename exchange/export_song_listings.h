#pragma once
// ExportSongListings: the window in which the user chooses the listings to
// export (all, those on tagged discs, or tagged tracks) and tags them, then
// the export pass (export_listings_process.h). The tags are the window's
// own. The song-book window calls it on its own thread.

namespace exchange {

inline constexpr const char* kExportWindow = "P1$EXPORTSONGLISTINGS";
inline constexpr const char* kExportHelpTopic = "ExportingSongListings.htm";

// EXPORT:FILTER.
enum class ExportFilter : int { All = 1, TaggedDiscs = 2, TaggedTracks = 3 };

void ExportSongListings();

}  // namespace exchange
