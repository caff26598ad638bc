#pragma once
// AddMfrDiscs ("Add Mfr. Disc(s) to SongBook"): the window in which the user
// picks a brand of the Main SongBase, tags its discs (each with the custom
// disc ID it will have in the book) and hands the tags to the track-adding
// worker. Called by the song-book window on its thread, with a book open.
//
// The window owns its tag list. A FastFind window it starts adds to that
// list (AddDiscsSessionOpen) and is closed when this window closes.

#include "shell/tag_list.h"
#include "songbase/disc_track_copy.h"

#include <memory>
#include <string_view>
#include <vector>

namespace songbase {

void AddMfrDiscs();

// The add-discs window open now, for the windows it starts.
struct AddDiscsSession {
    std::shared_ptr<shell::TagList> tags;
    BookFiles book;                   // the book it adds to
    std::vector<int> startedWindows;  // FastFind threads, closed with the window
};
AddDiscsSession* AddDiscsSessionOpen();

inline constexpr std::string_view kAddMfrDiscsWindow = "P1$ADDMFRDISCS";
inline constexpr std::string_view kAddDiscsHelpTopic = "AddingManufacturedDisc(s).htm";
inline constexpr std::string_view kFastFindProcedure = "FastFindDisc";
inline constexpr std::string_view kTrackFormProcedure = "EditSongBaseTrack";

inline constexpr std::string_view kNoTagsText = "No Disc(s) Tagged for Processing";
inline constexpr std::string_view kNoTagsCaption = "ERROR: No Discs Tagged";
inline constexpr std::string_view kTagsLeftText =
    "There are still disc(s) tagged and awaiting processing, Are you sure you wish to Cancel?";
inline constexpr std::string_view kNoBookText = "No SongBook is open.||Open a SongBook first, then add discs to it.";
inline constexpr std::string_view kNoBookCaption = "No SongBook Open";

}  // namespace songbase
