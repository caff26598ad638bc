#pragma once
// The test driver: runs real windows on Qt's offscreen platform.
//
//   fw::testing::Driver d(fw::testing::GTestFailures());
//   d.AnswerMessage("Delete this listing?", fw::Button::Yes);  // script first
//   d.Start(BrowseSongBook);              // runs until every thread waits
//   d.Type("?SBK:Title", "Danny Boy");
//   d.Press("?OK");
//   EXPECT_EQ(d.Text("?STATUS"), "Saved");
//
// Every action settles: it runs until each thread waits again, with no
// sleeps. Timers do not run by themselves; Tick() fires them. A message or
// dialog that no script entry answers fails the test (its text is shown)
// and is answered with its default (dialogs: cancelled). A HALT unwinds
// every thread and is kept for Halted()/HaltText().

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/scheduler.h"
#include "platform/ui/dialog_hub.h"
#include "platform/ui/window.h"

namespace fw::testing {

class Driver {
public:
    using FailureSink = std::function<void(const std::string&)>;
    // Failures go to the sink (gtest: GTestFailures()); without one they
    // are printed and kept in Failures().
    explicit Driver(FailureSink onFailure = {});
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // Starts a procedure on a program thread and settles; the thread number.
    int Start(Procedure procedure);
    // Runs until every thread waits and nothing is left to deliver. While
    // outside work is pending (a download in flight) it keeps the Qt loop
    // running for it, for at most OutsideWaitLimit milliseconds a settle.
    void Settle();
    void SetOutsideWaitLimit(int milliseconds) { outsideWaitMs_ = milliseconds; }
    // Runs the Qt loop and the threads until the condition holds (checked
    // between rounds); false when it still fails after the time given.
    bool PumpUntil(const std::function<bool()>& condition, int milliseconds);
    // Fires every running window timer once, settling after each round.
    void Tick(int rounds = 1);
    // Ticks until the condition holds (checked before each round); false
    // when it still fails after maxRounds.
    bool TickUntil(const std::function<bool()>& condition, int maxRounds = 100000);

    // What a user does, by use-equate, in the newest window that has the
    // control (or in the window of that label). False (and a failure) when
    // no open window has it or it cannot take the input (hidden, disabled,
    // its window inside a call).
    bool Press(std::string_view equate, std::string_view window = {});
    bool Type(std::string_view equate, std::string_view text, std::string_view window = {});
    bool Choose(std::string_view equate, int row, std::string_view window = {});
    bool Check(std::string_view equate, bool on, std::string_view window = {});
    // A right-button press on a list's row (from 1).
    bool RightClick(std::string_view equate, int row, std::string_view window = {});
    // A left double-click on a list's cell (row and column from 1).
    bool DoubleClick(std::string_view equate, int row, int column, std::string_view window = {});
    // A key or mouse code (fw::Key) pressed on the control, through Qt.
    bool Key(std::string_view equate, int keyCode, std::string_view window = {});
    // A left click at a point of the control (pixels from its top left),
    // given to the innermost widget there, as a user's click would be.
    bool ClickAt(std::string_view equate, int x, int y, std::string_view window = {});
    // Keys typed into the control as a person types them: it takes the
    // focus, then one key event a character. Nothing is committed: the
    // text stays in the control until the focus leaves or a key ends it.
    bool TypeKeys(std::string_view equate, std::string_view text, std::string_view window = {});
    // The close box of the window with that label (empty: the newest).
    bool CloseWindow(std::string_view window = {});
    // Activates a window as a click on it would.
    bool Activate(std::string_view window);

    // What the user sees.
    std::string Text(std::string_view equate, std::string_view window = {}) const;
    bool Enabled(std::string_view equate, std::string_view window = {}) const;
    bool Hidden(std::string_view equate, std::string_view window = {}) const;
    std::vector<std::string> Rows(std::string_view equate, std::string_view window = {}) const;
    int Highlight(std::string_view equate, std::string_view window = {}) const;
    Window* FindWindow(std::string_view label) const;
    bool IsOpen(std::string_view label) const { return FindWindow(label) != nullptr; }
    std::string Caption(std::string_view label) const;
    // Saves a picture of the window (its client area and frame widgets as
    // Qt draws them) as PNG; false when it cannot.
    bool Screenshot(std::string_view label, const std::string& pngPath) const;

    // The script: answers for message boxes and dialogs, taken in order.
    // A message entry matches a box whose text contains the given text
    // ("|" line breaks as in MESSAGE); answer = the value or position.
    void AnswerMessage(std::string_view containing, int answer);
    void AnswerFileDialog(std::string path);  // empty: cancelled
    void AnswerColorDialog(long color);       // negative: cancelled
    void AnswerFontDialog(std::string typeface, int size, long color, int style);
    void CancelFontDialog();
    void AnswerPrinterDialog(bool ok);
    void AnswerPopup(int item);  // 0: closed without a choice
    // The next dialog of that kind (a message box: whose text contains the
    // given text) stays open, unanswered, so the test can act on the
    // windows it blocks; AnswerHeld answers it (a message: that button;
    // a dialog: chosen or cancelled) and settles.
    void HoldDialog(DialogKind kind, std::string_view containing = {});
    bool Holding() const;
    void AnswerHeld(int button, bool ok = false);
    // Every message box shown so far, as "caption: text".
    const std::vector<std::string>& Messages() const { return messages_; }
    // Every pop-up menu shown so far: its items as they show (mnemonics
    // taken out, "&&" as "&").
    const std::vector<std::vector<std::string>>& Popups() const { return popups_; }
    // Script entries not used yet.
    std::size_t UnusedAnswers() const { return script_.size(); }

    bool Halted() const;
    std::string HaltText() const;

    // TODAY and CLOCK read these until the driver ends.
    void FixClock(long date, long hundredthsSinceMidnight);

    const std::vector<std::string>& Failures() const { return failures_; }

private:
    struct Entry {
        DialogKind kind;
        std::string containing;
        DialogAnswer answer;
        bool hold = false;
    };
    Control* Locate(std::string_view equate, std::string_view window, bool forInput) const;
    bool AnswerDialogs();
    void Fail(const std::string& message) const;

    FailureSink sink_;
    std::deque<Entry> script_;
    std::set<long> answered_;  // serials
    long held_ = 0;            // the serial of the dialog held open (0: none)
    std::vector<std::string> messages_;
    std::vector<std::vector<std::string>> popups_;
    mutable std::vector<std::string> failures_;
    int outsideWaitMs_ = 30000;
};

}  // namespace fw::testing
