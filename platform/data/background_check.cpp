#include "platform/data/background_check.h"

#include "platform/data/file_access.h"
#include "platform/data/file_instance.h"
#include "platform/data/file_ops.h"
#include "platform/data/schema.h"
#include "platform/data/sqlite_connection.h"
#include "platform/runtime/error_state.h"
#include "platform/runtime/scheduler.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <sqlite3.h>

#include <algorithm>

namespace fw {

struct BackgroundCheck::Target {
    std::string name;  // NAME(file), for the answer
    std::string path;  // the file on disk
    std::shared_ptr<data::Database> db;
    std::uint64_t generation = 0;    // the file's writes through this process, at the start
    std::int64_t dataVersion = -1;   // other connections' commits, at the start
    long count = -1;                 // from the checking thread
    std::string problem;             // from the checking thread
};

// The end as the program's thread takes it: the outside work ends once,
// here or when the check goes first.
struct BackgroundCheck::Ending {
    bool outsideWork = false;
    std::function<void()> onEnd;
    void End() {
        if (outsideWork) runtime::EndOutsideWork();
        outsideWork = false;
    }
};

namespace {

// The checks running now (created, waited on and ended on the program's
// thread only).
std::vector<BackgroundCheck*>& Running() {
    static std::vector<BackgroundCheck*> running;
    return running;
}

int StopRequested(void* stop) { return static_cast<std::atomic<bool>*>(stop)->load(std::memory_order_relaxed) ? 1 : 0; }

// One statement's first column on the checking connection; false on an error (its text in *error).
bool FirstColumn(sqlite3* db, const char* sql, std::string* text, long* number, std::string* error) {
    sqlite3_stmt* s = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(s);
    const bool ok = rc == SQLITE_ROW;
    if (ok) {
        if (text) {
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
            *text = t ? t : "";
        }
        if (number) *number = static_cast<long>(sqlite3_column_int64(s, 0));
    } else {
        *error = sqlite3_errmsg(db);
    }
    sqlite3_finalize(s);
    return ok;
}

}  // namespace

BackgroundCheck::BackgroundCheck(std::vector<File*> files, Begin begin) {
    for (File* f : files) {
        auto t = std::make_shared<Target>();
        t->name = NAME(*f);
        if (FileInstance* inst = data::OpenInstance(*f)) {
            t->db = inst->db;
            t->path = inst->db->Path();
            t->generation = inst->db->Generation();
            if (!inst->db->Routed()) t->dataVersion = inst->db->DataVersion();
        }
        targets_.push_back(std::move(t));
    }
    ClearError();
    Running().push_back(this);
    ending_ = std::make_shared<Ending>();
    if (QCoreApplication::instance()) {
        ending_->outsideWork = true;
        runtime::BeginOutsideWork();
    }
    if (begin == Begin::Now) Start();
}

void BackgroundCheck::Start() {
    if (started_) return;
    started_ = true;
    thread_ = std::thread([this] { Run(); });
}

void BackgroundCheck::Join() {
    Start();
    if (thread_.joinable()) thread_.join();
}

void BackgroundCheck::OnEnd(std::function<void()> onEnd) { ending_->onEnd = std::move(onEnd); }

BackgroundCheck::~BackgroundCheck() {
    stop_.store(true, std::memory_order_relaxed);
    {
        // The count and the check each run as one step of SQLite's, which
        // the progress handler does not enter; an interrupt ends them at once.
        std::lock_guard<std::mutex> lock(checkingLock_);
        if (checking_) sqlite3_interrupt(checking_);
    }
    if (thread_.joinable()) thread_.join();
    ending_->End();
    ending_.reset();
    auto& running = Running();
    running.erase(std::remove(running.begin(), running.end(), this), running.end());
}

// On the checking thread: only the targets' own fields and its own connections.
void BackgroundCheck::Run() {
    for (const auto& t : targets_) {
        if (stop_.load(std::memory_order_relaxed)) break;
        if (t->path.empty()) {
            t->problem = "the file is not open";
            break;
        }
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(t->path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
            t->problem = db ? sqlite3_errmsg(db) : "the file cannot be read";
            sqlite3_close(db);
            break;
        }
        {
            std::lock_guard<std::mutex> lock(checkingLock_);
            checking_ = db;
        }
        data::HardenConnection(db);
        data::RegisterCollations(db);
        sqlite3_busy_timeout(db, data::kDefaultLockWaitMs);
        sqlite3_progress_handler(db, 1000, StopRequested, &stop_);
        std::string error, answer;
        long count = -1;
        // (A stop asked for between the two finds no statement running to
        // interrupt: each looks first.)
        const auto stopped = [this] { return stop_.load(std::memory_order_relaxed); };
        if (!stopped() &&
            FirstColumn(db, (std::string("SELECT count(*) FROM ") + data::kRecordsTable).c_str(), nullptr, &count, &error))
            t->count = count;
        if (!stopped()) {
            if (FirstColumn(db, "PRAGMA quick_check(1)", &answer, nullptr, &error)) {
                if (answer != "ok") t->problem = answer.empty() ? "the check gave no answer" : answer;
            } else if (!stopped()) {
                t->problem = error;
            }
        }
        {
            std::lock_guard<std::mutex> lock(checkingLock_);
            checking_ = nullptr;
        }
        sqlite3_close(db);
        if (!t->problem.empty()) break;
    }
    done_->store(true, std::memory_order_release);
    // The program's thread hears of it on its Qt loop (while the check is still there).
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(
            app,
            [ending = std::weak_ptr<Ending>(ending_)] {
                const auto e = ending.lock();
                if (!e) return;
                e->End();
                if (e->onEnd) e->onEnd();
            },
            Qt::QueuedConnection);
    }
}

void BackgroundCheck::HandOver() {
    if (handedOver_) return;
    handedOver_ = true;
    for (const auto& t : targets_) {
        if (!problem_.empty()) break;
        if (!t->problem.empty()) problem_ = t->name + ": " + t->problem;
    }
    for (const auto& t : targets_) {
        if (!t->db || t->count < 0 || t->dataVersion < 0 || t->db->Routed()) continue;
        if (t->db->Generation() == t->generation && t->db->DataVersion() == t->dataVersion)
            t->db->KnowRecords(t->count, t->dataVersion);
    }
}

std::string BackgroundCheck::Result() {
    Join();
    HandOver();
    return problem_;
}

bool BackgroundCheck::WaitForChecksOf(const std::string& path) {
    bool sound = true;
    for (BackgroundCheck* c : Running()) {
        for (const auto& t : c->targets_) {
            if (t->path != path) continue;
            c->Join();
            sound = sound && t->problem.empty();
        }
    }
    return sound;
}

bool BackgroundCheck::ReportsDamageOf(const std::string& path, int rc) {
    if ((rc & 0xFF) != SQLITE_CORRUPT && (rc & 0xFF) != SQLITE_NOTADB) return false;
    bool covered = false;
    for (BackgroundCheck* c : Running())
        for (const auto& t : c->targets_) covered = covered || t->path == path;
    return covered && !WaitForChecksOf(path);
}

}  // namespace fw
