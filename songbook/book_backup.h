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
// A restore takes whole books only (both files of a pair) under their base
// names, asks before it replaces a book of the same name, refuses a book
// any process has open, writes no more than the entries declare (and
// refuses before writing when that is more than a book can be or than the
// folder has room for), and checks every extracted file as the book file
// it is to be before anything is replaced (book_check.h). The files then
// take their places under a journal (book_journal.h): a bad archive or a
// crash leaves the folder as it was or with the whole restored books.

#include "platform/os/archive/archive.h"
#include "songbook/book_files.h"

#include <cstdint>

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
// `progress` is told the bytes extracted so far.
BookResult RestoreBooks(std::string_view archivePath, std::string_view folder, const ReplaceQuestion& askReplace,
                        const fw::ExtractProgress& progress = {});

// The most a restore writes: the entries' declared sizes together. A book
// of a million listings is well under it.
inline constexpr std::uint64_t kMaxRestoreBytes = std::uint64_t{512} << 20;
// Room a restore leaves free in the folder beyond what it writes.
inline constexpr std::uint64_t kRestoreSpareBytes = std::uint64_t{1} << 20;

}  // namespace songbook
