#include "platform/data/sqlite_connection.h"

#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"
#include "platform/data/text_match.h"

#include <cstring>

namespace fw::data {
namespace {

int CompareFoldedCallback(void*, int an, const void* a, int bn, const void* b) {
    return CompareFolded(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(an)),
                         std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(bn)));
}

int CompareExactCallback(void*, int an, const void* a, int bn, const void* b) {
    std::string_view x(static_cast<const char*>(a), static_cast<std::size_t>(an));
    std::string_view y(static_cast<const char*>(b), static_cast<std::size_t>(bn));
    while (!x.empty() && x.back() == ' ') x.remove_suffix(1);
    while (!y.empty() && y.back() == ' ') y.remove_suffix(1);
    const int c = x.compare(y);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// SQLite keeps a count of the memory it holds under a lock taken on every
// allocation; nothing here reads it, and the lock was a few per cent of
// adding listings. It can only be switched off before SQLite starts, so
// this runs as the program loads (a call after that changes nothing).
[[maybe_unused]] const int kMemoryCountOff = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);

}  // namespace

void HardenConnection(sqlite3* db) {
    // A file may come from anywhere (a restored backup, a book copied in):
    // its schema is not trusted to call functions, the schema cannot be
    // written directly, and a misspelt column never reads back as a string.
    // (OPEN refuses any file with triggers or views: schema.h.)
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
}

void RegisterCollations(sqlite3* db) {
    sqlite3_create_collation(db, kFoldedCollation, SQLITE_UTF8, nullptr, CompareFoldedCallback);
    sqlite3_create_collation(db, kExactCollation, SQLITE_UTF8, nullptr, CompareExactCallback);
    RegisterTextMatch(db);
}

int Connection::Open(const std::string& path, bool create, bool readOnly) {
    Close();
    int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (create && !readOnly) flags |= SQLITE_OPEN_CREATE;
    flags |= SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) return rc;
    sqlite3_extended_result_codes(db_, 1);
    HardenConnection(db_);
    RegisterCollations(db_);
    SetBusyTimeout(3000);
    // Rollback journal (never WAL) so that a transaction over attached files
    // commits on all or none; every commit reaches the disk.
    if (!readOnly) {
        rc = Exec("PRAGMA journal_mode=DELETE");
        if (rc != SQLITE_OK) return rc;
    }
    Exec("PRAGMA synchronous=FULL");
    Exec(std::string("PRAGMA ") + kCacheSizePragma);
    // Statement and save-point journals in memory: they only undo part of
    // a transaction (the rollback journal on disk is what a crash needs),
    // and as temporary files they cost a write for every page each
    // statement touches again.
    Exec("PRAGMA temp_store=MEMORY");
    return SQLITE_OK;
}

void Connection::Close() {
    for (auto& [sql, s] : statements_) sqlite3_finalize(s);
    statements_.clear();
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

sqlite3_stmt* Connection::Prepare(const std::string& sql, int* rc) {
    auto it = statements_.find(sql);
    if (it != statements_.end()) {
        *rc = SQLITE_OK;
        return it->second;
    }
    sqlite3_stmt* s = nullptr;
    *rc = sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &s, nullptr);
    if (*rc != SQLITE_OK) {
        sqlite3_finalize(s);
        return nullptr;
    }
    statements_.emplace(sql, s);
    return s;
}

int Connection::Exec(const std::string& sql) {
    // Schema changes invalidate cached statements' plans; SQLite re-prepares
    // them itself, so the cache can stay.
    char* err = nullptr;
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err);
    sqlite3_free(err);
    return rc;
}

void Connection::SetBusyTimeout(int milliseconds) {
    if (db_) sqlite3_busy_timeout(db_, milliseconds);
}

std::string Connection::ErrorMessage() const { return db_ ? sqlite3_errmsg(db_) : "not open"; }

void SetSqliteError(int rc, std::string_view message) {
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: SetError(IsLockedErr); return;
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) {
            SetError(DupKeyErr);
            return;
        }
        break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH: SetError(NoAccessErr); return;
    default: break;
    }
    SetFileError(FileSystemErr, std::to_string(rc), message);
}

void SetSqliteError(int rc, const Connection& c) { SetSqliteError(rc, c.ErrorMessage()); }

std::string Quote(std::string_view ident) {
    std::string q = "\"";
    for (char ch : ident) {
        if (ch == '"') q += '"';
        q += ch;
    }
    q += '"';
    return q;
}

}  // namespace fw::data
