#pragma once
// Changes of book files that survive a crash whole. A book is a pair of
// files; an operation that places, renames, moves or removes a pair first
// writes a small journal naming every file it touches, then makes its
// steps, then removes the journal. When the program is stopped half way,
// the next start (and the explorer, before it lists a folder) finds the
// journal and completes the steps, or undoes them when the operation was
// already undoing a failure, so that one whole book stands under each name.
//
// The journals live in the configuration folder (book-journal), so one is
// found whichever folder the books are in. A running operation holds its
// journal locked; another copy of the program leaves a locked journal alone.
// The steps go through the book file operations (book_file_steps.h); the
// journal's own file does not.
// Paths are names on disk.

#include <string>
#include <vector>

namespace songbook {

// One step of an operation. Every step can be made again after a crash:
// each looks at the files to see whether it was made already.
struct JournalStep {
    enum Kind {
        Place,   // `from` (a new file) takes the name `to`; a file there goes to `aside` first
        Rename,  // `from` takes the name `to`
        Remove,  // `from` is removed; only after every other step, never undone
    };
    Kind kind = Rename;
    std::string from, to, aside;
};

// A name in `folder` (on disk) for a file set aside until the operation is made.
std::string AsideName(const std::string& folder);
// Adds a Remove step for every file the steps set aside (Rename to an
// AsideName), so that each goes once the rest is made.
void AddAsideRemovals(std::vector<JournalStep>& steps);

// What an operation came to.
struct JournalResult {
    bool done = false;      // every Place and Rename step is made
    std::string error;      // not done: why, the steps undone; done: a file Remove could not remove
};

// Runs an operation's steps under a journal: Place and Rename steps in
// order, then the Remove steps. A failed Place or Rename undoes the steps
// before it; a failed Remove leaves its file (named in `error`).
JournalResult RunJournaled(const std::vector<JournalStep>& steps);

// Completes or undoes what journals of stopped operations describe; returns
// how many were settled. Journals a running operation holds are left.
int SettleBookJournals();

// Marks a book operation of this process as under way while it lives, so
// that its own temporary files are not taken for leftovers meanwhile.
class BookOperation {
public:
    BookOperation();
    ~BookOperation();
    BookOperation(const BookOperation&) = delete;
    BookOperation& operator=(const BookOperation&) = delete;
    static bool UnderWay();
};

// The folder of the journals.
std::string BookJournalFolder();

}  // namespace songbook
