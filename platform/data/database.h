#pragma once
// One data file on disk as the process holds it: its own connection, shared
// by every program thread's instance of the file, and the routing to the
// connection of a transaction that has the file attached.

#include "platform/data/file_use.h"
#include "platform/data/sqlite_connection.h"

#include <cstdint>
#include <memory>
#include <string>

namespace fw::data {

class Database {
public:
    explicit Database(std::string path) : path_(std::move(path)) {}
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const std::string& Path() const { return path_; }
    Connection& Own() { return own_; }
    bool Writable() const { return writable_; }

    // The connection and schema name statements on this file use now: the
    // file's own ("main"), or a transaction's that has it attached.
    Connection& Conn() { return route_ ? *route_ : own_; }
    const std::string& Schema() const { return schema_; }
    void RouteTo(Connection* c, std::string schema) {
        route_ = c;
        schema_ = c ? std::move(schema) : std::string("main");
    }
    bool Routed() const { return route_ != nullptr; }

    // Bumped by every write through this process, so read-ahead batches
    // taken before it are dropped.
    std::uint64_t Generation() const { return generation_; }
    void Changed() { ++generation_; }
    // Changed() for a write that added `delta` records (negative: removed;
    // 0: their number stays). A known count of records follows it when the
    // write went through this file's own connection; a write through
    // another file's transaction connection forgets the count.
    void Wrote(long delta) {
        const bool keep = knownRecords_ >= 0 && knownAt_ == generation_ && (!route_ || route_ == &own_);
        ++generation_;
        if (!keep) return;
        knownRecords_ += delta;
        knownAt_ = generation_;
    }

    // SQLite's data version of the file on its own connection: another
    // connection's commit (another process, or a transaction that attached
    // the file) moves it. -1 when it cannot be read.
    std::int64_t DataVersion();

    // RECORDS between counts: the number of records as counted (or kept by
    // Wrote) at the current generation, valid while SQLite's data version of
    // the own connection (which another connection's commit moves) is the
    // one seen then. -1 when not known.
    long KnownRecords(std::int64_t dataVersion) const {
        return knownAt_ == generation_ && knownDataVersion_ == dataVersion ? knownRecords_ : -1;
    }
    void KnowRecords(long n, std::int64_t dataVersion) {
        knownRecords_ = n;
        knownAt_ = generation_;
        knownDataVersion_ = dataVersion;
    }

    // STREAM: one write transaction on the own connection while any
    // instance streams.
    int streamers = 0;
    // LOGOUT runs over this file now.
    bool inTransaction = false;

    // Takes the file's shared hold (file_use.h), waiting up to waitMs for an
    // operation on it to end (SQLITE_BUSY when it does not), then opens the
    // connection.
    int OpenConnection(int waitMs);

private:
    std::string path_;
    FileUse use_;
    Connection own_;
    Connection* route_ = nullptr;
    std::string schema_ = "main";
    std::uint64_t generation_ = 0;
    long knownRecords_ = -1;
    std::uint64_t knownAt_ = 0;
    std::int64_t knownDataVersion_ = 0;
    bool writable_ = true;
};

// The process's Database for a path (the real path on disk), opened on first
// use and closed when the last holder lets go. rc is SQLite's result.
std::shared_ptr<Database> AcquireDatabase(const std::string& path, int* rc, int waitMs = 0);
// The Database for a path when some instance holds it open; nullptr if none.
std::shared_ptr<Database> FindDatabase(const std::string& path);

// True when the file at path starts with SQLite's signature.
bool HasSqliteSignature(const std::string& path);
// True when a SQLite file is shorter than its header says (and no journal
// could restore it).
bool IsTruncatedSqlite(const std::string& path);

}  // namespace fw::data
