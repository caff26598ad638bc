#pragma once
// The count of records and the storage's quick check of files just opened,
// taken on an operating-system thread of its own, so that a window can show
// its first page meanwhile. That thread runs nothing of the program: it
// reads each file on a read-only connection of its own and says when it is
// done. A write to one of the files waits for the check to end (the program
// never writes to a file that has not passed it). While it runs it is work
// outside the program (scheduler.h), so the test driver settles with it.
//
//   fw::BackgroundCheck check({&SongBook(), &SBDiscs()});
//   check.OnEnd([&window] { window.Post(kCheckEnded); });
//   ...                                   // the first page shows
//   if (check.Done()) { const std::string problem = check.Result(); ... }
//
// A check made with Start::Later is in force at once (a write waits for it,
// Result() waits for it) but reads nothing until Start(), so the window can
// show its first page before the check competes with it; whatever waits for
// a check not started yet starts it.

#include "platform/data/file.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct sqlite3;

namespace fw {

class BackgroundCheck {
public:
    enum class Begin { Now, Later };
    // On the current thread's instances of the files, which are open; each
    // is counted, then checked, in the order given, from now or from Start().
    explicit BackgroundCheck(std::vector<File*> files, Begin begin = Begin::Now);
    // Stops a check still running and waits for its thread.
    ~BackgroundCheck();
    BackgroundCheck(const BackgroundCheck&) = delete;
    BackgroundCheck& operator=(const BackgroundCheck&) = delete;

    // Starts a check made with Begin::Later (nothing when it has started).
    void Start();
    bool Done() const { return done_->load(std::memory_order_acquire); }
    // Called on the Qt loop of the program's thread when the check has
    // ended (not when it ended before this call); it may only post an
    // event, as a Qt signal handler does.
    void OnEnd(std::function<void()> onEnd);
    // Waits for the end. Empty when every file is sound, otherwise the first
    // damaged file's NAME, ": " and the problem. The counts taken go to the
    // files' kept counts (RECORDS answers from them) where nothing has been
    // written to a file since it was counted.
    std::string Result();
    // Whether Result() has handed the counts over.
    bool Counted() const { return handedOver_; }

    // What a write to the file at `path` waits for (file_ops.cpp): every
    // check of this process over it; false when one found it damaged.
    static bool WaitForChecksOf(const std::string& path);
    // What a read that failed with SQLite's result rc on the file at `path`
    // asks (cursor.cpp, file_ops.cpp): true when the file is damaged (rc says
    // so) and a check of this process, waited for, has found it: its owner
    // reports the damage, so the read ends as if at the end of the file
    // instead of showing an error first.
    static bool ReportsDamageOf(const std::string& path, int rc);

private:
    struct Target;
    struct Ending;
    void Run();
    void HandOver();
    void Join();  // starts the check when it has not started, and waits for its end

    std::vector<std::shared_ptr<Target>> targets_;
    std::shared_ptr<Ending> ending_;  // what the Qt loop does at the end; gone with the check
    std::thread thread_;
    bool started_ = false;
    std::shared_ptr<std::atomic<bool>> done_ = std::make_shared<std::atomic<bool>>(false);
    std::atomic<bool> stop_{false};
    std::mutex checkingLock_;
    sqlite3* checking_ = nullptr;  // the checking thread's connection while open, for the stop to interrupt
    bool handedOver_ = false;
    std::string problem_;
};

}  // namespace fw
