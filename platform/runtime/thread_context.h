#pragma once
// Per-thread state of the program's threads.
//
// Program threads are fibers on the one GUI thread (see docs/architecture.md).
// Each has a ThreadContext; the scheduler makes a fiber's context current
// whenever that fiber runs. Code outside any started thread (start-up, logic
// tests) runs on the main context, which is thread 1.
//
// Any layer keeps its per-thread data in a slot of the current context:
//   struct MyState { int x = 0; };
//   MyState& s = fw::ThreadSlot<MyState>();
// A slot is created zeroed (value-initialised) on first use in each thread,
// so every thread starts with its own fresh copy, as the design wants.

#include <any>
#include <cstdint>
#include <memory>
#include <typeindex>
#include <unordered_map>
#include <vector>

namespace fw {

class ThreadContext {
public:
    explicit ThreadContext(int number) : number_(number) {}
    ThreadContext(const ThreadContext&) = delete;
    ThreadContext& operator=(const ThreadContext&) = delete;
    ~ThreadContext();

    int Number() const { return number_; }
    // Unique to this context for the life of the process (0 once it is
    // being destroyed), so a slot remembered for it is not taken for
    // another context's at the same address.
    std::uint64_t Serial() const { return serial_; }

    template <class T>
    T& Slot() {
        auto it = slots_.find(std::type_index(typeid(T)));
        if (it == slots_.end()) {
            auto holder = std::make_unique<Holder<T>>();
            T& ref = holder->value;
            slots_.emplace(std::type_index(typeid(T)), std::move(holder));
            order_.push_back(std::type_index(typeid(T)));
            return ref;
        }
        return static_cast<Holder<T>*>(it->second.get())->value;
    }

private:
    struct HolderBase { virtual ~HolderBase() = default; };
    template <class T> struct Holder : HolderBase { T value{}; };

    static std::uint64_t NextSerial() {
        static std::uint64_t next = 0;
        return ++next;
    }

    int number_;
    std::uint64_t serial_ = NextSerial();
    std::unordered_map<std::type_index, std::unique_ptr<HolderBase>> slots_;
    std::vector<std::type_index> order_;  // slots are destroyed newest first
};

// The context of the thread that is running program code now.
ThreadContext& CurrentContext();
// The main context (thread 1), used outside any started thread.
ThreadContext& MainContext();
// Called by the scheduler at every hand-over; nullptr means the main context.
void SetCurrentContext(ThreadContext* context);

// The slot last found is remembered (per type), as the same thread's slots
// are asked for many times a record.
template <class T>
T& ThreadSlot() {
    static std::uint64_t lastSerial = 0;
    static T* last = nullptr;
    ThreadContext& context = CurrentContext();
    if (last && context.Serial() == lastSerial && lastSerial != 0) return *last;
    T& slot = context.Slot<T>();
    lastSerial = context.Serial();
    last = &slot;
    return slot;
}

}  // namespace fw
