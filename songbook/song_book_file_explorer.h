#pragma once
// The SongBook File Explorer: the books of one folder, and the commands
// that open, create, rename, delete, move, back up and restore them.

namespace songbook {

// Shows the explorer on the calling thread until the user leaves it.
// The answer is shell::SongBookName: the chosen book's listings path (an
// existing .2bk or .sbk, or the .2bk of a new book that does not exist
// yet), blank when the user left without choosing. ActionOutcome is 2.
void SongBookFileExplorer();

}  // namespace songbook
