#include "platform/data/snapshot/database_snapshot.h"

#include "platform/data/names/temp_files.h"
#include "platform/data/sqlite_connection.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace fw {
namespace {

namespace fs = std::filesystem;

// How long a copy waits for a writer of the source to finish.
constexpr int kBusyWaitMs = 10000;

void RemoveWithSideFiles(const fs::path& path) {
    std::error_code ec;
    fs::remove(path, ec);
    fs::remove(path.string() + "-journal", ec);
}

// One connection, closed on every path out.
struct Connection {
    sqlite3* db = nullptr;
    ~Connection() { sqlite3_close_v2(db); }
    std::string Error() const { return db ? sqlite3_errmsg(db) : "out of memory"; }
};

bool Open(Connection& c, const fs::path& path, int flags, std::string& error) {
    const int rc = sqlite3_open_v2(path.c_str(), &c.db, flags, nullptr);
    if (rc != SQLITE_OK) {
        error = c.Error();
        return false;
    }
    sqlite3_busy_timeout(c.db, kBusyWaitMs);
    data::HardenConnection(c.db);
    // The keys of our files are indexes in our own collations, which the
    // integrity check needs to verify their order.
    data::RegisterCollations(c.db);
    return true;
}

bool Exec(Connection& c, const char* sql, std::string& error) {
    if (sqlite3_exec(c.db, sql, nullptr, nullptr, nullptr) == SQLITE_OK) return true;
    error = c.Error();
    return false;
}

// A new, empty file with a unique name in `folder`.
bool CreateTempFile(const fs::path& folder, fs::path& path, std::string& error) {
    std::string pattern = (folder / (TempFilePrefix("snapshot") + "XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    ::close(fd);
    path = pattern;
    return true;
}

// Copies every page of `from` into `to` under one read lock of the source.
bool CopyPages(Connection& from, Connection& to, std::string& error) {
    sqlite3_backup* backup = sqlite3_backup_init(to.db, "main", from.db, "main");
    if (!backup) {
        error = to.Error();
        return false;
    }
    int rc = sqlite3_backup_step(backup, -1);
    for (int retries = 3; (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && retries > 0; --retries) {
        sqlite3_sleep(100);
        rc = sqlite3_backup_step(backup, -1);
    }
    const int finish = sqlite3_backup_finish(backup);
    if (rc == SQLITE_DONE && finish == SQLITE_OK) return true;
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        error = "the database is in use";
    else
        error = rc != SQLITE_DONE ? from.Error() : to.Error();
    if (error.empty() || error == "not an error") error = sqlite3_errstr(rc != SQLITE_DONE ? rc : finish);
    return false;
}

}  // namespace

DatabaseSnapshot::DatabaseSnapshot(DatabaseSnapshot&& other) noexcept { *this = std::move(other); }

DatabaseSnapshot& DatabaseSnapshot::operator=(DatabaseSnapshot&& other) noexcept {
    if (this != &other) {
        Remove();
        path_ = std::move(other.path_);
        other.path_.clear();
    }
    return *this;
}

DatabaseSnapshot::~DatabaseSnapshot() { Remove(); }

void DatabaseSnapshot::Remove() {
    if (path_.empty()) return;
    RemoveWithSideFiles(path_);
    path_.clear();
}

fs::path DatabaseSnapshot::Release() {
    fs::path kept = std::move(path_);
    path_.clear();
    return kept;
}

bool IsSqliteFile(const fs::path& file) {
    static constexpr char kHeader[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f', 'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};
    std::ifstream in(file, std::ios::binary);
    char head[16];
    return in.read(head, sizeof head) && std::memcmp(head, kHeader, sizeof head) == 0;
}

bool CheckDatabase(const fs::path& file, std::string& error) {
    Connection c;
    if (!Open(c, file, SQLITE_OPEN_READONLY, error)) return false;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(c.db, "PRAGMA integrity_check", -1, &stmt, nullptr) != SQLITE_OK) {
        error = c.Error();
        return false;
    }
    int rc = sqlite3_step(stmt);
    std::string first;
    if (rc == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(stmt, 0);
        first = text ? reinterpret_cast<const char*>(text) : "";
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
    }
    const bool stepped = rc == SQLITE_DONE;
    if (!stepped) error = c.Error();
    sqlite3_finalize(stmt);
    if (!stepped) return false;
    if (first == "ok") return true;
    error = first.empty() ? "the integrity check gave no answer" : first;
    return false;
}

bool SnapshotDatabase(const fs::path& source, const fs::path& folder, DatabaseSnapshot& snapshot,
                      std::string& error) {
    snapshot.Remove();
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) {
        error = "Cannot copy " + source.string() + ": the file does not exist";
        return false;
    }
    // SQLite takes an empty file for an empty database; a book is never empty.
    if (!IsSqliteFile(source)) {
        error = "Cannot copy " + source.string() + ": it is not an SQLite database";
        return false;
    }
    fs::path temp;
    std::string reason;
    if (!CreateTempFile(folder, temp, reason)) {
        error = "Cannot write in " + folder.string() + ": " + reason;
        return false;
    }
    bool ok = false;
    {
        Connection from, to;
        ok = Open(from, source, SQLITE_OPEN_READONLY, reason) &&
             Open(to, temp, SQLITE_OPEN_READWRITE, reason) &&
             Exec(to, "PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF", reason) &&
             CopyPages(from, to, reason);
        if (!ok) error = "Cannot copy " + source.string() + ": " + reason;
    }
    if (ok && !CheckDatabase(temp, reason)) {
        ok = false;
        error = "The copy of " + source.string() + " is not sound: " + reason;
    }
    if (!ok) {
        RemoveWithSideFiles(temp);
        return false;
    }
    snapshot.path_ = temp;
    return true;
}

}  // namespace fw
