#include "platform/runtime/scheduler.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <boost/context/fiber.hpp>
#include <boost/context/protected_fixedsize_stack.hpp>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <stdexcept>

#include "platform/runtime/thread_context.h"

namespace ctx = boost::context;

namespace fw {
namespace {

struct Fiber {
    int number = 0;
    Procedure procedure;
    std::unique_ptr<ThreadContext> context;
    ctx::fiber self;    // the suspended fiber, while it does not run
    ctx::fiber caller;  // inside the fiber: the scheduler to go back to
    bool started = false;
    bool finished = false;
    bool ready = false;
    std::vector<int> startedThisPass;  // threads waiting for this one's pass to end
};

struct Scheduler {
    std::array<std::unique_ptr<Fiber>, kMaxThreads + 1> threads;  // index = number
    std::deque<int> ready;
    Fiber* running = nullptr;
    bool pumpPosted = false;
    bool pumping = false;
    bool halting = false;
    bool unwinding = false;
    bool haltCapture = false;
    bool halted = false;
    std::string haltText;
    std::function<void(int)> threadEnd;
    std::function<void()> allEnded;
    std::function<void(const std::string&)> haltBox;
    std::function<bool()> startAllowed;
};

Scheduler& S() {
    static Scheduler s;
    return s;
}

void PostPump() {
    Scheduler& s = S();
    if (s.pumpPosted || s.pumping) return;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    s.pumpPosted = true;
    QMetaObject::invokeMethod(
        app, [] {
            S().pumpPosted = false;
            runtime::RunReady();
        },
        Qt::QueuedConnection);
}

void MakeReady(Fiber& f) {
    if (f.ready || f.finished) return;
    f.ready = true;
    S().ready.push_back(f.number);
    PostPump();
}

bool AnyAlive() {
    for (auto& f : S().threads)
        if (f) return true;
    return false;
}

// Forgets an ended thread: its context (and every per-thread slot, which
// closes the files it still holds) goes with it.
void Forget(int number) {
    Scheduler& s = S();
    std::unique_ptr<Fiber> f = std::move(s.threads[number]);
    if (!f) return;
    s.ready.erase(std::remove(s.ready.begin(), s.ready.end(), number), s.ready.end());
    // Threads it started but never let run go on as if its pass had ended.
    for (int n : f->startedThisPass)
        if (s.threads[n]) MakeReady(*s.threads[n]);
    if (!s.unwinding && s.threadEnd) {
        SetCurrentContext(f->context.get());
        s.threadEnd(number);
        SetCurrentContext(nullptr);
    }
    f->context.reset();
}

ctx::fiber MakeFiber(Fiber* f) {
    return ctx::fiber(std::allocator_arg, ctx::protected_fixedsize_stack(kThreadStackBytes),
                      [f](ctx::fiber&& caller) {
                          f->caller = std::move(caller);
                          try {
                              f->procedure();
                          } catch (const ctx::detail::forced_unwind&) {
                              throw;
                          } catch (const std::exception& e) {
                              std::fprintf(stderr, "Unhandled error in thread %d: %s\n", f->number, e.what());
                              HALT(std::string("Unhandled error: ") + e.what());
                          }
                          f->finished = true;
                          return std::move(f->caller);
                      });
}

void Resume(Fiber& f) {
    Scheduler& s = S();
    f.ready = false;
    f.started = true;
    s.running = &f;
    SetCurrentContext(f.context.get());
    f.self = std::move(f.self).resume();
    SetCurrentContext(nullptr);
    s.running = nullptr;
}

// Back from a running fiber to the scheduler, until resumed again.
void SwitchToScheduler() {
    Fiber* f = S().running;
    f->caller = std::move(f->caller).resume();
    // Resumed: Resume() has made this fiber current again.
}

}  // namespace

int START(Procedure procedure) {
    Scheduler& s = S();
    if (s.halting || !procedure) return 0;
    if (s.startAllowed && !s.startAllowed()) return 0;
    int number = 0;
    for (int n = 1; n <= kMaxThreads; ++n)
        if (!s.threads[n]) { number = n; break; }
    if (number == 0) return 0;
    auto f = std::make_unique<Fiber>();
    f->number = number;
    f->procedure = std::move(procedure);
    f->context = std::make_unique<ThreadContext>(number);
    try {
        f->self = MakeFiber(f.get());
    } catch (const std::exception&) {
        return 0;  // no memory for the stack: a failed START does nothing
    }
    Fiber& ref = *f;
    s.threads[number] = std::move(f);
    if (s.running)
        s.running->startedThisPass.push_back(number);
    else
        MakeReady(ref);
    return number;
}

int THREAD() { return CurrentContext().Number(); }

void HALT(std::string_view text) {
    Scheduler& s = S();
    std::string message(text);
    if (!s.running) {
        if (s.haltCapture) {
            s.halted = true;
            s.haltText = message;
            throw HaltException{message};
        }
        std::fprintf(stderr, "Halt: %s\n", message.c_str());
        std::_Exit(1);
    }
    if (!s.halting) {
        if (!s.haltCapture && s.haltBox) s.haltBox(message);
        s.halting = true;
        s.halted = true;
        s.haltText = message;
    }
    for (;;) SwitchToScheduler();  // never resumed; unwound from the scheduler
}

namespace runtime {

void Wait() {
    Scheduler& s = S();
    if (!s.running) throw std::logic_error("a wait outside any program thread");
    if (s.unwinding) return;  // destructors run while unwinding do not wait
    SwitchToScheduler();
}

void Wake(int thread) {
    if (thread < 1 || thread > kMaxThreads) return;
    Fiber* f = S().threads[thread].get();
    if (!f || f == S().running) return;
    // A thread that has not started yet runs when its starter's pass ends.
    if (!f->started && !f->ready) {
        for (auto& other : S().threads)
            if (other && std::count(other->startedThisPass.begin(), other->startedThisPass.end(), thread))
                return;
    }
    MakeReady(*f);
}

bool InProgramThread() { return S().running != nullptr; }

bool IsAlive(int thread) {
    return thread >= 1 && thread <= kMaxThreads && S().threads[thread] != nullptr;
}

std::vector<int> LiveThreads() {
    std::vector<int> out;
    for (int n = 1; n <= kMaxThreads; ++n)
        if (S().threads[n]) out.push_back(n);
    return out;
}

void EndOfPass() {
    Fiber* f = S().running;
    if (!f || f->startedThisPass.empty()) return;
    std::vector<int> started = std::move(f->startedThisPass);
    f->startedThisPass.clear();
    for (int n : started)
        if (S().threads[n]) MakeReady(*S().threads[n]);
}

bool RunReady() {
    Scheduler& s = S();
    if (s.pumping || s.running) return false;
    s.pumping = true;
    bool ran = false;
    bool hadThreads = AnyAlive();
    while (!s.ready.empty() && !s.halting) {
        int n = s.ready.front();
        s.ready.pop_front();
        Fiber* f = s.threads[n].get();
        if (!f || !f->ready) continue;
        Resume(*f);
        ran = true;
        if (f->finished) Forget(n);
    }
    if (s.halting) {
        UnwindAll();
        s.halting = false;
        s.pumping = false;
        if (!s.haltCapture) {
            if (QCoreApplication::instance()) QCoreApplication::exit(1);
            else std::_Exit(1);
        }
        return true;
    }
    s.pumping = false;
    if (hadThreads && !AnyAlive() && s.allEnded) s.allEnded();
    return ran;
}

bool HasReady() { return !S().ready.empty(); }

void SetThreadEndHook(std::function<void(int)> hook) { S().threadEnd = std::move(hook); }
void SetAllEndedHook(std::function<void()> hook) { S().allEnded = std::move(hook); }
void SetHaltBox(std::function<void(const std::string&)> box) { S().haltBox = std::move(box); }
void SetStartAllowed(std::function<bool()> allowed) { S().startAllowed = std::move(allowed); }

void SetHaltCapture(bool capture) { S().haltCapture = capture; }
bool Halted() { return S().halted; }
std::string HaltText() { return S().haltText; }
void ClearHalt() {
    S().halted = false;
    S().haltText.clear();
}

void UnwindAll() {
    Scheduler& s = S();
    if (s.running) throw std::logic_error("UnwindAll from inside a program thread");
    s.unwinding = true;
    // Newest first, so a thread's starter outlives it.
    for (int n = kMaxThreads; n >= 1; --n) {
        Fiber* f = s.threads[n].get();
        if (!f) continue;
        s.running = f;
        SetCurrentContext(f->context.get());
        f->self = ctx::fiber();  // destroying a suspended fiber unwinds its stack
        SetCurrentContext(nullptr);
        s.running = nullptr;
    }
    s.unwinding = false;
    for (int n = kMaxThreads; n >= 1; --n)
        if (s.threads[n]) {
            if (s.threadEnd) {
                SetCurrentContext(s.threads[n]->context.get());
                s.threadEnd(n);
                SetCurrentContext(nullptr);
            }
            s.threads[n]->startedThisPass.clear();
            s.threads[n].reset();
        }
    s.ready.clear();
}

namespace {
int outsideWork = 0;
}
void BeginOutsideWork() { ++outsideWork; }
void EndOutsideWork() {
    if (outsideWork > 0) --outsideWork;
}
int OutsideWork() { return outsideWork; }

}  // namespace runtime
}  // namespace fw
