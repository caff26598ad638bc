#include "platform/data/legacy_convert.h"

#include "platform/data/cursor.h"
#include "platform/data/database.h"
#include "platform/data/names/name_ops.h"
#include "platform/data/names/path_names.h"
#include "platform/data/schema.h"
#include "platform/data/sqlite_connection.h"
#include "platform/runtime/error_state.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace fw::data {
namespace {

// Sets the error for a legacy file that cannot be used. 47 keeps the
// framework's text in ERROR(); any other code carries the reason there too.
void Refuse(int code, const LegacyFormat& format, const std::string& path, const std::string& reason) {
    const std::string text = ProgramPathText(path) + ": " + reason;
    SetFileError(code, format.name, text);
    if (code != InvalidFileErr) SetErrorText(text);
}

std::string SqliteReason(const std::string& what, Connection& c, int rc) {
    const std::string message = c.IsOpen() ? c.ErrorMessage() : std::string(sqlite3_errstr(rc));
    return what + ": " + (message.empty() ? std::string(sqlite3_errstr(rc)) : message);
}

bool SyncPath(const std::string& path, bool folder = false) {
    const int fd = ::open(path.c_str(), (folder ? O_DIRECTORY : 0) | O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = fsync(fd) == 0;
    ::close(fd);
    return ok;
}

std::string FolderOf(const std::string& path) {
    const auto parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

void RemoveDatabaseFile(const std::string& path) {
    std::remove(path.c_str());
    std::remove((path + "-journal").c_str());
}

std::vector<std::string> IndexNames(Connection& c, int* rc) {
    std::vector<std::string> names;
    sqlite3_stmt* q = c.Prepare(std::string("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='") +
                                    kRecordsTable + "' AND sql IS NOT NULL",
                                rc);
    if (!q) return names;
    StatementScope scope(q);
    while (sqlite3_step(q) == SQLITE_ROW) names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(q, 0)));
    return names;
}

// Reads every record through the reader into a new file of ours at target
// and checks it. Empty on success, else the reason.
std::string WriteConverted(const File& f, LegacyReader& reader, const std::string& target) {
    RemoveDatabaseFile(target);
    const RecordDecl& decl = f.Record();
    long written = 0;
    {
        Connection c;
        int rc = c.Open(target, true, false);
        if (rc != SQLITE_OK) return SqliteReason("cannot create " + ProgramPathText(target), c, rc);
        rc = CreateSchema(c, f);
        if (rc != SQLITE_OK) return SqliteReason("cannot create " + ProgramPathText(target), c, rc);
        // One bulk load without a journal (a failed load's file is thrown
        // away) and without syncs (the finished file is synced once), with
        // the whole file in memory; the keys are built after it, sorted
        // (with helper threads where there are free cores), which is much
        // faster than row by row.
        c.Exec("PRAGMA journal_mode=OFF");
        c.Exec("PRAGMA synchronous=OFF");
        c.Exec("PRAGMA cache_size=-131072");
        c.Exec("PRAGMA temp_store=MEMORY");
        c.Exec("PRAGMA threads=4");
        for (const std::string& index : IndexNames(c, &rc))
            if (rc == SQLITE_OK) rc = c.Exec("DROP INDEX " + Quote(index));
        if (rc == SQLITE_OK) rc = c.Exec("BEGIN");
        std::string params;
        for (std::size_t i = 0; i < decl.fields.size(); ++i) params += i ? ",?" : "?";
        sqlite3_stmt* insert = nullptr;
        if (rc == SQLITE_OK)
            insert = c.Prepare(std::string("INSERT INTO ") + kRecordsTable + "(" + ColumnList(f) + ") VALUES(" + params +
                                   ")",
                               &rc);
        if (!insert) return SqliteReason("cannot write " + ProgramPathText(target), c, rc);
        std::vector<std::max_align_t> buffer(decl.size / sizeof(std::max_align_t) + 1);
        for (;;) {
            ClearRecord(buffer.data(), decl);
            const int got = reader.Next(buffer.data());
            if (got == 0) break;
            if (got < 0) {
                const std::string why = reader.Failure();
                return why.empty() ? "record " + std::to_string(written + 1) + " cannot be read" : why;
            }
            BindRecord(insert, 1, decl, buffer.data());
            const int step = sqlite3_step(insert);
            sqlite3_reset(insert);
            if (step != SQLITE_DONE) return SqliteReason("cannot write " + ProgramPathText(target), c, step);
            ++written;
        }
        rc = c.Exec("COMMIT");
        if (rc != SQLITE_OK) return SqliteReason("cannot write " + ProgramPathText(target), c, rc);
        for (int k = 0; k < f.KeyCount(); ++k) {
            rc = c.Exec(IndexSql(f, k));
            if ((rc & 0xFF) == SQLITE_CONSTRAINT)
                return "two records have the same " + decl.prefix + ":" + f.KeyAt(k).name + ", a unique key";
            if (rc != SQLITE_OK) return SqliteReason("cannot build the keys of " + ProgramPathText(target), c, rc);
        }

        // The check: every record there, the declared layout, and the
        // storage's own check of its pages and indexes.
        if (reader.Count() >= 0 && reader.Count() != written)
            return std::to_string(written) + " records read of " + std::to_string(reader.Count());
        sqlite3_stmt* count = c.Prepare(std::string("SELECT count(*) FROM ") + kRecordsTable, &rc);
        long stored = -1;
        if (count) {
            StatementScope scope(count);
            if (sqlite3_step(count) == SQLITE_ROW) stored = static_cast<long>(sqlite3_column_int64(count, 0));
        }
        if (stored != written)
            return "the new file holds " + std::to_string(stored) + " records of " + std::to_string(written);
        if (CheckLayout(c, f, &rc) != LayoutCheck::Ok) return SqliteReason("the new file's layout is wrong", c, rc);
        std::string verdict;
        if (sqlite3_stmt* check = c.Prepare("PRAGMA quick_check", &rc)) {
            StatementScope scope(check);
            if (sqlite3_step(check) == SQLITE_ROW)
                if (const auto* t = sqlite3_column_text(check, 0)) verdict = reinterpret_cast<const char*>(t);
        }
        if (verdict != "ok") return "the new file fails its check: " + (verdict.empty() ? c.ErrorMessage() : verdict);
    }
    if (!SyncPath(target)) return "cannot write " + ProgramPathText(target) + ": " + std::strerror(errno);
    return {};
}

// True when both names hold the same bytes (the same file, or a copy).
bool SameContent(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
    if (sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino) return true;
    if (sa.st_size != sb.st_size) return false;
    std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
    std::vector<char> bx(1 << 16), by(1 << 16);
    while (x && y) {
        x.read(bx.data(), static_cast<std::streamsize>(bx.size()));
        y.read(by.data(), static_cast<std::streamsize>(by.size()));
        if (x.gcount() != y.gcount() || std::memcmp(bx.data(), by.data(), static_cast<std::size_t>(x.gcount())) != 0)
            return false;
    }
    return x.eof() && y.eof();
}

// Keeps the original under kept: a second name for the same file, or a
// synced copy on a file system without links. Empty on success.
std::string KeepOriginal(const std::string& path, const std::string& kept) {
    if (link(path.c_str(), kept.c_str()) == 0) return {};
    const int err = errno;
    if (err != EPERM && err != EOPNOTSUPP && err != EMLINK && err != ENOSYS && err != EXDEV)
        return "cannot keep the original as " + ProgramPathText(kept) + ": " + std::strerror(err);
    COPY(ProgramPathText(path), ProgramPathText(kept));
    if (ERRORCODE() != 0)
        return "cannot keep the original as " + ProgramPathText(kept) + ": " +
               (FILEERROR().empty() ? ERROR() : FILEERROR());
    return {};
}

// An exclusive lock on the original while it is converted, so that two
// programs opening it at once convert it once.
class OriginalLock {
public:
    explicit OriginalLock(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (fd_ >= 0)
            while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {}
    }
    ~OriginalLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    OriginalLock(const OriginalLock&) = delete;
    OriginalLock& operator=(const OriginalLock&) = delete;

private:
    int fd_;
};

std::string ConvertInPlace(const File& f, const std::string& path, const LegacyFormat& format) {
    OriginalLock lock(path);
    if (HasSqliteSignature(path)) return path;  // converted by another program while we waited
    auto reader = format.open ? format.open(path, f.Record()) : nullptr;
    if (!reader) {
        SetError(InvalidFileErr);
        return {};
    }
    if (reader->FailureCode() != 0) {
        Refuse(reader->FailureCode(), format, path, reader->Failure());
        return {};
    }
    const std::string kept = path + format.keptSuffix;
    const bool keptAlready = access(kept.c_str(), F_OK) == 0;
    if (keptAlready && !SameContent(path, kept)) {
        Refuse(FileSystemErr, format, path,
               ProgramPathText(kept) + " already exists and holds another file; move it away to convert this one");
        return {};
    }
    const std::string temp = path + ".converting";
    if (std::string why = WriteConverted(f, *reader, temp); !why.empty()) {
        RemoveDatabaseFile(temp);
        Refuse(reader->FailureCode() ? reader->FailureCode() : FileSystemErr, format, path, why);
        return {};
    }
    if (!keptAlready)
        if (std::string why = KeepOriginal(path, kept); !why.empty()) {
            RemoveDatabaseFile(temp);
            Refuse(FileSystemErr, format, path, why);
            return {};
        }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        RemoveDatabaseFile(temp);
        Refuse(FileSystemErr, format, path, std::string("cannot replace the original: ") + std::strerror(err));
        return {};
    }
    SyncPath(FolderOf(path), true);
    return path;
}

