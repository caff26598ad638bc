#pragma once
// The window that asks the name of a new book in CurrentFolder.

namespace songbook {

// ShortSongBookName is the name typed (without extension) and
// shell::SongBookName the new book's listings path when OK was accepted
// with a free, valid name; ShortSongBookName and SelectedBookPath are
// blank when cancelled, also by the close box.
void NewSongBookName();

}  // namespace songbook
