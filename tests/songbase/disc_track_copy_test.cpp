// The track-adding worker's copy routine on small song bases and books.
#include "songbase/disc_track_copy.h"

#include "add_discs_fixture.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbase.h"

#include <gmock/gmock.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace add_discs_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::int32_t kToday = 80000;

std::vector<TrackRow> TracksOf(const std::string& unq, int count, std::int32_t brand = 1) {
    std::vector<TrackRow> out;
    for (int n = 1; n <= count; ++n) out.push_back({unq, static_cast<std::uint16_t>(n), unq + " song " + std::to_string(n), "Artist", brand});
    return out;
}

// Every case twice: the book's keys kept row by row, and made once at the
// commit (the copier told of a run large against the book).
class DiscTrackCopyTest : public AddDiscsFolder, public ::testing::WithParamInterface<bool> {
protected:
    // The run the copier is told of: none, or 1,000 discs.
    int ExpectedDiscs() const { return GetParam() ? 1000 : 0; }

    // Copies the tags into book "Party" and gives the counts.
    songbase::CopyCounts Copy(const std::vector<shell::TagEntry>& tags, int failWrite = 0, int failCommit = 0) {
        shell::FileUse karaoke(shell::KaraokeFile());
        songbase::DiscTrackCopier copier({Path("Party.2bk"), Path("Party.2bd")});
        std::string problem;
        EXPECT_TRUE(copier.Open(&problem)) << problem;
        copier.Expect(ExpectedDiscs());
        copier.FailWriteForTests(failWrite);
        copier.FailCommitForTests(failCommit);
        songbase::CopyCounts counts;
        for (const shell::TagEntry& t : tags) copier.AddDisc(t, kToday, counts);
        copier.Finish(counts);
        keysMadeOnce = copier.KeysMadeOnceForTests();
        return counts;
    }
    bool keysMadeOnce = false;  // by the last Copy
};

TEST_P(DiscTrackCopyTest, TwoNewDiscsAddEveryTrackAndOneDiscRecordEach) {
    std::vector<TrackRow> tracks = TracksOf("SC8123", 12, 7);
    for (TrackRow& t : TracksOf("sc9001", 12, 7)) tracks.push_back(t);
    MakeSongBase({{7, "Sound Choice"}}, {}, tracks);
    MakeBook("Party", {}, {});

    const songbase::CopyCounts counts = Copy({{"SC8123", "101", 0, "Rock"}, {"SC9001", "102", 0, ""}});

    EXPECT_EQ(counts.tracksAdded, 24);
    EXPECT_EQ(counts.duplicateTracks, 0);
    EXPECT_THAT(counts.notAdded, IsEmpty());
    // The disc takes the track's own spelling of its ID and brand; the brand
    // code is its first two characters in capitals.
    EXPECT_THAT(Discs("Party"), ElementsAre("SC8123/101/7/SC", "sc9001/102/7/SC"));
    const auto listings = Listings("Party");
    ASSERT_EQ(listings.size(), 24u);
    EXPECT_EQ(listings[0], "SC8123/1/SC8123 song 1/Artist/Rock/SC/80000");
    EXPECT_EQ(listings[12], "sc9001/1/sc9001 song 1/Artist//SC/80000");
}

TEST_P(DiscTrackCopyTest, ADiscTheBookHasGetsOnlyItsMissingTracksUnderItsOwnRecord) {
    MakeSongBase({{1, "Brand"}}, {}, TracksOf("AV100", 4));
    MakeBook("Party", {{"AV100", "7"}}, {{"AV100", 1, "kept"}, {"AV100", 3, "kept"}});

    const songbase::CopyCounts counts = Copy({{"AV100", "999", 0, ""}});

    EXPECT_EQ(counts.tracksAdded, 2);
    EXPECT_EQ(counts.duplicateTracks, 2);
    EXPECT_THAT(Discs("Party"), ElementsAre("AV100/7/1/AV"));
    const auto listings = Listings("Party");
    ASSERT_EQ(listings.size(), 4u);
    EXPECT_EQ(listings[0].substr(0, 13), "AV100/1/kept/");
    EXPECT_EQ(listings[1].substr(0, 19), "AV100/2/AV100 song ");
}

TEST_P(DiscTrackCopyTest, ADiscWhollyInTheBookAddsNothing) {
    MakeSongBase({{1, "Brand"}}, {}, TracksOf("AV100", 2));
    MakeBook("Party", {{"AV100", "7"}}, {{"AV100", 1, "a"}, {"AV100", 2, "b"}});

    const songbase::CopyCounts counts = Copy({{"AV100", "AV100", 0, ""}});

    EXPECT_EQ(counts.tracksAdded, 0);
    EXPECT_EQ(counts.duplicateTracks, 2);
    EXPECT_THAT(counts.notAdded, IsEmpty());
    EXPECT_EQ(Listings("Party").size(), 2u);
}

