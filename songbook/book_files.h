#pragma once
// The book file service: every operation the SongBook File Explorer and
// its Rename and New windows make on book files, by name. Nothing here
// opens a book; each operation checks every step and either completes or
// leaves the files as they were.
//
// Paths are the program's text (book_paths.h). A listings path names the
// book's .2bk (or, for an older book, .sbk) file; its discs file is found
// beside it whatever its case.

#include "songbook/book_paths.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace songbook {

// One book of a folder listing.
struct BookEntry {
    std::string name;      // the book's name, the list's one column
    std::string fileName;  // the listings file's name as on disk
    std::string path;      // the listings file's full path
    BookFormat format = BookFormat::Current;
};

// At start: completes or undoes what a stopped operation left (its journal)
// and removes the temporary files of ended processes from the journal
// folder and the default book folder. No operation of this process runs yet.
void TidyBookFilesAtStart(std::string_view defaultFolder);

// The books of a folder: every regular file whose extension is .2bk or
// .sbk (any case), sorted by name without regard to case. Folders, other
// files and names the program cannot spell are left out; a missing folder
// gives an empty list. What a stopped operation left is settled first
// (book_journal.h), and the folder's leftover temporary files are removed
// (not while an operation of this process is under way).
std::vector<BookEntry> ListBooks(std::string_view folder);

enum class BookStatus {
    Done,         // the operation was made
    Unchanged,    // nothing to do (a rename to the book's own name)
    InvalidName,  // the name is refused
    NameInUse,    // another book has the name
    SameFolder,   // a move into the folder the book is in
    InUse,        // the book is being changed (SQLite's journal is beside it)
    Declined,     // the user chose not to replace a book of the same name
    Failed,       // a step failed; the files are as they were unless `detail` says otherwise
};

struct BookResult {
    BookStatus status = BookStatus::Done;
    std::string message;  // the text for the user (book_texts.h); empty for Unchanged and Declined
    std::string detail;   // for a failure: which file and why
    std::string path;     // Done: the book's listings path afterwards (Rename, Move), the new book's (New)

    bool Ok() const { return status == BookStatus::Done; }
};

// Asked before a book of the same name is replaced, with that book's name;
// true replaces it. An empty question replaces nothing.
using ReplaceQuestion = std::function<bool(std::string_view bookName)>;

// Removes the book's two files (the pair of its format), each checked; when
// either cannot go, both stay. Done with `detail` set: deleted, but a file
// set aside could not be removed afterwards.
BookResult DeleteBook(std::string_view listingsPath);

// Moves the book's two files into `destFolder` under their names. Refused
// into the book's own folder; asks before replacing a book of the same name
// there. Both files are copied and checked before the originals go, and a
// failure anywhere leaves the book where it was (and a replaced book in place).
// Done with `detail` set: moved, but an original set aside could not be
// removed afterwards (the detail names it).
BookResult MoveBook(std::string_view listingsPath, std::string_view destFolder, const ReplaceQuestion& askReplace);

// Gives the book's files the name `newName` (trailing blanks cut) in its
// folder, keeping its format's extensions. The book's own name is
// Unchanged; a change of letter case only is a rename. Both new names must
// be free; both files are renamed or neither. A missing discs file is not
// an error: the listings file alone is renamed.
BookResult RenameBook(std::string_view listingsPath, std::string_view newName);

// The name checks of New and Rename: refuses an empty name, a name of only
// blanks or points, path separators, control characters, letters a file
// name cannot carry and names too long for a file. Done or InvalidName.
BookResult CheckBookName(std::string_view name);

// New: the name checks, then NameInUse ("SongBook Name Already in Use")
// when the folder holds a .2bk or .2bd of that name. Done gives the new
// book's listings path in `path` (the file does not exist yet).
BookResult CheckNewBookName(std::string_view folder, std::string_view name);

}  // namespace songbook
