#pragma once
// A book found on disk from the path of its listings file: both files'
// names as they are on disk, the companion found whatever its case.

#include "platform/data/file_use.h"
#include "songbook/book_paths.h"

#include <string>
#include <string_view>
#include <vector>

namespace songbook {

struct BookOnDisk {
    BookFormat format = BookFormat::Current;
    std::string name;          // the book's name (UTF-8)
    std::string folder;        // absolute, on disk
    std::string listings;      // path on disk of the listings file
    std::string listingsName;  // its file name
    std::string discs;         // path on disk of the discs file, or the name it would have
    std::string discsName;
    bool hasDiscs = false;     // the discs file exists
};

// Finds the book whose listings file is `listingsPath` (program text).
// False, with the reason in `error`, when the name has no book extension or
// the file is not there.
bool FindBook(std::string_view listingsPath, BookOnDisk& book, std::string& error);

// The discs file for a listings file on disk, found whatever its case; the
// designed name when there is none.
std::string CompanionOnDisk(const std::string& listingsDiskPath, BookFormat format);

// True when SQLite's journal of the file on disk lies beside it: a change
// is under way, or was cut off and is still to be rolled back by SQLite. A
// journal is rolled into whatever database takes its file's name, so a name
// with a journal beside it is not free.
bool HasJournalBeside(const std::string& diskPath);

// The exclusive holds (platform/data/file_use.h) on the files of a book
// while an operation works on them: no process has them open, and none
// opens them until the hold ends.
class BookHold {
public:
    // Holds every one of the files that exists. False when one is in use:
    // open in any process, held by another operation, or with SQLite's
    // journal beside it.
    bool Take(const std::vector<std::string>& diskPaths);

private:
    std::vector<fw::data::FileUse> holds_;
};

// What kind of data a file holds, by its first bytes.
enum class BookFileKind { Sqlite, TopSpeed, Other };
BookFileKind FileKindOf(const std::string& diskPath);

}  // namespace songbook
