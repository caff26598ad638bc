#pragma once
// Transactions over one or more files: LOGOUT(timeout, files...) starts one,
// COMMIT or ROLLBACK ends it. All its files are written through one
// connection (the first file's, the others attached to it) in rollback-
// journal mode with synchronous FULL, so they commit together or not at
// all, also across a crash. LOGOUT waits up to its timeout (seconds) for
// other writers, this program's threads and other processes alike, and
// then fails with 32. One transaction per thread; a LOGOUT while one is
// active gives 56; COMMIT or ROLLBACK without one sets 91 and does nothing
// else. A transaction holds at most 11 files (SQLite attaches ten to one
// connection).

#include "platform/data/file.h"

#include <initializer_list>

namespace fw {

inline constexpr int kMaxTransactionFiles = 11;

void LOGOUT(int timeoutSeconds, std::initializer_list<File*> files);
template <class... Files>
void LOGOUT(int timeoutSeconds, File& first, Files&... rest) {
    LOGOUT(timeoutSeconds, {&first, &rest...});
}
void COMMIT();
void ROLLBACK();
// True while this thread has a LOGOUT open.
bool InTransaction();

// A point inside the thread's transaction that its later writes can be
// undone back to, leaving the earlier ones standing: one part of a long
// transaction (a disc of a batch) succeeds or fails as a whole. Points
// nest; each is ended by exactly one release or undo. Without a
// transaction each sets 91 and does nothing else.
void SavePoint();
void ReleaseSavePoint();     // keeps the writes since the point (they commit with the transaction)
void RollbackToSavePoint();  // undoes them

// Inside this thread's transaction: the file's keys other than its unique
// ones are no longer kept as records are added, and are made once, from
// all the file's records, when the transaction commits: far quicker than
// keeping them row by row when many records go in at once. The unique keys
// stay, so a clash still gives 40; reads in a deferred key's order are
// still served, more slowly. A rollback, a failed commit or a crash leaves
// the file with its keys as before; the file's stored layout never
// changes. Without a transaction on the file: 91.
void DeferKeys(File& f);
// Whether DeferKeys pays for `adding` records going into f (open): a kept
// key costs a search per record added, a key made once sorts every record
// of the file, so it pays when more records are added than the file holds,
// and not for a handful. It counts no more of the file's records than it
// needs, so a large file costs no more than a small one.
bool KeysOnceIsQuicker(File& f, long adding);

}  // namespace fw
