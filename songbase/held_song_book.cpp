#include "songbase/held_song_book.h"

#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_files.h"

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

bool HeldSongBook::Follow() {
    const bool open = shell::SongBookIsOpen != 0 && !shell::SongBookName.Blank();
    if (followed_ && openings_ == shell::SongBookOpenings && open == use_.has_value()) return false;
    followed_ = true;
    openings_ = shell::SongBookOpenings;
    use_.reset();
    if (open) use_.emplace(shell::SongBookFile(), false);
    return true;
}

bool HeldSongBook::HasSong(std::string_view title, std::string_view artist) const {
    if (!use_) return false;
    fw::File& book = shell::SongBook();
    SBK.Title = title;
    SBK.Artist = artist;
    fw::GET(book, book.FindKey("SBK:KMATCHSONG"));
    const bool found = fw::ERRORCODE() == 0;
    fw::SetError(0);
    return found;
}

}  // namespace songbase
