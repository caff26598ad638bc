#pragma once
// The song-book window's three lists as paged browses over the open book
// (SongBook and SBDiscs open on the calling thread): each list's view,
// order, row fields and columns come from song_book_lists.h. One list is
// visible at a time and gets the window's events; a hidden list is read
// again when it is shown.

#include "songbook/song_book_lists.h"
#include "songbook/song_book_search.h"

#include <functional>
#include <memory>
#include <string_view>

namespace songbook {

// What the visible list's highlighted row holds once fetched.
enum class Highlighted {
    None,      // the list has no rows
    Listing,   // the listing (and its disc, blank when the book has none) is in the buffers
    DiscOnly,  // a disc without listings (disc list): the disc is in SBD, SBK is blank
    Failed,    // the listing could not be read again; warning 35 has been shown
};

class SongBookBrowses {
public:
    // Builds the three browses; selectMode: the window was opened to select.
    // form: the listing form their Insert, Change and Delete buttons call.
    SongBookBrowses(bool selectMode, std::function<void()> form);
    ~SongBookBrowses();
    SongBookBrowses(const SongBookBrowses&) = delete;
    SongBookBrowses& operator=(const SongBookBrowses&) = delete;

    // The list that gets the events from now on; it is read again on the
    // next Sync.
    void Show(SongBookListKind kind);
    SongBookListKind Visible() const { return visible_; }

    bool TakeEvent(int event, int field, int keyCode);  // to the visible list
    void RequestResync();                               // EVENT:GainFocus
    void Sync();                                        // the window's refresh
    void RereadHighlighted();                           // before every command
    // After a command that changed the book: the visible list's page is
    // read again (a hidden list is read whenever it is shown).
    void ReloadVisible();
    bool HasRows() const;  // the visible list's page has rows

    // Re-reads the visible list's highlighted row and fetches its listing
    // by the row's disc ID and track (a key no two listings share) and its
    // disc, so a command acts on exactly the row the user sees.
    Highlighted FetchHighlighted();

    // Searches the visible list and, on a hit, moves it to the hit's row.
    SearchResult Search(std::string_view text, SearchMode mode, std::string_view after);

private:
    struct Lists;
    std::unique_ptr<Lists> lists_;
    SongBookListKind visible_ = SongBookListKind::Title;
};

}  // namespace songbook