// The private folder of the read-only copies of files of earlier layouts:
// one per process in the system's temporary folder, removed at exit; the
// folders of processes that ended without removing theirs go at the start.
class CopyFolder {
public:
    ~CopyFolder() {
        std::error_code ec;
        if (!path_.empty() && owner_ == getpid()) std::filesystem::remove_all(path_, ec);
    }
    static CopyFolder& Get() {
        static CopyFolder folder;
        return folder;
    }
    // A fresh name in the folder; empty with errno set when there is no folder.
    std::string NewName() {
        if (path_.empty() || owner_ != getpid()) Make();
        if (path_.empty()) return {};
        RemoveUnused();
        return path_ + "/" + std::to_string(++serial_) + ".db";
    }

private:
    static constexpr const char* kPrefix = "cv-legacy-";

    void Make() {
        std::error_code ec;
        const std::string temp = std::filesystem::temp_directory_path(ec).string();
        if (ec) return;
        RemoveAbandoned(temp);
        std::string pattern = temp + "/" + kPrefix + std::to_string(getpid()) + "-XXXXXX";
        if (mkdtemp(pattern.data())) {
            path_ = pattern;
            owner_ = getpid();
        }
    }
    // Copies no instance holds open any longer.
    void RemoveUnused() {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(path_, ec)) {
            const std::string p = entry.path().string();
            if (p.size() > 3 && p.compare(p.size() - 3, 3, ".db") == 0 && !FindDatabase(p)) RemoveDatabaseFile(p);
        }
    }
    static void RemoveAbandoned(const std::string& temp) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(temp, ec)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(kPrefix, 0) != 0) continue;
            struct stat st {};
            if (lstat(entry.path().c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid()) continue;
            const long pid = std::strtol(name.c_str() + std::strlen(kPrefix), nullptr, 10);
            if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
                std::filesystem::remove_all(entry.path(), ec);
        }
    }

    std::string path_;
    pid_t owner_ = 0;
    long serial_ = 0;
};

std::string OpenReadOnlyCopy(const File& f, const std::string& path, const LegacyFormat& format) {
    auto reader = format.open ? format.open(path, f.Record()) : nullptr;
    if (!reader) {
        SetError(InvalidFileErr);
        return {};
    }
    if (reader->FailureCode() != 0) {
        Refuse(reader->FailureCode(), format, path, reader->Failure());
        return {};
    }
    const std::string copy = CopyFolder::Get().NewName();
    if (copy.empty()) {
        Refuse(FileSystemErr, format, path, std::string("no folder for a read-only copy: ") + std::strerror(errno));
        return {};
    }
    if (std::string why = WriteConverted(f, *reader, copy); !why.empty()) {
        RemoveDatabaseFile(copy);
        Refuse(reader->FailureCode() ? reader->FailureCode() : FileSystemErr, format, path, why);
        return {};
    }
    chmod(copy.c_str(), 0444);
    return copy;
}

}  // namespace

std::string OpenLegacy(const File& f, const std::string& path, const LegacyFormat& format) {
    return IsEarlierLayout(f.Record()) ? OpenReadOnlyCopy(f, path, format) : ConvertInPlace(f, path, format);
}

}  // namespace fw::data
