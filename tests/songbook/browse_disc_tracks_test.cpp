// Display Tracks on Disc, opened from the song-book window's Quick Click
// Menu: one disc's listings in track order, and Insert, Change and Delete
// through the listing form.

#include "songbook/browse_disc_tracks.h"
#include "songbook/song_book_commands.h"
#include "songbook/songbook_procedures.h"
#include "songbook/update_song_book_listing.h"

#include "platform/ui/events.h"
#include "platform/ui/message.h"
#include "shell/program_procedures.h"
#include "shell/record_form.h"

#include "song_book_window_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;
constexpr const char* kBook = song_book_test::kSongBookWindow;
constexpr const char* kTracks = "P1$DISCTRACKS";
constexpr const char* kForm = "P1$LISTINGFORM";
constexpr const char* kConfirmDelete = "Press OK to confirm deletion";

class DiscTracksTest : public song_book_test::SongBookWindowTest {
protected:
    void SetUp() override {
        SongBookWindowTest::SetUp();
        songbook::ListingFormMemory() = {};
        songbook::RegisterSongBookProcedures();
        MakeBook("Party", {{"U1", "CUST1"}, {"U2", "CUST2"}},
                 {{"Alpha", "Singer", "U1", 3}, {"Bravo", "Singer", "u1", 1}, {"Charlie", "Singer", "U1", 2},
                  {"Delta", "Other", "U2", 1}});
        Open();
        // The title list's first row is Alpha (U1, track 3).
        d.AnswerPopup(1);
        d.RightClick("?LISTTITLE", 1, kBook);
        ASSERT_TRUE(d.IsOpen(kTracks));
    }
    void TearDown() override {
        if (d.IsOpen(kTracks)) d.Press("?CLOSE", kTracks);
        shell::SetProgramProcedure(songbook::kDiscTracksProcedure, nullptr);
        shell::SetProgramProcedure("RenumberDiscs", nullptr);
        SongBookWindowTest::TearDown();
    }
    Strings Rows() { return d.Rows("?LIST", kTracks); }
    Strings Listings() {
        Strings rows = Query("Party.2bk", "SELECT UnqDiskID, DISKTRACKNO, TITLE FROM records");
        std::sort(rows.begin(), rows.end());
        return rows;
    }
};

TEST_F(DiscTracksTest, ShowsTheDiscsListingsInTrackOrderUnderItsCustomId) {
    EXPECT_EQ(d.Caption(kTracks), "Displaying All Tracks Found on Disc: CUST1");
    EXPECT_EQ(Rows(), (Strings{"1|Bravo|Singer", "2|Charlie|Singer", "3|Alpha|Singer"}))
        << "a disc ID in other letter case is the same disc";
    EXPECT_TRUE(d.Hidden("?INSERT", kTracks));
    EXPECT_FALSE(d.Enabled("?SELECT", kTracks));
    d.Press("?CLOSE", kTracks);
    EXPECT_FALSE(d.IsOpen(kTracks));
    EXPECT_TRUE(d.IsOpen(kBook));
}

TEST_F(DiscTracksTest, InsertAddsATrackToThisDisc) {
    d.Key("?LIST", fw::KeyCode::Insert, kTracks);
    ASSERT_TRUE(d.IsOpen(kForm));
    EXPECT_FALSE(d.Enabled("?SBK:UNQDISKID", kForm)) << "the track goes on this disc";
    EXPECT_EQ(d.Text("?SBD:ALTDISKID", kForm), "CUST1");
    d.Type("?SBK:TITLE", "Echo", kForm);
    d.Type("?SBK:DISKTRACKNO", "2", kForm);
    d.AnswerMessage("duplicate entry for the key:SBK:KUnqDiskID", fw::Button::Ok);
    d.Press("?OK", kForm);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    ASSERT_TRUE(d.IsOpen(kForm)) << "disc and track already taken";
    d.Type("?SBK:DISKTRACKNO", "4", kForm);
    d.Press("?OK", kForm);
    EXPECT_FALSE(d.IsOpen(kForm));
    EXPECT_EQ(Rows(), (Strings{"1|Bravo|Singer", "2|Charlie|Singer", "3|Alpha|Singer", "4|Echo|"}));
    EXPECT_EQ(d.Highlight("?LIST", kTracks), 4);
    EXPECT_EQ(Query("Party.2bd", "SELECT COUNT(*) FROM records"), Strings{"2"}) << "no disc added";
}

TEST_F(DiscTracksTest, ChangeWritesTheListingAndDeletingTheLastTrackRemovesTheDisc) {
    d.Choose("?LIST", 2, kTracks);
    d.Press("?CHANGE", kTracks);
    ASSERT_TRUE(d.IsOpen(kForm));
    d.Type("?SBK:TITLE", "Charlie Two", kForm);
    d.Press("?OK", kForm);
    EXPECT_EQ(Rows(), (Strings{"1|Bravo|Singer", "2|Charlie Two|Singer", "3|Alpha|Singer"}));

    for (int left = 2; left >= 0; --left) {
        d.AnswerMessage(kConfirmDelete, fw::Button::Ok);
        d.Key("?LIST", fw::KeyCode::Delete, kTracks);
        EXPECT_EQ(d.UnusedAnswers(), 0u);
        EXPECT_EQ(Rows().size(), static_cast<std::size_t>(left));
    }
    EXPECT_FALSE(d.Enabled("?CHANGE", kTracks));
    EXPECT_FALSE(d.Enabled("?DELETE", kTracks));
    EXPECT_EQ(Listings(), Strings{"U2/1/Delta"});
    EXPECT_EQ(Query("Party.2bd", "SELECT UNQDISKID FROM records"), Strings{"U2"})
        << "a disc goes with its last listing";
}

TEST_F(DiscTracksTest, ScreenshotWhenAsked) {
    const char* dir = std::getenv("CV_SCREENSHOT_DIR");
    if (!dir || !*dir) GTEST_SKIP() << "CV_SCREENSHOT_DIR not set";
    d.Choose("?LIST", 2, kTracks);
    EXPECT_TRUE(d.Screenshot(kTracks, std::string(dir) + "/" + kTracks + ".png"));
}

}  // namespace
