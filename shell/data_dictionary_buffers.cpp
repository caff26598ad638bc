#include "shell/data_dictionary_buffers.h"

#include "platform/runtime/thread_context.h"

namespace shell {

RecordBuffers& Buffers() { return fw::ThreadSlot<RecordBuffers>(); }

}  // namespace shell
