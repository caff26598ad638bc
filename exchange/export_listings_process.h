#pragma once
// The export pass: asks for the file name, then writes the open book's
// listings in title order, all of them or those a selection takes, as a
// CSV listing file (listing_file.h). The file is written beside the old
// one and replaces it only when complete (replacement_file.h), so a
// failure, a cancel or a killed program leaves the old file whole. Every
// write is checked: a failed write stops the pass and says why, and
// "Export Operation Completed" comes only once the whole file is written,
// on the disk and in place, with a word on the listings whose characters
// the file could only carry in a near form.

#include "shell/process_pass.h"

#include <functional>
#include <string>

namespace exchange {

// Listings written per slice (a timer event's work).
inline constexpr long kExportRowsPerSlice = 4096;

// Whether the listing in SBK (its disc in SBD) is exported; empty: all.
using ExportSelection = std::function<bool()>;

// The file dialog ("Enter Name of Export File"), ".csv" added to a name
// without it, a question before an existing file is replaced, then the
// pass and its end message. SongBook and SBDiscs are open on this thread.
// ActionOutcome 1 only for a completed export.
shell::PassState ExportSongListingsProcess(const ExportSelection& selection);

// The pass into the named file without the dialog and the question: the
// progress window, then the end message.
shell::PassState WriteListingFile(const std::string& fileName, const ExportSelection& selection);

}  // namespace exchange
