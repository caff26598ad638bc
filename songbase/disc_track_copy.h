#pragma once
// The track-adding worker's copy: each tagged disc's tracks from the Main
// SongBase (KARAOKE, open on the calling thread) into a song book, with the
// disc's record first when the book does not have the disc yet. Each disc
// is written whole or not at all; the discs are committed together a batch
// at a time (about every two seconds of work, or eight times as long as the
// last commit took when that is longer, and at Finish), so a long run
// neither pays a synced commit per disc nor risks more than its last
// batch. When the run's tracks are many against the book's listings
// (fw::KeysOnceIsQuicker), the listings' keys other than the unique one
// are made once at the commit (fw::DeferKeys) and the run is one batch. A
// batch is written without save points (each would copy every page the
// disc touches once more); when a write fails, the batch is rolled back
// and its earlier discs are written again, each under a save point of its
// own from then on, so the failed disc alone is left out. A disc that
// cannot be added (no tracks, its custom ID blank or taken, a failed write
// or commit) adds nothing and is reported with the reason; only what was
// committed is counted.
//
// The copier works on the book it was made for, under file declarations of
// its own, whatever the song-book window does with the shared book names
// meanwhile.

#include "shell/tag_list.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace songbase {

// A book's two files, full paths.
struct BookFiles {
    std::string listings;  // .2bk
    std::string discs;     // .2bd
};

struct DiscNotAdded {
    std::string unq;
    std::string alt;
    std::string reason;
};

struct CopyCounts {
    int tracksAdded = 0;
    int duplicateTracks = 0;
    int discsDone = 0;
    std::vector<DiscNotAdded> notAdded;
};

class DiscTrackCopier {
public:
    explicit DiscTrackCopier(BookFiles book);
    ~DiscTrackCopier();
    DiscTrackCopier(const DiscTrackCopier&) = delete;
    DiscTrackCopier& operator=(const DiscTrackCopier&) = delete;

    // Opens the book's two files (they must exist); false with the reason.
    bool Open(std::string* problem);
    void Close();
    // The run will be about this many discs (before the first AddDisc): it
    // decides with the first disc's tracks whether the keys are made once.
    void Expect(int discs) { expectedDiscs_ = discs; }

    // Adds one tagged disc, counting into `counts` once its batch is
    // committed; `today` is the date added.
    void AddDisc(const shell::TagEntry& tag, std::int32_t today, CopyCounts& counts);
    // Commits the last batch; call after the last disc.
    void Finish(CopyCounts& counts);

    // For tests: the nth write (from 1) of this copier fails as a full disk
    // would; the nth commit (from 1) fails.
    void FailWriteForTests(int nth) { failWrite_ = nth; }
    void FailCommitForTests(int nth) { failCommit_ = nth; }
    // Whether the run's batches make the listings' keys once.
    bool KeysMadeOnceForTests() const { return deferKeys_; }

private:
    struct Files;
    struct Pending {
        shell::TagEntry tag;
        std::string unq, alt;
        int added = 0;
        int duplicates = 0;
    };
    void Copy(const shell::TagEntry& tag, std::int32_t today, CopyCounts& counts);
    bool Write(bool disc);
    bool BeginBatch(CopyCounts& counts, const std::string& unq, const std::string& alt, std::size_t tracks);
    void Commit(CopyCounts& counts);

    BookFiles book_;
    std::unique_ptr<Files> files_;
    std::vector<Pending> pending_;  // written in the open batch, not committed yet
    bool inBatch_ = false;
    bool careful_ = false;  // a write has failed: each disc under a save point
    int expectedDiscs_ = 0;
    bool keysDecided_ = false;
    bool deferKeys_ = false;  // the listings' keys made at each commit
    long long batchStarted_ = 0;  // steady-clock milliseconds
    long long lastCommitMs_ = 0;
    int writes_ = 0;
    int failWrite_ = 0;
    int commits_ = 0;
    int failCommit_ = 0;
};

// The reasons a disc is not added, as Details shows them.
std::string NoTracksReason();
std::string CustomIdTakenReason(std::string_view alt, std::string_view byDisc);
std::string BlankCustomIdReason();
std::string WriteFailedReason(std::string_view error);
std::string CommitFailedReason(std::string_view error);

}  // namespace songbase
