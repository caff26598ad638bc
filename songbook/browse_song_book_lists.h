#pragma once
// The song-book window's three lists as paged browses over the open book
// (SongBook and SBDiscs open on the calling thread): each list's view,
// order, row fields and columns come from song_book_lists.h. One list is
// visible at a time and gets the window's events.
//
// The listing forms are not part of the program yet, so the browses have no
// Insert, Change or Delete button; the window keeps those disabled.

#include "songbook/song_book_lists.h"
#include "songbook/song_book_search.h"

#include <memory>
#include <string_view>

namespace songbook {

class SongBookBrowses {
public:
    // Builds the three browses; selectMode: the window was opened to select.
    explicit SongBookBrowses(bool selectMode);
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

    // Searches the visible list and, on a hit, moves it to the hit's row.
    SearchResult Search(std::string_view text, SearchMode mode, long lastHitOrdinal);

private:
    struct Lists;
    std::unique_ptr<Lists> lists_;
    SongBookListKind visible_ = SongBookListKind::Title;
};

}  // namespace songbook
