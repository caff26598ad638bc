#pragma once
// Keys made once instead of kept row by row, inside a transaction (see
// DeferKeys in transaction.h): the indexes dropped now and the statements
// that make them again when the transaction commits.

#include "platform/data/file.h"
#include "platform/data/sqlite_connection.h"

namespace fw::data {

// Makes every key deferred in this thread's transaction, on the
// transaction's connection; SQLite's result (SQLITE_OK when none was).
int BuildDeferredKeys(Connection& c);
// The transaction ended without them (rolled back, or built): forgotten.
void ForgetDeferredKeys();

}  // namespace fw::data
