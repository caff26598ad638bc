#include "platform/data/transaction.h"

#include "platform/data/deferred_keys.h"
#include "platform/data/file_access.h"
#include "platform/data/sqlite_connection.h"
#include "platform/runtime/error_state.h"
#include "platform/runtime/thread_context.h"

#include <memory>
#include <string>
#include <vector>

namespace fw {
namespace {

inline constexpr int kNoLogoutErr = 91;

struct Transaction;
void Finish(Transaction& t, bool committed);

struct Transaction {
    bool active = false;
    std::vector<std::shared_ptr<data::Database>> files;  // files[0] owns the connection
    // A thread that ends inside its transaction leaves nothing half done.
    ~Transaction() {
        if (!active) return;
        files[0]->Own().Exec("ROLLBACK");
        Finish(*this, false);
    }
};

Transaction& Current() { return ThreadSlot<Transaction>(); }

std::string Alias(std::size_t i) { return "t" + std::to_string(i); }

// Detaches the attached files, restores routing and the streams. After a
// commit the first file (whose own connection ran the transaction) keeps its
// count of records; the others count again, as after a rollback.
void Finish(Transaction& t, bool committed) {
    data::ForgetDeferredKeys();
    data::Connection& c = t.files[0]->Own();
    for (std::size_t i = 0; i < t.files.size(); ++i) {
        if (i == 0 && committed) t.files[i]->Wrote(0);
        else t.files[i]->Changed();
        t.files[i]->RouteTo(nullptr, "");
        t.files[i]->inTransaction = false;
        if (i > 0) c.Exec("DETACH DATABASE " + Alias(i));
    }
    for (auto& db : t.files) data::ResumeStream(*db);
    t.files.clear();
    t.active = false;
}

}  // namespace

bool InTransaction() { return Current().active; }

void LOGOUT(int timeoutSeconds, std::initializer_list<File*> files) {
    Transaction& t = Current();
    if (t.active) {
        SetError(56);
        return;
    }
    std::vector<std::shared_ptr<data::Database>> dbs;
    for (File* f : files) {
        FileInstance* inst = f ? data::OpenInstance(*f) : nullptr;
        if (!inst) {
            if (!f) SetError(NotOpenErr);
            return;
        }
        bool seen = false;
        for (auto& d : dbs) seen = seen || d == inst->db;
        if (!seen) dbs.push_back(inst->db);
    }
    if (dbs.empty()) {
        SetError(NotOpenErr);
        return;
    }
    if (dbs.size() > static_cast<std::size_t>(kMaxTransactionFiles)) {
        SetFileError(FileSystemErr, "LOGOUT", "more files in one transaction than can be attached");
        return;
    }
    for (auto& d : dbs)
        if (d->inTransaction) {
            SetError(56);
            return;
        }
    for (auto& d : dbs) data::SuspendStream(*d);

    data::Connection& c = dbs[0]->Own();
    int rc = SQLITE_OK;
    std::size_t attached = 0;
    for (std::size_t i = 1; i < dbs.size() && rc == SQLITE_OK; ++i) {
        sqlite3_stmt* s = nullptr;
        rc = sqlite3_prepare_v2(c.Handle(), ("ATTACH DATABASE ? AS " + Alias(i)).c_str(), -1, &s, nullptr);
        if (rc == SQLITE_OK) {
            sqlite3_bind_text(s, 1, dbs[i]->Path().c_str(), -1, SQLITE_TRANSIENT);
            rc = sqlite3_step(s);
            if (rc == SQLITE_DONE) rc = SQLITE_OK;
        }
        sqlite3_finalize(s);
        if (rc == SQLITE_OK) {
            ++attached;
            c.Exec("PRAGMA " + Alias(i) + ".journal_mode=DELETE");
            c.Exec("PRAGMA " + Alias(i) + ".synchronous=FULL");
            c.Exec("PRAGMA " + Alias(i) + "." + data::kCacheSizePragma);
        }
    }
    if (rc == SQLITE_OK) {
        c.SetBusyTimeout(timeoutSeconds < 0 ? 0 : timeoutSeconds * 1000);
        rc = c.Exec("BEGIN IMMEDIATE");
        c.SetBusyTimeout(data::kDefaultLockWaitMs);
    }
    if (rc != SQLITE_OK) {
        const std::string message = c.ErrorMessage();
        for (std::size_t i = 1; i <= attached; ++i) c.Exec("DETACH DATABASE " + Alias(i));
        for (auto& d : dbs) data::ResumeStream(*d);
        data::SetSqliteError(rc, message);
        return;
    }
    for (std::size_t i = 0; i < dbs.size(); ++i) {
        dbs[i]->RouteTo(&c, i == 0 ? "main" : Alias(i));
        dbs[i]->inTransaction = true;
    }
    t.files = std::move(dbs);
    t.active = true;
    ClearError();
}

void COMMIT() {
    Transaction& t = Current();
    if (!t.active) {
        SetError(kNoLogoutErr);
        return;
    }
    data::Connection& c = t.files[0]->Own();
    int rc = data::BuildDeferredKeys(c);
    if (rc == SQLITE_OK) rc = c.Exec("COMMIT");
    if (rc != SQLITE_OK) {
        const std::string message = c.ErrorMessage();
        c.Exec("ROLLBACK");
        Finish(t, false);
        data::SetSqliteError(rc, message);
        return;
    }
    Finish(t, true);
    ClearError();
}

void ROLLBACK() {
    Transaction& t = Current();
    if (!t.active) {
        SetError(kNoLogoutErr);
        return;
    }
    t.files[0]->Own().Exec("ROLLBACK");
    Finish(t, false);
    ClearError();
}

namespace {

// Runs savepoint statements on the thread's transaction; the undo also
// drops what was read ahead.
void OnTransaction(std::initializer_list<const char*> statements, bool undo) {
    Transaction& t = Current();
    if (!t.active) {
        SetError(kNoLogoutErr);
        return;
    }
    data::Connection& c = t.files[0]->Own();
    int rc = SQLITE_OK;
    for (const char* sql : statements)
        if (rc == SQLITE_OK) rc = c.Exec(sql);
    if (undo)
        for (auto& db : t.files) db->Changed();
    if (rc != SQLITE_OK) return data::SetSqliteError(rc, c.ErrorMessage());
    ClearError();
}

}  // namespace

void SavePoint() { OnTransaction({"SAVEPOINT fw_point"}, false); }
void ReleaseSavePoint() { OnTransaction({"RELEASE fw_point"}, false); }
void RollbackToSavePoint() { OnTransaction({"ROLLBACK TO fw_point", "RELEASE fw_point"}, true); }

}  // namespace fw
