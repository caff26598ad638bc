#pragma once
// Backup and restore of song books, on the zip archive layer
// (platform/os/archive/archive.h).
//
// A backup is the archive <book name>.bkp in a chosen folder. It holds a
// consistent copy of each of the book's two files (never the live files),
// stored under their bare file names, and the comment
// "Cantorvale V2 DedaDaru Virovir Backup Dated: " with today's date
// (mm/dd/yy). Backing up into an existing archive replaces the entries of
// the same names and keeps the others.
//
// A restore extracts only book files (.2bk, .2bd, .sbk, .sbd) under their
// base names, asks before it replaces a book of the same name, and checks
// every extracted file before anything is replaced: a bad archive leaves
// the folder as it was.

#include "songbook/book_files.h"

#include <string>
#include <string_view>

namespace songbook {

// The archive comment for a backup made today.
std::string BackupComment();

// The archive a backup of the book goes to: destFolder / name & ".bkp".
std::string BackupArchivePath(std::string_view listingsPath, std::string_view destFolder);

// Backs the book up into BackupArchivePath. Done: message "SongBook Backup
// Created Successfully", path the archive. Failed: message "Error: " and
// the reason; an archive that was there is unchanged.
BookResult BackupBook(std::string_view listingsPath, std::string_view destFolder);

// Restores the books an archive holds into `folder`. askReplace is asked
// once for each book whose files are there already; a book the user keeps
// is left out. Done: "SongBook Successfully Restored", `detail` the file
// names restored. Failed: the reason alone; Declined when every book was
// kept. Either way the folder is unchanged.
BookResult RestoreBooks(std::string_view archivePath, std::string_view folder, const ReplaceQuestion& askReplace);

}  // namespace songbook
