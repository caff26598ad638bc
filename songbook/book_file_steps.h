#pragma once
// The three operations on disk that every change of book files is made of
// (book_journal.h puts them together). Tests replace them to make one step
// fail, or to stop the process at one step.
//
// All paths here are names on disk (UTF-8).

#include <functional>
#include <string>

namespace songbook {

// Each returns 0 or the errno of its failure.
struct BookFileOps {
    // Renames `from` to `to`, never replacing an existing `to`.
    std::function<int(const std::string& from, const std::string& to)> rename;
    // Copies the book file `from` to the new file `to` (which must not exist
    // yet). An SQLite file is copied through SQLite, under its locks, so a
    // writer's transaction is wholly in the copy or not at all, and the copy
    // is checked; any other file byte for byte. The bytes go to a temporary
    // file beside `to`, are synced, and only then take the name `to`.
    std::function<int(const std::string& from, const std::string& to)> copy;
    // Removes a file; a file that is not there is no error.
    std::function<int(const std::string& path)> remove;
};

// The operations in use; the real ones until replaced.
const BookFileOps& FileOps();
// Replaces the operations; members left empty are the real ones. An empty
// argument restores all of them.
void SetBookFileOps(BookFileOps ops = {});
// The real operations.
BookFileOps RealBookFileOps();

}  // namespace songbook
