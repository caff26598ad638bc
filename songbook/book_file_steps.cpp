#include "songbook/book_file_steps.h"

#include "platform/data/snapshot/database_snapshot.h"
#include "platform/os/archive/archive_files.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace songbook {
namespace {

namespace files = fw::archive_files;

int RealRename(const std::string& from, const std::string& to) {
    return files::RenameNoReplace(from, to) ? 0 : errno;
}

// A byte-for-byte copy into a new temporary file beside `to`, synced.
int CopyBytes(const std::string& from, const std::string& to, std::string& temp) {
    const int fd = files::CreateTempFile(files::FolderOf(to), "copy", temp);
    if (fd < 0) return errno;
    bool ok = files::CopyInto(from, fd) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    return ok ? 0 : (error ? error : EIO);
}

// A copy through SQLite's online backup, checked, into a temporary file
// beside `to`, synced.
int CopyDatabase(const std::string& from, const std::string& to, std::string& temp) {
    fw::DatabaseSnapshot snapshot;
    std::string reason;
    if (!fw::SnapshotDatabase(from, files::FolderOf(to), snapshot, reason)) return EIO;
    if (!files::SyncFile(snapshot.Path().string())) return errno;
    temp = snapshot.Release().string();
    return 0;
}

int RealCopy(const std::string& from, const std::string& to) {
    std::string temp;
    int error = fw::IsSqliteFile(from) ? CopyDatabase(from, to, temp) : CopyBytes(from, to, temp);
    // The copy is the same book: it keeps the original's permissions.
    struct stat st {};
    if (!error && (::stat(from.c_str(), &st) != 0 || ::chmod(temp.c_str(), st.st_mode & 07777) != 0)) error = errno;
    if (!error && !files::RenameNoReplace(temp, to)) error = errno;
    if (error) {
        if (!temp.empty()) ::unlink(temp.c_str());
        return error;
    }
    files::SyncFolder(files::FolderOf(to));
    return 0;
}

int RealRemove(const std::string& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT ? 0 : errno; }

BookFileOps& CurrentOps() {
    static BookFileOps ops = RealBookFileOps();
    return ops;
}

}  // namespace

BookFileOps RealBookFileOps() { return {RealRename, RealCopy, RealRemove}; }

const BookFileOps& FileOps() { return CurrentOps(); }

void SetBookFileOps(BookFileOps ops) {
    const BookFileOps real = RealBookFileOps();
    if (!ops.rename) ops.rename = real.rename;
    if (!ops.copy) ops.copy = real.copy;
    if (!ops.remove) ops.remove = real.remove;
    CurrentOps() = std::move(ops);
}

}  // namespace songbook
