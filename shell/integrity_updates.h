#pragma once
// Writing back a changed record in its own transaction (LOGOUT, PUT,
// COMMIT). The record is the current thread's record buffer, read (with
// WATCH) just before; each failure is reported by its warning before the
// result comes back (integrity_results.h): 0 written, 1 failed, 2 another
// station changed the record first, and the buffer now shows its version.

namespace shell {

// warnChanged 1 (what every caller passes): a change by another station
// gives warning 38, the stored version in the buffer, the next PUT checked
// again, and result 2. 0: it is reported as any other failure (warning 15).
long UpdateSongBookRecord(long warnChanged);
long UpdateSongBaseRecord(long warnChanged);

// Called by the song-book forms and the song-base track form when they open.
void SongBookFormOpenHook();
void SongBaseFormOpenHook();

}  // namespace shell
