#include "songbook/book_file_steps.h"

#include "platform/os/archive/archive_files.h"
#include "songbook/book_paths.h"

#include <cerrno>
#include <unistd.h>

namespace songbook {
namespace {

namespace files = fw::archive_files;

int RealRename(const std::string& from, const std::string& to) {
    return files::RenameNoReplace(from, to) ? 0 : errno;
}

int RealCopy(const std::string& from, const std::string& to) {
    std::string temp;
    const int fd = files::CreateTempFile(files::FolderOf(to), ".cv-copy-", temp);
    if (fd < 0) return errno;
    bool ok = files::CopyInto(from, fd) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && !files::RenameNoReplace(temp, to)) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return error ? error : EIO;
    }
    files::SyncFolder(files::FolderOf(to));
    return 0;
}

int RealRemove(const std::string& path) { return ::unlink(path.c_str()) == 0 ? 0 : errno; }

BookFileOps& CurrentOps() {
    static BookFileOps ops = RealBookFileOps();
    return ops;
}

std::string Shown(const std::string& diskPath) { return ProgramPath(diskPath); }

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

FileChanges::~FileChanges() {
    if (!finished_) Undo();
}

bool FileChanges::Fail(const std::string& what, int error) {
    error_ = what + ": " + files::SystemErrorText(error);
    return false;
}

bool FileChanges::Rename(const std::string& from, const std::string& to) {
    if (const int e = FileOps().rename(from, to)) return Fail("Cannot rename " + Shown(from) + " to " + Shown(to), e);
    steps_.push_back({Kind::Renamed, from, to});
    return true;
}

bool FileChanges::Copy(const std::string& from, const std::string& to) {
    if (const int e = FileOps().copy(from, to)) return Fail("Cannot copy " + Shown(from) + " to " + Shown(to), e);
    steps_.push_back({Kind::Copied, from, to});
    return true;
}

bool FileChanges::MoveAside(const std::string& path) {
    const std::string aside = files::UnusedName(files::FolderOf(path), ".cv-removed-");
    if (const int e = FileOps().rename(path, aside)) return Fail("Cannot remove " + Shown(path), e);
    steps_.push_back({Kind::MovedAside, path, aside});
    return true;
}

bool FileChanges::Finish() {
    finished_ = true;
    bool ok = true;
    for (const Step& step : steps_) {
        if (step.kind != Kind::MovedAside) continue;
        if (const int e = FileOps().remove(step.to)) {
            if (ok) Fail("Cannot remove " + Shown(step.from) + " (kept as " + Shown(step.to) + ")", e);
            ok = false;
        }
    }
    steps_.clear();
    return ok;
}

void FileChanges::Undo() {
    finished_ = true;
    for (auto it = steps_.rbegin(); it != steps_.rend(); ++it) {
        int e = 0;
        switch (it->kind) {
        case Kind::Renamed:
        case Kind::MovedAside:
            e = FileOps().rename(it->to, it->from);
            if (e) error_ += "; " + Shown(it->from) + " is now " + Shown(it->to);
            break;
        case Kind::Copied:
            e = FileOps().remove(it->to);
            if (e) error_ += "; the copy " + Shown(it->to) + " is left";
            break;
        }
    }
    steps_.clear();
}

}  // namespace songbook
