#pragma once
// The song-book window's two deletes, each in one transaction over the
// book's two files: on any failure it has rolled back and shown the
// failure's warning, and nothing is gone. Results as shell/integrity_results.h
// (0 done, 1 failed).

namespace songbook {

// Deletes the listing whose disc ID and track SBK holds and, when no other
// listing of that disc is left, the disc record too.
long DeleteListingAndEmptyDisc();

// Deletes every listing of the disc whose ID SBD.UNQDISKID holds, and the
// disc record when there is one.
long DeleteEntireDisc();

}  // namespace songbook
