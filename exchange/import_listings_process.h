#pragma once
// The import itself: every row of the session's ImportQue becomes a listing
// of the open book, and every disc the book lacks a disc record. The slices
// check the rows as the unique keys would (disc and track; a new disc's
// custom ID) and keep them; when the pass ends (also after a cancel, which
// keeps the rows checked so far) they are written in one transaction over
// both files, so a failure or a crash leaves the book as it was and every
// listing written has its disc. A large batch goes in with the listings'
// other keys made once at the commit. A row a unique key refuses is left
// out, counted and named at the end; the rest goes on.

#include "exchange/import_session.h"
#include "shell/process_pass.h"

#include <string>
#include <vector>

namespace exchange {

// Rows checked per slice (a timer event's work).
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
