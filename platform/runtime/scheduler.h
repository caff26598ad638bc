#pragma once
// Program threads: stackful fibers on the one GUI thread.
//
// Only one program thread runs at a time and hands over only inside
// framework calls: every wait (ACCEPT, MESSAGE, the common dialogs, POPUP)
// is runtime::Wait(), which goes back to the Qt event loop. Qt signal
// handlers never run program code; they queue an event for the owning
// thread and runtime::Wake() it. The scheduler then resumes the woken
// threads from the top of the Qt loop, one at a time, in the order they
// were woken, making each one's ThreadContext current while it runs.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

using Procedure = std::function<void()>;

// At most this many program threads live at once.
inline constexpr int kMaxThreads = 64;
// Each thread's stack (virtual memory; pages are touched only when used).
inline constexpr std::size_t kThreadStackBytes = 1024 * 1024;

// Starts a procedure on a new program thread and returns its number
// (1..64), or 0 when no thread could be started (which reports nothing).
// Started from a program thread, the new thread first runs after the
// starter's current event pass ends.
int START(Procedure procedure);

// The number of the running program thread; 1 outside any started thread.
int THREAD();

// Ends the program at once: shows the "Halt" box with the text, then no
// shutdown steps run. Under the test driver every thread is unwound and
// control goes back to the test.
[[noreturn]] void HALT(std::string_view text = {});

// Thrown by HALT outside any program thread while halts are captured (tests).
struct HaltException {
    std::string text;
};

namespace runtime {

// Yields the running program thread until it is woken. Called outside a
// program thread it throws std::logic_error: only program threads wait.
void Wait();
// Marks a thread runnable (once, whatever how often) and has the scheduler
// resume it from the top of the Qt loop.
void Wake(int thread);

bool InProgramThread();
bool IsAlive(int thread);
std::vector<int> LiveThreads();

// The running thread's event pass has ended: threads it started during
// the pass may now run.
void EndOfPass();

// Resumes runnable threads one at a time until none is left. Called from
// the top of the Qt loop (and by the test driver); never from a thread.
// Returns whether any thread ran.
bool RunReady();
// Whether a thread is waiting to be resumed.
bool HasReady();

// Work outside the program that a waiting thread expects its next event
// from (a network transfer in flight). Nothing waits on it here; the test
// driver keeps the Qt loop running while any is pending, so a download
// settles like any other action.
void BeginOutsideWork();
void EndOutsideWork();
int OutsideWork();

// Hooks of the layers above.
// Run on the ending thread's own context when its procedure has returned.
void SetThreadEndHook(std::function<void(int thread)> hook);
// Run on the Qt loop once the last thread has ended.
void SetAllEndedHook(std::function<void()> hook);
// Shows the "Halt" box on the halting thread (it may wait); empty: no box.
void SetHaltBox(std::function<void(const std::string& text)> box);
// Whether START may start a thread now (false while a system-modal box is up).
void SetStartAllowed(std::function<bool()> allowed);

// Tests: HALT unwinds every thread and keeps its text instead of ending
// the process.
void SetHaltCapture(bool capture);
bool Halted();
std::string HaltText();
void ClearHalt();

// Unwinds every live thread (their stacks' destructors run) and forgets
// them; used after a halt and by the test driver between tests.
void UnwindAll();

}  // namespace runtime
}  // namespace fw
