#include "shell/data_dictionary_thread_state.h"

#include "platform/runtime/thread_context.h"

namespace shell {

CallingState& Calling() { return fw::ThreadSlot<CallingState>(); }

}  // namespace shell
