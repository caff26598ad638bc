#pragma once
// The import itself: every row of the session's ImportQue becomes a listing
// of the open book, and every disc the book lacks a disc record. Each slice
// of rows is one transaction over both files, inserted with their keys kept
// up to date, so a cancel (between slices) or a failure leaves whole
// listings with their discs and the keys always hold. A row a unique key
// refuses is left out, counted and named at the end; the rest goes on.

#include "exchange/import_session.h"
#include "shell/process_pass.h"

#include <string>
#include <vector>

namespace exchange {

// Rows written per slice (one transaction each).
inline constexpr long kImportRowsPerSlice = 500;

struct ImportResult {
    shell::PassState state = shell::PassState::NothingToDo;
    long listingsAdded = 0;
    long discsAdded = 0;
    std::vector<std::string> refused;  // one line per row left out: what it is and why
};

// The progress process over session.rows (emptied afterwards). SongBook and
// SBDiscs are open on this thread. ActionOutcome is 1 only when every row
// was written. The rows left out are shown in one message at the end.
ImportResult ImportListingsProcess(ImportSession& session);

// The end message for rows left out ("3 listings not imported:|...").
std::string RefusedRowsText(const std::vector<std::string>& refused);

}  // namespace exchange
