#pragma once
// A consistent copy of an SQLite database file, for backups: the database
// is copied through SQLite's online backup, which reads it under SQLite's
// own locks (a writer's transaction is either wholly in the copy or not at
// all), into a temporary file that is then checked with PRAGMA
// integrity_check. The live file is only ever opened read-only.
//
// The copy holds the same pages as the source; SQLite counts the copy as a
// change of its own, so a few counters in the header (change counter,
// schema cookie) may differ from the source's.
//
// Paths are names on disk (UTF-8), not the program's text.

#include <filesystem>
#include <string>

namespace fw {

// A database copy in a temporary file, removed when this is destroyed.
class DatabaseSnapshot {
public:
    DatabaseSnapshot() = default;
    DatabaseSnapshot(const DatabaseSnapshot&) = delete;
    DatabaseSnapshot& operator=(const DatabaseSnapshot&) = delete;
    DatabaseSnapshot(DatabaseSnapshot&& other) noexcept;
    DatabaseSnapshot& operator=(DatabaseSnapshot&& other) noexcept;
    ~DatabaseSnapshot();

    // The temporary file; empty when there is no copy.
    const std::filesystem::path& Path() const { return path_; }
    // Removes the temporary file now.
    void Remove();
    // Gives the file up: it is no longer removed here. Returns its path.
    std::filesystem::path Release();

private:
    friend bool SnapshotDatabase(const std::filesystem::path&, const std::filesystem::path&, DatabaseSnapshot&,
                                 std::string&);
    std::filesystem::path path_;
};

// Copies the database at `source` into a new temporary file in `folder` and
// checks the copy. False, with the reason in `error` and no file left
// behind, when the source is missing or no SQLite database, cannot be read
// (in use for longer than the wait allows, damaged), or the copy is unsound.
bool SnapshotDatabase(const std::filesystem::path& source, const std::filesystem::path& folder,
                      DatabaseSnapshot& snapshot, std::string& error);

// True when the file begins with the SQLite header.
bool IsSqliteFile(const std::filesystem::path& file);

// Opens the file read-only and runs PRAGMA integrity_check on it. False,
// with the first problem in `error`, unless the check answers "ok".
bool CheckDatabase(const std::filesystem::path& file, std::string& error);

}  // namespace fw
