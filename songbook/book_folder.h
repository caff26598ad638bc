#pragma once
// The folder the SongBook File Explorer starts in, and the default folder
// setting (`SongBookPath`, section General of the program's settings),
// which only "Set as Default SongBook Folder" writes.

#include <string>
#include <string_view>

namespace songbook {

// The saved default folder, trailing blanks cut; empty when none is saved.
std::string SavedDefaultFolder();
// Saves `folder` as the default folder.
void SaveDefaultFolder(std::string_view folder);

// The user's home folder, in the program's text.
std::string HomeFolder();

// The folder to start in: `saved` when it names an existing folder (as it
// is spelt on disk), otherwise `fallback`. Reads nothing and writes nothing.
std::string ChooseStartFolder(std::string_view saved, std::string_view fallback);

// The folder the explorer starts in: the saved default folder; when none
// is saved or it no longer exists, the folder the explorer listed last
// (CurrentFolder, so a folder chosen with Change Folder is listed again),
// or at first the user's home folder. The setting is left as it is.
std::string StartFolder();

}  // namespace songbook
