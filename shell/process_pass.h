#pragma once
// A progress pass: a view over one file read in key order (optionally
// filtered), an action on each record, done a slice of records at a time.
// ProgressProcess (process_window.h) drives it from its window's timer; the
// pass itself has no window, so it can be run and measured alone.

#include "platform/data/file.h"
#include "platform/data/view.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace shell {

struct ProgressSpec {
    fw::File* primary = nullptr;
    fw::Key order;                        // invalid: record order
    std::string filter;                   // PROP:Filter over the fields and BIND names
    std::function<void(fw::View&)> joins;
    std::function<void()> action;         // on the current record (the buffers)
    long recordsPerTimerEvent = 25;
    std::function<long()> estimate;       // RecordEstimate, taken at the start
    std::string userText;                 // ?PROGRESS:USERSTRING
    std::string caption;                  // in place of "Processing Records" when set
    // The action changes the order key or the filter's fields: the matching
    // records are listed first and each is visited once.
    bool actionMovesKey = false;
    // Tests only: given the number of the read (1 = the first) and its
    // error code, returns the code the pass acts on, to stand for a failing
    // file.
    std::function<int(long read, int code)> readCode;
};

enum class PassState { Running, Completed, NothingToDo, Cancelled, Failed };

class ProgressPass {
public:
    explicit ProgressPass(const ProgressSpec& desc);
    ~ProgressPass();
    ProgressPass(const ProgressPass&) = delete;
    ProgressPass& operator=(const ProgressPass&) = delete;

    // Sets the order and filter (warning 36 on a failure, then goes on),
    // opens the view and reads the first record.
    void Start();
    // Up to recordsPerTimerEvent actions, each followed by a read.
    void Slice();
    void Cancel();

    PassState State() const { return state_; }
    long RecordsRead() const { return recordsRead_; }
    int PercentDone() const { return percentDone_; }
    // The percentage text: "  5% Completed", "100% Completed".
    static std::string PercentText(int percent);
    // RecordsRead / estimate x 100, cut, at most 100; 0 for an estimate of 0.
    static int Percent(long read, long estimate);

private:
    bool ReadNext();  // false at the end or on a failure (state set)

    const ProgressSpec& spec_;
    std::unique_ptr<fw::View> view_;
    std::vector<std::string> positions_;  // actionMovesKey: the matching records, in view order
    std::size_t nextPosition_ = 0;
    long estimate_ = 0;
    long recordsRead_ = 0;
    long readsDone_ = 0;
    int percentDone_ = 0;
    PassState state_ = PassState::Running;
};

}  // namespace shell
