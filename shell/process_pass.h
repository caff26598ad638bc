#pragma once
// A progress pass: items read one at a time from a source (a view over a
// file, the entries of an in-memory queue, or a step function of the
// caller's), an action on each item, done a slice at a time. ProgressWindow
// and RunProgressProcess (process_window.h) drive it from a window's timer;
// the pass itself has no window, so it can be run and measured alone.

#include "platform/data/file.h"
#include "platform/data/queue/queue.h"
#include "platform/data/view.h"

#include <concepts>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace shell {

enum class PassState { Running, Completed, NothingToDo, Cancelled, Failed };

// Whether the action changes the view's order key or the fields its filter
// reads. Every view source says so: with Yes the matching records are listed
// first and each is visited once by its position, so an edited record is not
// met again further on.
enum class ActionMovesKey { No, Yes };

// A view over a file, in key order (or record order for an invalid key),
// optionally filtered over the record's fields and BIND names.
struct ViewSource {
    ViewSource(fw::File& file, fw::Key order, ActionMovesKey moves)
        : file(&file), order(order), actionMovesKey(moves) {}
    fw::File* file;
    fw::Key order;
    ActionMovesKey actionMovesKey;
    std::string filter;
    std::function<void(fw::View&)> joins;
};

// The entries of a queue from the first to the last, each read by position
// into the queue's buffer. The action must not add or delete entries; a
// pass that empties its queue does so once it has ended (FREE).
struct QueueSource {
    QueueSource(fw::Queue& queue, std::string label) : queue(&queue), label(std::move(label)) {}
    fw::Queue* queue;
    std::string label;  // warning 35's text when an entry cannot be read
};

// The caller's own reading: next() makes the next item current and returns
// 0, fw::RecordNotAvailable (33) at the end, or another error code, which
// shows warning 35 with the label and ends the pass as failed.
struct StepSource {
    StepSource(std::function<int()> next, std::string label) : next(std::move(next)), label(std::move(label)) {}
    std::function<int()> next;
    std::string label;
    std::function<void()> start;  // when set: run at the start, before the estimate and the first next()
};

class ProgressPass;

// The action on the current item. Written as a callable taking nothing or
// the pass (to call Advance), returning nothing (go on) or a PassState:
// Running goes on; Completed, Cancelled or Failed end the pass there, with
// that state, before the next read.
class PassAction {
public:
    PassAction() = default;
    template <class F>
        requires(!std::same_as<std::remove_cvref_t<F>, PassAction>)
    PassAction(F f) {  // NOLINT: implicit, so a lambda can be assigned
        if constexpr (std::is_invocable_v<F&, ProgressPass&>) {
            if constexpr (std::is_void_v<std::invoke_result_t<F&, ProgressPass&>>)
                call_ = [f = std::move(f)](ProgressPass& p) mutable { f(p); return PassState::Running; };
            else
                call_ = std::move(f);
        } else {
            if constexpr (std::is_void_v<std::invoke_result_t<F&>>)
                call_ = [f = std::move(f)](ProgressPass&) mutable { f(); return PassState::Running; };
            else
                call_ = [f = std::move(f)](ProgressPass&) mutable { return f(); };
        }
    }
    explicit operator bool() const { return static_cast<bool>(call_); }
    PassState operator()(ProgressPass& pass) const { return call_(pass); }

private:
    std::function<PassState(ProgressPass&)> call_;
};

// What the percentage and the slice count. Each successful read adds
// perRead() (1 when unset) to the amount done, whose share of the estimate is
// the percentage. A slice ends after perTimerEvent reads, or, with
// sliceByAmount, once the amounts read in it reach perTimerEvent.
struct ProgressMeasure {
    long perTimerEvent = 25;
    std::function<long()> perRead;
    bool sliceByAmount = false;
};
// perTimerEvent records a slice, each counting 1.
ProgressMeasure ByRecords(long perTimerEvent = 25);
// Each read counts BYTES(file) (the record's length) and a slice ends once
// bytesPerTimerEvent bytes have been read in it.
ProgressMeasure ByBytes(fw::File& file, long bytesPerTimerEvent);
// A slice size for a pass done in one timer event.
inline constexpr long kWholePass = 0x7fffffffL;

