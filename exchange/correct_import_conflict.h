#pragma once
// CorrectImportConflict: the record form on one clashing row of an import
// (the conflict queue's buffer). It shows what the row clashes with and
// lets the user fix its disc IDs or track. "Import" moves a row that no
// longer clashes into the rows to import (a clash left: a beep, the form
// stays); "OK" does the same, or keeps the corrected row as a conflict;
// "Do Not Import" drops it; "Cancel" changes nothing. The clash is the
// session's own rule (import_session.h), the same the analysis and the
// import use.

#include "exchange/import_session.h"

namespace exchange {

// Where the form left the row; the import window does the moving.
enum class ConflictDestination {
    Unchanged,  // cancelled
    Conflict,   // corrected (or copied) and still clashing: stays in the conflict list
    Import,     // no clash left: to be imported
    Dropped,    // "Do Not Import", or deleted
};

// RequestedAction 1 works on a copy of the entry at `position` (left in the
// conflict queue's buffer by the caller), 2 on that entry itself, 3 asks
// warning 32 and removes the entry. Changes only the buffer (and for 3 the
// queue); ActionOutcome 1 when completed.
ConflictDestination CorrectImportConflict(ImportSession& session, long position);

}  // namespace exchange
