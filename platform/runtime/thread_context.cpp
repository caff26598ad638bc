#include "platform/runtime/thread_context.h"

#include <vector>

namespace fw {

ThreadContext::~ThreadContext() {
    serial_ = 0;  // no slot of this context is remembered from here on
    // Newest slot first: later layers may refer to earlier ones while closing.
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) slots_.erase(*it);
}

namespace {
ThreadContext* g_current = nullptr;
}

ThreadContext& MainContext() {
    static ThreadContext main(1);
    return main;
}

ThreadContext& CurrentContext() { return g_current ? *g_current : MainContext(); }

void SetCurrentContext(ThreadContext* context) { g_current = context; }

}  // namespace fw