// The window's texts.
struct ProgressTexts {
    std::string caption;                          // in place of "Processing Records" when set
    std::string user;                             // ?PROGRESS:USERSTRING
    std::string percentSuffix = "% Completed";    // after the number; the first text is "0" and it
    std::string completed = "Process Completed";  // at the end of a completed pass; "" keeps the percentage
    std::vector<std::string> lines;               // shown one a line above the others; the window grows
};

class ProgressWindow;

struct ProgressPlan {
    explicit ProgressPlan(ViewSource s) : source(std::move(s)) {}
    explicit ProgressPlan(QueueSource s) : source(std::move(s)) {}
    explicit ProgressPlan(StepSource s) : source(std::move(s)) {}

    std::variant<ViewSource, QueueSource, StepSource> source;
    PassAction action;                // on the current item (the buffers)
    ProgressMeasure measure;          // 25 records a timer event
    std::function<long()> estimate;   // the percentage's base, taken at the start (after a step source's start), before the first read
    ProgressTexts texts;
    // The files sent QUICKSCAN on for the pass and off after it; when empty,
    // a view source's file.
    std::vector<fw::File*> quickScan;
    // The window's layout: the standard one, or the caller's own with the
    // same controls it wants driven (?PROGRESS:THERMOMETER, :USERSTRING,
    // :PCTTEXT, :CANCEL; any may be left out) and whatever else it shows.
    std::string window = "P1$PROGRESSWINDOW";
    // Once the pass has ended (completed, cancelled, failed, or nothing to
    // do), the window still shown: the end's own texts and work, such as
    // a key rebuild under "Rebuilding Indexes...". The state tells which.
    std::function<void(ProgressWindow&)> atEnd;
    // Around each slice of actions (a timer event's work): sliceStart before
    // its first action, sliceEnd after its last, also when the slice ended
    // the pass. For work that must not outlive a slice, such as a
    // transaction. A state other than Running ends the pass with it (a
    // failed sliceStart runs no action and no sliceEnd).
    std::function<PassState()> sliceStart;
    std::function<PassState()> sliceEnd;
    // Tests only: given the number of the read (1 = the first) and its
    // error code, returns the code the pass acts on, to stand for a failing
    // source.
    std::function<int(long read, int code)> readCode;
};

class ProgressPass {
public:
    explicit ProgressPass(const ProgressPlan& desc);
    ~ProgressPass();
    ProgressPass(const ProgressPass&) = delete;
    ProgressPass& operator=(const ProgressPass&) = delete;

    // Takes the estimate, opens the source (a view: order and filter set,
    // warning 36 on a failure, then goes on) and reads the first item.
    void Start();
    bool Started() const { return started_; }
    // One slice: actions, each followed by a read, up to the measure's
    // perTimerEvent.
    void Slice();
    // Starts when not started and runs every slice now.
    void RunToEnd();
    void Cancel();
    // Work the action counts itself (for a measure whose reads count 0).
    void Advance(long amount);
    // Called whenever PercentDone changes (the window shows it at once).
    void OnPercent(std::function<void(int)> listener) { onPercent_ = std::move(listener); }

    PassState State() const { return state_; }
    long RecordsRead() const { return recordsRead_; }
    long Done() const { return done_; }
    int PercentDone() const { return percentDone_; }
    const ProgressPlan& Plan() const { return plan_; }
    // The percentage text: "  5% Completed", "100% Completed".
    static std::string PercentText(int percent, std::string_view suffix = "% Completed");
    // done / estimate x 100, cut, at most 100; 0 for an estimate of 0.
    static int Percent(long done, long estimate);

private:
    void SliceUpTo(long limit);
    bool ReadNext();  // false at the end or on a failure (state set)
    int ReadSource(bool& counted);
    void StartView(const ViewSource& source);
    std::string SourceLabel() const;
    void Count(long amount);

    const ProgressPlan& plan_;
    std::unique_ptr<fw::View> view_;          // a view source's
    std::vector<std::string> positions_;  // actionMovesKey: the matching records, in view order
    std::size_t nextPosition_ = 0;
    long queuePosition_ = 0;
    long estimate_ = 0;
    long recordsRead_ = 0;
    long readsDone_ = 0;
    long done_ = 0;
    long sliceCount_ = 0;
    int percentDone_ = 0;
    bool started_ = false;
    PassState state_ = PassState::Running;
    std::function<void(int)> onPercent_;
};

}  // namespace shell
