#include "platform/data/database.h"

#include "platform/data/fork_guard.h"

#include <sys/stat.h>
#include <cerrno>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>

namespace fw::data {
namespace {

struct Registry {
    unsigned forks = 0;
    std::map<std::string, std::weak_ptr<Database>> open;
};

// Never destroyed: instances may close their files during exit.
Registry& TheRegistry() {
    static Registry* r = new Registry{ForkGeneration(), {}};
    if (r->forks != ForkGeneration()) {
        // A forked child must not use its parent's connections: it forgets
        // them (without closing, which would touch the parent's locks).
        for (auto& [path, weak] : r->open)
            if (auto db = weak.lock()) new std::shared_ptr<Database>(db);  // keep alive, never closed
        r->open.clear();
        r->forks = ForkGeneration();
    }
    return *r;
}

bool ReadHeader(const std::string& path, unsigned char* buf, std::size_t n, std::size_t* got) {
    std::FILE* fp = std::fopen(path.c_str(), "rb");
    if (!fp) return false;
    *got = std::fread(buf, 1, n, fp);
    std::fclose(fp);
    return true;
}

}  // namespace

Database::~Database() {
    if (streamers > 0) own_.Exec("COMMIT");
    own_.Close();
}

std::int64_t Database::DataVersion() {
    int rc = SQLITE_OK;
    sqlite3_stmt* s = own_.Prepare("PRAGMA main.data_version", &rc);
    if (!s) return -1;
    StatementScope scope(s);
    return sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : -1;
}

int Database::OpenConnection(int waitMs) {
    if (!use_.Take(path_, FileUse::Shared, waitMs)) return errno == EWOULDBLOCK ? SQLITE_BUSY : SQLITE_CANTOPEN;
    writable_ = access(path_.c_str(), W_OK) == 0;
    struct stat st {};
    if (stat(path_.c_str(), &st) == 0 && (st.st_mode & 0222) == 0) writable_ = false;
    return own_.Open(path_, false, !writable_);
}

std::shared_ptr<Database> AcquireDatabase(const std::string& path, int* rc, int waitMs) {
    Registry& r = TheRegistry();
    *rc = SQLITE_OK;
    if (auto it = r.open.find(path); it != r.open.end())
        if (auto db = it->second.lock()) return db;
    auto db = std::make_shared<Database>(path);
    *rc = db->OpenConnection(waitMs);
    if (*rc != SQLITE_OK) return nullptr;
    r.open[path] = db;
    return db;
}

std::shared_ptr<Database> FindDatabase(const std::string& path) {
    Registry& r = TheRegistry();
    if (auto it = r.open.find(path); it != r.open.end()) return it->second.lock();
    return nullptr;
}

bool IsFileInUse(const std::string& diskPath) {
    struct stat target {};
    if (stat(diskPath.c_str(), &target) != 0) return false;
    // Open here: compared by identity, so that no descriptor of this process
    // on the file is closed under SQLite's locks.
    for (const auto& [path, weak] : TheRegistry().open) {
        struct stat st {};
        if (!weak.expired() && stat(path.c_str(), &st) == 0 && st.st_dev == target.st_dev && st.st_ino == target.st_ino)
            return true;
    }
    FileUse probe;
    if (probe.Take(diskPath, FileUse::Exclusive)) return false;
    return errno == EWOULDBLOCK;
}

bool HasSqliteSignature(const std::string& path) {
    unsigned char head[16];
    std::size_t got = 0;
    if (!ReadHeader(path, head, sizeof head, &got) || got < sizeof head) return false;
    static const char sig[] = "SQLite format 3";
    for (int i = 0; i < 16; ++i)
        if (head[i] != static_cast<unsigned char>(sig[i])) return false;
    return true;
}

bool IsTruncatedSqlite(const std::string& path) {
    unsigned char h[100];
    std::size_t got = 0;
    if (!ReadHeader(path, h, sizeof h, &got)) return false;
    if (got < sizeof h) return true;
    if (access((path + "-journal").c_str(), F_OK) == 0) return false;  // a hot journal: SQLite restores it
    std::uint32_t pageSize = (static_cast<std::uint32_t>(h[16]) << 8) | h[17];
    if (pageSize == 1) pageSize = 65536;
    const std::uint32_t pages = (static_cast<std::uint32_t>(h[28]) << 24) | (static_cast<std::uint32_t>(h[29]) << 16) |
                                (static_cast<std::uint32_t>(h[30]) << 8) | h[31];
    const std::uint32_t changeCounter = (static_cast<std::uint32_t>(h[24]) << 24) |
                                        (static_cast<std::uint32_t>(h[25]) << 16) |
                                        (static_cast<std::uint32_t>(h[26]) << 8) | h[27];
    const std::uint32_t validFor = (static_cast<std::uint32_t>(h[92]) << 24) | (static_cast<std::uint32_t>(h[93]) << 16) |
                                   (static_cast<std::uint32_t>(h[94]) << 8) | h[95];
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return false;
    if (static_cast<std::uint64_t>(st.st_size) % pageSize != 0) return true;
    if (pages == 0 || changeCounter != validFor) return false;  // header size not trustworthy
    return static_cast<std::uint64_t>(st.st_size) < static_cast<std::uint64_t>(pages) * pageSize;
}

}  // namespace fw::data