TEST_P(DiscTrackCopyTest, ACustomIdTakenOrBlankSkipsTheDiscAndSaysWhy) {
    std::vector<TrackRow> tracks = TracksOf("AV100", 3);
    for (TrackRow& t : TracksOf("AV200", 3)) tracks.push_back(t);
    for (TrackRow& t : TracksOf("AV300", 3)) tracks.push_back(t);
    MakeSongBase({{1, "Brand"}}, {}, tracks);
    MakeBook("Party", {{"ZZ1", "cb7"}}, {{"ZZ1", 1, "x"}});

    const songbase::CopyCounts counts = Copy({{"AV100", "CB7", 0, ""}, {"AV200", "  ", 0, ""}, {"AV300", "CB8", 0, ""}});

    EXPECT_EQ(counts.tracksAdded, 3);
    ASSERT_EQ(counts.notAdded.size(), 2u);
    EXPECT_EQ(counts.notAdded[0].unq, "AV100");
    EXPECT_EQ(counts.notAdded[0].reason, songbase::CustomIdTakenReason("CB7", "ZZ1"));
    EXPECT_EQ(counts.notAdded[1].reason, songbase::BlankCustomIdReason());
    EXPECT_THAT(Discs("Party"), ElementsAre("AV300/CB8/1/AV", "ZZ1/cb7/1/ZZ"));
    EXPECT_EQ(Listings("Party").size(), 4u);  // no listing of a skipped disc
}

TEST_P(DiscTrackCopyTest, ADiscWithoutTracksAddsNothingAndNoRecord) {
    MakeSongBase({{1, "Brand"}}, {}, TracksOf("AV100", 2));
    MakeBook("Party", {}, {});

    const songbase::CopyCounts counts = Copy({{"AV999", "1", 0, ""}});

    EXPECT_EQ(counts.tracksAdded, 0);
    ASSERT_EQ(counts.notAdded.size(), 1u);
    EXPECT_EQ(counts.notAdded[0].reason, songbase::NoTracksReason());
    EXPECT_THAT(Discs("Party"), IsEmpty());
}

TEST_P(DiscTrackCopyTest, TracksAreFoundWhateverTheCaseOfTheDiscIdAndATwiceListedTrackIsADuplicate) {
    std::vector<TrackRow> tracks = TracksOf("av100", 3);
    tracks.push_back({"AV100", 2, "again"});
    for (TrackRow& t : TracksOf("AV1000", 2)) tracks.push_back(t);  // a longer ID is another disc
    MakeSongBase({{1, "Brand"}}, {}, tracks);
    MakeBook("Party", {}, {});

    const songbase::CopyCounts counts = Copy({{"AV100", "1", 0, ""}});

    EXPECT_EQ(counts.tracksAdded, 3);
    EXPECT_EQ(counts.duplicateTracks, 1);
    EXPECT_EQ(Listings("Party").size(), 3u);
}

TEST_P(DiscTrackCopyTest, AFailedWriteRollsTheWholeDiscBack) {
    std::vector<TrackRow> tracks = TracksOf("AV100", 3);
    for (TrackRow& t : TracksOf("AV200", 3)) tracks.push_back(t);
    MakeSongBase({{1, "Brand"}}, {}, tracks);
    MakeBook("Party", {}, {});

    // The third write is AV100's second listing, after its disc record.
    const songbase::CopyCounts counts = Copy({{"AV100", "1", 0, ""}, {"AV200", "2", 0, ""}}, 3);

    EXPECT_EQ(counts.tracksAdded, 3);
    ASSERT_EQ(counts.notAdded.size(), 1u);
    EXPECT_EQ(counts.notAdded[0].unq, "AV100");
    EXPECT_THAT(counts.notAdded[0].reason, ::testing::HasSubstr("could not be written"));
    EXPECT_THAT(Discs("Party"), ElementsAre("AV200/2/1/AV"));
    EXPECT_EQ(Listings("Party").size(), 3u);
}

// The batch goes back whole on a failed write; the discs around the failed
// one are written again and stay whole.
TEST_P(DiscTrackCopyTest, AFailedWriteInsideABatchLeavesOnlyThatDiscOut) {
    std::vector<TrackRow> tracks = TracksOf("AV100", 3);
    for (TrackRow& t : TracksOf("AV200", 3)) tracks.push_back(t);
    for (TrackRow& t : TracksOf("AV300", 3)) tracks.push_back(t);
    MakeSongBase({{1, "Brand"}}, {}, tracks);
    MakeBook("Party", {}, {});

    // The sixth write is AV200's first listing, after AV100 and AV200's disc.
    const songbase::CopyCounts counts =
        Copy({{"AV100", "1", 0, ""}, {"AV200", "2", 0, ""}, {"AV300", "3", 0, ""}}, 6);

    EXPECT_EQ(keysMadeOnce, GetParam());
    EXPECT_EQ(counts.tracksAdded, 6);
    EXPECT_EQ(counts.discsDone, 3);
    ASSERT_EQ(counts.notAdded.size(), 1u);
    EXPECT_EQ(counts.notAdded[0].unq, "AV200");
    EXPECT_THAT(Discs("Party"), ElementsAre("AV100/1/1/AV", "AV300/3/1/AV"));
    const auto listings = Listings("Party");
    ASSERT_EQ(listings.size(), 6u);
    EXPECT_EQ(listings[2].substr(0, 8), "AV100/3/");
    EXPECT_EQ(listings[3].substr(0, 8), "AV300/1/");
}

