#pragma once
// The song-book window's commands as declarations: each button with the
// procedure it calls (on the window's thread) or starts (on a thread of its
// own), and what the window does afterwards; each menu item with the button
// it stands for or the procedure it starts. A command whose procedure the
// program has not got (shell/program_procedures.h) is disabled.

#include <string_view>
#include <vector>

namespace songbook {

struct SongBookCommand {
    std::string_view button;     // use-equate
    std::string_view procedure;  // by name
    bool started = false;        // START on its own thread instead of a call
    bool reloadLists = false;    // the book may have changed: read the lists again
    bool needsListings = false;  // disabled on an empty book
};

// The menu item's target: a button of the window, the visible list's Change
// button, or a procedure started from the item itself.
struct SongBookMenuItem {
    std::string_view item;
    std::string_view button;     // empty: see below
    bool visibleChange = false;  // the visible list's Change button
    std::string_view started;    // procedure started by the item
    bool needsListings = false;
};

const std::vector<SongBookCommand>& SongBookCommands();
const std::vector<SongBookMenuItem>& SongBookMenuItems();
// The menu that is disabled with the items on an empty book.
inline constexpr std::string_view kImportExportMenu = "?SONGBOOKIMPORT";

// The window's own buttons.
inline constexpr std::string_view kDeleteTrackButton = "?DELETETRACK";
inline constexpr std::string_view kHelpButton = "?BUTTON15";
inline constexpr std::string_view kCloseButton = "?CLOSE";
inline constexpr std::string_view kHelpTopic = "WorkingWithSongBook.htm";

// The procedures the Quick Click Menu calls.
inline constexpr std::string_view kDiscTracksProcedure = "BrowseSongBookDiscTracks";
inline constexpr std::string_view kMultiEditSetupProcedure = "SetupMultiListingEdit";
inline constexpr std::string_view kBatchEditProcedures[3] = {"BatchEditByTitle", "BatchEditByArtist",
                                                             "BatchEditByDisc"};

}  // namespace songbook
