#pragma once
// The song-book window's state and the routines its event loop runs
// (browse_song_book.cpp holds the life cycle and the loop): the refresh,
// the commands of its buttons and menu, the Quick Click Menu and the
// delete dialog.

#include "platform/data/background_check.h"
#include "platform/text/fixed_string.h"
#include "platform/ui/window_api.h"
#include "shell/window_resize.h"
#include "songbook/browse_song_book_lists.h"
#include "songbook/song_book_lists.h"

#include <cstdint>
#include <memory>
#include <string>

namespace songbook {

struct SongBookWindowState {
    std::int32_t entryRequest = 0;
    std::int32_t currentRequest = 0;
    std::int32_t windowResponse = 0;
    bool firstFocusDone = false;
    SongBookListKind visibleList = SongBookListKind::Title;
    fw::FString<40> searchText;
    std::int32_t searchMode = 1;
    std::int32_t searchScanCount = 0;  // not 0 after a hit: Next is on
    std::string lastHit;               // the last hit's place in the list's order; blank: none
    std::int32_t trackCount = 0;
    shell::WindowResizeState layout;  // the controls' geometry as the window opened
    // The opened book's count and check, running while the first page
    // shows (none when the window shows a book another window opened).
    std::unique_ptr<fw::BackgroundCheck> check;
    std::string damage;  // what the check found: the book is closed again
};

// RefreshSongBookWindow: the visible list in step with the book, the
// commands that need listings enabled or not, "Total Song Tracks: " and Next.
void RefreshSongBookWindow(SongBookWindowState& s, SongBookBrowses& browses);

// Disables every command whose procedure the program has not got; called
// once when the window opens.
void DisableMissingCommands();

// A button or menu item of the command table; false when `accepted` is none.
bool RunSongBookCommand(SongBookWindowState& s, SongBookBrowses& browses, fw::FieldId accepted);

// The right mouse button: the row under the mouse becomes the highlighted
// one, then the menu of what can be done with it.
void QuickClickMenu(SongBookWindowState& s, SongBookBrowses& browses);

// "Delete Selected Song Track": this listing or its entire disc.
void DeleteTrackDialog(SongBookWindowState& s, SongBookBrowses& browses);

}  // namespace songbook
