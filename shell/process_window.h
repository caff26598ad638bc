#pragma once
// The progress process: runs a ProgressPass in the progress window, a slice
// per timer event, with the percentage, "Process Completed" and Cancel.
//
//   shell::ProgressSpec desc;
//   desc.primary = &shell::SongBook();
//   desc.order = shell::SongBook().FindKey("SBK:KTITLE");
//   desc.filter = "UPPER(SBK:Title) = UPPER(SavedTitle)";
//   desc.action = [] { SBK.Title = NewTitle; fw::PUT(shell::SongBook()); };
//   desc.actionMovesKey = true;
//   desc.estimate = [] { return 20L; };
//   desc.userText = "Performing Batch Operation";
//   shell::PassState s = shell::RunProgressProcess(desc);  // ActionOutcome 1 or 2

#include "shell/process_pass.h"

namespace shell {

// Opens the window, runs the pass and closes it. ActionOutcome is 1 when the
// pass completed and 2 otherwise (cancelled, nothing to do, or a read
// failure, which the returned state tells apart).
PassState RunProgressProcess(const ProgressSpec& desc);

}  // namespace shell