// A worker killed after one batch was committed and while the next is
// written: the committed discs are whole, the others absent.
TEST_P(DiscTrackCopyTest, AWorkerKilledInsideABatchLeavesOnlyWholeDiscs) {
    std::vector<TrackRow> tracks;
    std::vector<shell::TagEntry> tags;
    for (int d = 1; d <= 6; ++d) {
        const std::string unq = "AV" + std::to_string(100 * d);
        for (TrackRow& t : TracksOf(unq, 12)) tracks.push_back(t);
        tags.push_back({unq, std::to_string(d), 0, ""});
    }
    MakeSongBase({{1, "Brand"}}, {}, tracks);
    MakeBook("Party", {}, {});

    int toParent[2];
    ASSERT_EQ(pipe(toParent), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(toParent[0]);
        shell::FileUse karaoke(shell::KaraokeFile());
        songbase::DiscTrackCopier copier({Path("Party.2bk"), Path("Party.2bd")});
        std::string problem;
        if (!copier.Open(&problem)) _exit(1);
        copier.Expect(ExpectedDiscs());
        songbase::CopyCounts counts;
        for (int d = 0; d < 3; ++d) copier.AddDisc(tags[static_cast<std::size_t>(d)], kToday, counts);
        copier.Finish(counts);
        for (int d = 3; d < 6; ++d) copier.AddDisc(tags[static_cast<std::size_t>(d)], kToday, counts);
        const char written = counts.tracksAdded == 36 && copier.KeysMadeOnceForTests() == GetParam() ? 'w' : 'E';
        (void)!write(toParent[1], &written, 1);
        for (;;) pause();  // killed here, its last batch not committed
    }
    close(toParent[1]);
    char got = 0;
    while (read(toParent[0], &got, 1) < 0) {}
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(toParent[0]);
    ASSERT_EQ(got, 'w');

    EXPECT_THAT(Discs("Party"), ElementsAre("AV100/1/1/AV", "AV200/2/1/AV", "AV300/3/1/AV"));
    EXPECT_EQ(Listings("Party").size(), 36u);
    // The book takes the rest afterwards.
    const songbase::CopyCounts counts = Copy(tags);
    EXPECT_EQ(counts.tracksAdded, 36);
    EXPECT_EQ(counts.duplicateTracks, 36);
    EXPECT_EQ(Listings("Party").size(), 72u);
}

TEST_P(DiscTrackCopyTest, AFailedCommitCountsNothingOfItsBatchAsAdded) {
    std::vector<TrackRow> tracks = TracksOf("AV100", 3);
    for (TrackRow& t : TracksOf("AV200", 3)) tracks.push_back(t);
    MakeSongBase({{1, "Brand"}}, {}, tracks);
    MakeBook("Party", {}, {});

    const songbase::CopyCounts counts = Copy({{"AV100", "1", 0, ""}, {"AV200", "2", 0, ""}}, 0, 1);

    EXPECT_EQ(counts.tracksAdded, 0);
    ASSERT_EQ(counts.notAdded.size(), 2u);
    EXPECT_THAT(counts.notAdded[1].reason, ::testing::HasSubstr("could not save the disc"));
    EXPECT_THAT(Discs("Party"), IsEmpty());
    EXPECT_THAT(Listings("Party"), IsEmpty());
}

TEST_P(DiscTrackCopyTest, TwoTagsWithOneCustomIdAddOnlyTheFirstDisc) {
    std::vector<TrackRow> tracks = TracksOf("AV100", 2);
    for (TrackRow& t : TracksOf("AV200", 2)) tracks.push_back(t);
    MakeSongBase({{1, "Brand"}}, {}, tracks);
    MakeBook("Party", {}, {});

    const songbase::CopyCounts counts = Copy({{"AV100", "Same", 0, ""}, {"AV200", "SAME", 0, ""}});

    EXPECT_EQ(counts.tracksAdded, 2);
    ASSERT_EQ(counts.notAdded.size(), 1u);
    EXPECT_EQ(counts.notAdded[0].reason, songbase::CustomIdTakenReason("SAME", "AV100"));
}

TEST_P(DiscTrackCopyTest, ABookThatCannotBeOpenedIsSaidSo) {
    MakeSongBase({{1, "Brand"}}, {}, {});
    songbase::DiscTrackCopier copier({Path("Missing.2bk"), Path("Missing.2bd")});
    std::string problem;
    EXPECT_FALSE(copier.Open(&problem));
    EXPECT_THAT(problem, ::testing::HasSubstr("Missing.2bk"));
}

INSTANTIATE_TEST_SUITE_P(Keys, DiscTrackCopyTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "MadeOnce" : "Kept"; });

}  // namespace
}  // namespace add_discs_test
