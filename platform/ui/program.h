#pragma once
// The program's life: its first thread (the frame's, thread 1) runs the
// start-up procedure on the Qt loop; the program ends when every thread
// has ended. When the first thread's procedure returns while others still
// run, their windows get EVENT:CloseDown and the program waits for them.

#include "platform/runtime/scheduler.h"

namespace fw {

// Runs the program and returns its exit code; call from main() after the
// QApplication is made.
int RunProgram(Procedure startup);

}  // namespace fw
