#pragma once
// The open song book as a window of the song base holds it on its own
// thread: opened through the thread's use counter while a book is open,
// let go when the window ends, and opened again when the song-book window
// has closed the book or opened another since (SongBookOpenings), so the
// window never shows marks of a book that is no longer open.

#include "shell/checked_open.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace songbase {

class HeldSongBook {
public:
    HeldSongBook() { Follow(); }
    HeldSongBook(const HeldSongBook&) = delete;
    HeldSongBook& operator=(const HeldSongBook&) = delete;

    // Follows the book that is open now; true when that changed anything.
    bool Follow();
    bool IsOpen() const { return use_.has_value(); }

    // Whether the held book has a listing of this title and artist, letter
    // case ignored (SongBook's KMATCHSONG). The thread's SongBook buffer is
    // used for the look-up; false while no book is held.
    bool HasSong(std::string_view title, std::string_view artist) const;

private:
    std::optional<shell::FileUse> use_;
    std::uint32_t openings_ = 0;
    bool followed_ = false;
};

}  // namespace songbase
