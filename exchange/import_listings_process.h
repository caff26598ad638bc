#pragma once
// The import itself: every row of the session's ImportQue becomes a listing
// of the open book, and every disc the book lacks a disc record. The rows go
// in with the keys kept up to date, a slice at a time, each slice one write
// transaction on each file with the discs committed before the listings:
// every listing committed has its disc, the keys always hold, and a cancel
// (between slices) keeps the slices done. A row whose listing or disc a
// unique key refuses goes without either. A row a unique key
// refuses is left out, counted and named at the end; the rest goes on.

#include "exchange/import_session.h"
#include "shell/process_pass.h"

#include <string>
#include <vector>

namespace exchange {

// Rows written per slice (a timer event's work, a third of a second or so).
// Each commit rewrites every index page its rows touched, so an import of
// many rows commits seldom.
inline constexpr long kImportRowsPerSlice = 25000;

struct ImportResult {
    shell::PassState state = shell::PassState::NothingToDo;
    long listingsAdded = 0;
    long discsAdded = 0;
    std::vector<std::string> refused;  // one line per row left out: what it is and why
};

// The progress process over session.rows (emptied afterwards). SongBook and
// SBDiscs are open on this thread. ActionOutcome is 1 only when every row
// was written. The rows left out are shown in one message at the end.
ImportResult ImportListingsProcess(ImportSession& session, long rowsPerSlice = kImportRowsPerSlice);

// The end message for rows left out ("3 listings not imported:|...").
std::string RefusedRowsText(const std::vector<std::string>& refused);

}  // namespace exchange
