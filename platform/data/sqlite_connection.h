#pragma once
// One SQLite connection with its prepared statements, our collations and
// the mapping of SQLite's result codes onto the framework's error codes.

#include <sqlite3.h>

#include <string>
#include <string_view>
#include <unordered_map>

namespace fw::data {

// "FW": Windows-1252 upper case, then byte order, trailing blanks ignored;
// "FWEXACT": byte order, trailing blanks ignored (a case-sensitive key).
inline constexpr const char* kFoldedCollation = "FW";
inline constexpr const char* kExactCollation = "FWEXACT";

// Up to 64 MiB of pages per file, taken only as they are read: a large
// song base is browsed at random without going back to the disk, and a
// long transaction writes its pages once, at its commit.
inline constexpr const char* kCacheSizePragma = "cache_size=-65536";

class Connection {
public:
    Connection() = default;
    ~Connection() { Close(); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing file (or creates it with create set) and sets it up:
    // hardening (HardenConnection), our collations, rollback journal, synchronous FULL, the busy timeout.
    int Open(const std::string& path, bool create, bool readOnly);
    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    sqlite3* Handle() const { return db_; }

    // A cached prepared statement, reset and unbound; nullptr on error (rc set).
    sqlite3_stmt* Prepare(const std::string& sql, int* rc);
    // Runs statements without results; returns the SQLite result code.
    int Exec(const std::string& sql);
    void SetBusyTimeout(int milliseconds);
    std::string ErrorMessage() const;

private:
    sqlite3* db_ = nullptr;
    std::unordered_map<std::string, sqlite3_stmt*> statements_;
};

// Resets and unbinds a statement when the scope ends, so no statement ever
// holds a read lock between calls.
class StatementScope {
public:
    explicit StatementScope(sqlite3_stmt* s) : s_(s) {}
    ~StatementScope() {
        if (s_) {
            sqlite3_reset(s_);
            sqlite3_clear_bindings(s_);
        }
    }
    StatementScope(const StatementScope&) = delete;
    StatementScope& operator=(const StatementScope&) = delete;

private:
    sqlite3_stmt* s_;
};

void RegisterCollations(sqlite3* db);
// The settings every connection gets, for files that come from outside:
// defensive mode, untrusted schema, no double-quoted string literals.
void HardenConnection(sqlite3* db);

// Sets the current thread's error from a SQLite result: busy or locked 32,
// a unique clash 40, read-only or permission 5, anything else 90 with
// SQLite's own code and text.
void SetSqliteError(int rc, const Connection& c);
void SetSqliteError(int rc, std::string_view message);

// "name" quoted as an SQL identifier.
std::string Quote(std::string_view ident);

}  // namespace fw::data
