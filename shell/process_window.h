#pragma once
// The progress process: a ProgressPass run in a progress window, a slice per
// timer event, with the percentage, the completed text and Cancel.
//
//   shell::ViewSource view(shell::SongBook(), shell::SongBook().FindKey("SBK:TITLEKEY"),
//                          shell::ActionMovesKey::Yes);
//   view.filter = "UPPER(SBK:Title) = UPPER(SavedTitle)";
//   shell::ProgressPlan desc(view);
//   desc.action = [] { SBK.Title = NewTitle; fw::PUT(shell::SongBook()); };
//   desc.estimate = [] { return 20L; };
//   desc.texts.user = "Performing Batch Operation";
//   shell::PassState s = shell::RunProgressProcess(desc);  // ActionOutcome 1 or 2
//
// RunProgressProcess owns the window and its loop. A caller whose window
// does more than the pass (buttons of its own after the pass, a loop that
// goes on) makes a ProgressWindow and runs the loop itself, handing each
// event to TakeEvent().

#include "platform/ui/window.h"
#include "shell/process_pass.h"

#include <cstdint>
#include <string>

namespace shell {

class ProgressWindow {
public:
    // Loads plan.window's layout, places plan.texts.lines above its controls
    // and binds the progress controls it has. The timer fires whenever the
    // loop is idle.
    explicit ProgressWindow(const ProgressPlan& plan);
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // Opens the window ("Processing Records", then the process's caption)
    // and sends QUICKSCAN on.
    void Open();
    // Takes the event just accepted when it is the pass's: the opening
    // starts the pass, a timer event runs a slice, Cancel cancels. A pass
    // that ends in the loop closes the window. False for any other event.
    bool TakeEvent();
    // The whole pass now, without the timer (before the caller's loop); the
    // window stays open and its timer is stopped.
    void RunToEnd();
    // Shows text as the percentage text at once.
    void ShowText(const std::string& text);
    // Sends QUICKSCAN off and sets ActionOutcome: 1 for a completed pass, 2
    // otherwise. A pass still running (the loop ended another way) is
    // cancelled. Called once the loop has ended.
    PassState End();

    fw::Window& Window() { return window_; }
    ProgressPass& Pass() { return pass_; }

private:
    void ShowPercent(int percent);
    void Ended();
    std::vector<fw::File*> QuickScanFiles() const;

    const ProgressPlan& plan_;
    ProgressPass pass_;
    fw::Window window_;
    std::int32_t percentShown_ = 0;
    std::string pctText_;
    std::string userText_;
    int cancel_ = 0;
    bool ended_ = false;
    bool quickScanOff_ = false;
};

// Opens the window, runs the pass and closes the window.
// ActionOutcome is 1 when the pass completed and 2 otherwise (cancelled,
// nothing to do, or a read failure, which the returned state tells apart).
PassState RunProgressProcess(const ProgressPlan& plan);

}  // namespace shell
