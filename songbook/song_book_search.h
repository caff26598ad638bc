#pragma once
// The text search over a song-book list: "Begins with..." or "Contains..",
// letter case ignored, trailing blanks of the search text ignored (leading
// ones count). Search scans the visible list's view from its first row in
// the list's order and stops at the first hit whose ordinal (its row number
// in that scan, from 1) is beyond the previous hit; Next passes the last
// hit's ordinal in, Search passes 0.

#include "shell/wait_screen.h"
#include "songbook/song_book_lists.h"

#include <memory>
#include <string_view>

namespace fw {
class View;
class Window;
}  // namespace fw

namespace songbook {

enum class SearchMode : int { BeginsWith = 1, Contains = 2 };  // the option's values

// Whether a field's text is a hit. An empty (or all blank) search text
// finds nothing.
bool IsSearchHit(std::string_view field, std::string_view searchText, SearchMode mode);

struct SearchResult {
    bool found = false;
    long ordinal = 0;  // the hit's row number in the list's order
    long scanned = 0;  // rows read (SearchScanCount)
};

// Scans the list's view over the open book of the current thread (SongBook
// and SBDiscs open). On a hit, the record buffers hold the hit's row: for
// the title and artist lists the listing (its disc's record as well when
// the disc exists), for the disc list the disc and its listing (cleared for
// a disc without listings), and the primary file's current record is the
// hit's, so POSITION gives the browse its row.
SearchResult SearchSongBookList(SongBookListKind list, std::string_view searchText, SearchMode mode,
                                long lastHitOrdinal);

// Right after a hit of SearchSongBookList: puts the list's view (the
// browse's, of the list's order) on the hit's own row, so POSITION(view)
// is that row's. On the disc list that is the hit listing's row, not the
// first row of its disc. False when the row is gone from the view; the view
// then stands nowhere.
bool StandOnHit(SongBookListKind list, fw::View& view);

// "Searching..." (P1$SEARCHINGSCREEN) for as long as it lives: opened and
// shown at once, with no event loop, over the window that opened it, which
// stays the target of the window operations; closed when it goes.
class SearchingScreen : public shell::WaitScreen {
public:
    SearchingScreen() : WaitScreen("P1$SEARCHINGSCREEN") {}
};

}  // namespace songbook
