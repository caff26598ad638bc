#pragma once
// The file steps of the book operations, each undoable, so that an
// operation that fails half way puts every file back where it was.
//
// All paths here are names on disk (UTF-8). Error texts name the files in
// the program's text.

#include <functional>
#include <string>
#include <vector>

namespace songbook {

// The three operations on disk the steps are made of; each returns 0 or
// the errno of its failure. Tests replace them to make one step fail.
struct BookFileOps {
    // Renames `from` to `to`, never replacing an existing `to`.
    std::function<int(const std::string& from, const std::string& to)> rename;
    // Copies `from` to the new file `to` (which must not exist yet): the
    // bytes go to a temporary file beside `to`, are synced, and only then
    // take the name `to`.
    std::function<int(const std::string& from, const std::string& to)> copy;
    // Removes a file.
    std::function<int(const std::string& path)> remove;
};

// The operations in use; the real ones until replaced.
const BookFileOps& FileOps();
// Replaces the operations; members left empty are the real ones. An empty
// argument restores all of them.
void SetBookFileOps(BookFileOps ops = {});
// The real operations.
BookFileOps RealBookFileOps();

// A list of file steps done so far. Undo reverses them, newest first;
// Finish makes them final by removing the files moved aside. A FileChanges
// destroyed unfinished is undone.
class FileChanges {
public:
    FileChanges() = default;
    FileChanges(const FileChanges&) = delete;
    FileChanges& operator=(const FileChanges&) = delete;
    ~FileChanges();

    // Each step returns false and records the error when it fails; the
    // steps before it stay done until Undo.
    bool Rename(const std::string& from, const std::string& to);
    bool Copy(const std::string& from, const std::string& to);
    // Renames the file to an unused hidden name in its folder, out of the
    // way; Finish removes it, Undo gives it its name back.
    bool MoveAside(const std::string& path);

    // Removes the files moved aside. False (and the error recorded) when one
    // of them cannot be removed; the other changes stay made.
    bool Finish();
    // Reverses every step done. A step that cannot be reversed is added to
    // the error text.
    void Undo();

    const std::string& Error() const { return error_; }

private:
    enum class Kind { Renamed, Copied, MovedAside };
    struct Step {
        Kind kind;
        std::string from, to;
    };
    bool Fail(const std::string& what, int error);

    std::vector<Step> steps_;
    std::string error_;
    bool finished_ = false;
};

}  // namespace songbook
