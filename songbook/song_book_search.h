#pragma once
// The text search over a song-book list: "Begins with..." or "Contains..",
// letter case ignored, trailing blanks of the search text ignored (leading
// ones count). Search finds the first hit in the list's order; Next the
// first hit after the last one, which the window holds as the text the
// search gave for it (its place in the list's order), so neither counts the
// rows before a hit.

#include "shell/wait_screen.h"
#include "songbook/song_book_lists.h"

#include <memory>
#include <string>
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
    std::string hit;  // the hit's place in the list's order: the next search's `after`
};

// Searches the list's rows over the open book of the current thread
// (SongBook and SBDiscs open), from the first row, or from the row after
// `after` (a hit's text from an earlier result): a row that has gone since
// is stood in for by its neighbour in the order. The title and artist
// lists seek in their key, the storage testing the text on each listing;
// the disc list seeks in the discs' custom disc IDs, and every listing of a
// disc that is a hit is a hit in turn. On a hit, the record buffers hold
// the hit's row: for the title and artist lists the listing (its disc's
// record as well when the disc exists), for the disc list the disc and its
// listing (cleared for a disc without listings), and the primary file's
// current record is the hit's, so POSITION gives the browse its row.
SearchResult SearchSongBookList(SongBookListKind list, std::string_view searchText, SearchMode mode,
                                std::string_view after = {});

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
