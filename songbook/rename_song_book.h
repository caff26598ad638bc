#pragma once
// The window that renames the book selected in the explorer.

namespace songbook {

// Asks a new name for the book SelectedBookPath names and renames both of
// its files. BookRenamed is 1 once the book has the new name (then
// SelectedBookPath and ShortSongBookName name it), unchanged otherwise;
// the caller sets it to 0 before. Placement: songbook.ini, "RenameSongBook".
void RenameSongBook();

}  // namespace songbook
