#pragma once
// AddDiscTracksProcess: the track-adding worker, started on a thread of its
// own by the add-discs window. It takes the tags by value, copies every
// tagged disc into the book it was started for (disc_track_copy.h), shows
// the progress, then the counts: tracks added, duplicates not added, and
// under Details the discs not added with the reason. When the book cannot
// be opened nothing is added and the tags go back to `owner`, the list of
// the window that started it, if that window is still open.

#include "shell/tag_list.h"
#include "songbase/disc_track_copy.h"

#include <memory>
#include <vector>

namespace songbase {

void AddDiscTracksProcess(BookFiles book, std::vector<shell::TagEntry> tags, std::weak_ptr<shell::TagList> owner);

inline constexpr std::string_view kAddDiscTracksWindow = "P1$ADDDISCTRACKS";
inline constexpr std::string_view kAddDiscTracksCaption = "Adding Selected Disc Tracks to Open SongBook";
inline constexpr std::string_view kBookNotOpenCaption = "SongBook Not Open";
std::string BookNotOpenText(std::string_view problem);

}  // namespace songbase
