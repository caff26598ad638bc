#pragma once
// Deleting song-book records in their own transaction, each failure
// reported by its warning before the result comes back (0 done, 1 failed
// and nothing changed; integrity_results.h). The record to delete is the
// current thread's record buffer, read just before.

namespace shell {

// Deletes the current SongBook listing.
long DeleteSongBookListing();

// Deletes the current SBDiscs disc and every listing filed under it, in one
// transaction over both files: on any failure neither the disc nor any of
// its listings is gone. Opens SongBook itself when this thread has not.
long DeleteDiscWithListings();

// Inside the caller's transaction: deletes every SongBook listing whose disc
// ID is the current disc's, compared as the key SBK:KUnqDiskID compares
// (case and trailing blanks ignored). On a failure it has rolled back and
// reported it, and returns 1.
long DeleteDiscListings();

}  // namespace shell
