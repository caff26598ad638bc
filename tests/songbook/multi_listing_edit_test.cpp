// The multi-listing edits from the song-book window's Quick Click Menu: the
// set-up window and the three batch passes.

#include "songbook/multi_listing_edit.h"
#include "songbook/song_book_commands.h"
#include "songbook/songbook_procedures.h"

#include "platform/ui/message.h"
#include "shell/program_procedures.h"

#include "song_book_window_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using song_book_test::Listing;
using Strings = std::vector<std::string>;
constexpr const char* kBook = song_book_test::kSongBookWindow;
constexpr const char* kSetup = "P1$MULTIEDITSETUP";
constexpr const char* kProgress = "P1$PROGRESSWINDOW";
enum { OnTitle = 5, OnArtist = 6, OnDisc = 7 };

class MultiListingEditTest : public song_book_test::SongBookWindowTest {
protected:
    void SetUp() override {
        SongBookWindowTest::SetUp();
        songbook::RegisterSongBookProcedures();
    }
    void TearDown() override {
        if (d.IsOpen(kSetup)) d.Press("?CANCELBUTTON", kSetup);
        shell::SetProgramProcedure("RenumberDiscs", nullptr);
        shell::SetProgramProcedure(songbook::kDiscTracksProcedure, nullptr);
        shell::SetProgramProcedure(songbook::kMultiEditSetupProcedure, nullptr);
        for (std::string_view b : songbook::kBatchEditProcedures) shell::SetProgramProcedure(b, nullptr);
        SongBookWindowTest::TearDown();
    }
    void MakeSmallBook() {
        MakeBook("Party", {{"U1", "D1"}, {"U2", "D2"}, {"U3", "D3"}},
                 {{"The Rose", "Bette", "U1", 1},
                  {"the rose", "Conway", "U2", 1},
                  {"The Rose (live)", "Bette", "U3", 1},
                  {"Danny Boy", "BETTE", "U1", 2},
                  {"Danny Boy", "Bettey", "U2", 2, "X"}});
        Open();
    }
    // Right-clicks the title list's row and picks the menu item.
    void StartEdit(int row, int item) {
        d.AnswerPopup(item);
        d.RightClick("?LISTTITLE", row, kBook);
        ASSERT_TRUE(d.IsOpen(kSetup));
    }
    void Confirm() {
        d.AnswerMessage("Are you sure you wish to continue|with this Multi-Listing Edit?", fw::Button::Yes);
        d.Press("?OKBUTTON", kSetup);
        EXPECT_FALSE(d.IsOpen(kSetup));
    }
    void RunToEnd() { EXPECT_TRUE(d.TickUntil([&] { return !d.IsOpen(kProgress); })); }
    // Disc/track/title/artist/omit of every listing, sorted.
    Strings Listings() {
        Strings rows = Query("Party.2bk", "SELECT UnqDiskID, DISKTRACKNO, TITLE, ARTIST, PRINT FROM records");
        std::sort(rows.begin(), rows.end());
        return rows;
    }
};

TEST_F(MultiListingEditTest, TitleEditRenamesEveryWholeTitleMatchOnceInAnyCase) {
    MakeSmallBook();
    StartEdit(3, OnTitle);  // The Rose / Bette
    EXPECT_FALSE(d.Hidden("?TITLEHEADER", kSetup));
    EXPECT_EQ(d.Text("?SBK:TITLE", kSetup), "The Rose");
    EXPECT_TRUE(d.Hidden("?TITLEGROUP", kSetup)) << "shown only while its box is ticked";
    d.Check("?GLO:BATCHCHANGETITLE", true, kSetup);
    EXPECT_FALSE(d.Hidden("?TITLEGROUP", kSetup));
    EXPECT_EQ(d.Text("?GLO:SBK:TITLE", kSetup), "The Rose");
    d.Type("?GLO:SBK:TITLE", "A Rose", kSetup);  // sorts before every match
    Confirm();
    RunToEnd();
    EXPECT_EQ(Listings(), (Strings{"U1/1/A Rose/Bette/", "U1/2/Danny Boy/BETTE/", "U2/1/A Rose/Conway/",
                                   "U2/2/Danny Boy/Bettey/X", "U3/1/The Rose (live)/Bette/"}));
    EXPECT_EQ(d.Rows("?LISTTITLE", kBook).front().substr(0, 6), "A Rose") << "the lists are read again";
}

TEST_F(MultiListingEditTest, ArtistEditMatchesTheWholeArtistAndSetsTheOmitMark) {
    MakeSmallBook();
    StartEdit(1, OnArtist);  // Danny Boy / BETTE
    EXPECT_FALSE(d.Enabled("?GLO:BATCHCHANGETITLE", kSetup));
    EXPECT_FALSE(d.Hidden("?ARTISTHEADER", kSetup));
    d.Check("?GLO:BATCHCHANGEARTIST", true, kSetup);
    d.Type("?GLO:SBK:ARTIST", "Zed", kSetup);  // sorts after every match
    d.Check("?GLO:BATCHCHANGEOMIT", true, kSetup);
    Confirm();
    RunToEnd();
    EXPECT_EQ(Listings(), (Strings{"U1/1/The Rose/Zed/X", "U1/2/Danny Boy/Zed/X", "U2/1/the rose/Conway/",
                                   "U2/2/Danny Boy/Bettey/X", "U3/1/The Rose (live)/Zed/X"}));
}

TEST_F(MultiListingEditTest, DiscEditOnlySetsTheOmitMarkAndNeverClearsIt) {
    MakeSmallBook();
    StartEdit(2, OnDisc);  // Danny Boy / Bettey, on U2
    EXPECT_FALSE(d.Enabled("?GLO:BATCHCHANGETITLE", kSetup));
    EXPECT_FALSE(d.Enabled("?GLO:BATCHCHANGEARTIST", kSetup));
    EXPECT_EQ(d.Text("?SBD:ALTDISKID", kSetup), "D2");
    d.Check("?GLO:BATCHCHANGEOMIT", true, kSetup);
    Confirm();
    RunToEnd();
    EXPECT_EQ(Listings(), (Strings{"U1/1/The Rose/Bette/", "U1/2/Danny Boy/BETTE/", "U2/1/the rose/Conway/X",
                                   "U2/2/Danny Boy/Bettey/X", "U3/1/The Rose (live)/Bette/"}));
}

TEST_F(MultiListingEditTest, WithNoBoxTickedEveryMatchIsWrittenBackUnchanged) {
    MakeSmallBook();
    const Strings before = Listings();
    StartEdit(4, OnDisc);  // the rose / Conway, on U2
    Confirm();
    RunToEnd();
    EXPECT_EQ(Listings(), before);
    EXPECT_EQ(Query("Party.2bk", "SELECT _rev FROM records ORDER BY _id"), (Strings{"1", "2", "1", "1", "2"}))
        << "both listings of U2 written once";
}

TEST_F(MultiListingEditTest, ANoAnswerStaysAndCancelRunsNothing) {
    MakeSmallBook();
    const Strings before = Listings();
    StartEdit(3, OnTitle);
    d.Check("?GLO:BATCHCHANGEOMIT", true, kSetup);
    d.AnswerMessage("Are you sure you wish to continue", fw::Button::No);
    d.Press("?OKBUTTON", kSetup);
    EXPECT_TRUE(d.IsOpen(kSetup));
    d.Press("?CANCELBUTTON", kSetup);
    EXPECT_FALSE(d.IsOpen(kSetup));
    EXPECT_FALSE(d.IsOpen(kProgress));
    EXPECT_EQ(Listings(), before);
}

TEST_F(MultiListingEditTest, CancelAfterTheFirstSliceKeepsExactlyThatSliceChanged) {
    std::vector<Listing> listings;
    for (std::uint32_t t = 1; t <= 60; ++t) listings.push_back({"Same Song", "Singer", "U1", t});
    MakeBook("Party", {{"U1", "D1"}}, listings);
    Open();
    StartEdit(1, OnTitle);
    d.Check("?GLO:BATCHCHANGETITLE", true, kSetup);
    d.Type("?GLO:SBK:TITLE", "Other Song", kSetup);
    Confirm();
    ASSERT_TRUE(d.IsOpen(kProgress));
    d.Tick();
    d.Press("?PROGRESS:CANCEL", kProgress);
    EXPECT_FALSE(d.IsOpen(kProgress));
    EXPECT_EQ(Query("Party.2bk", "SELECT COUNT(*) FROM records WHERE TITLE COLLATE BINARY = 'Other Song'"), Strings{"25"});
    EXPECT_EQ(Query("Party.2bk", "SELECT COUNT(*) FROM records WHERE TITLE COLLATE BINARY = 'Same Song'"), Strings{"35"});
}

TEST_F(MultiListingEditTest, AFailedWriteEndsThePassWithWhatWasDone) {
    std::vector<Listing> listings;
    for (std::uint32_t t = 1; t <= 10; ++t) listings.push_back({"Same Song", "Singer", "U1", t});
    MakeBook("Party", {{"U1", "D1"}}, listings);
    Open();
    // The failure goes into the book once it is open: OPEN refuses a file with triggers.
    Sql("Party.2bk", "CREATE TRIGGER fail_fourth BEFORE UPDATE ON records WHEN old.DISKTRACKNO = 4 "
                     "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    StartEdit(1, OnDisc);
    d.Check("?GLO:BATCHCHANGEOMIT", true, kSetup);
    Confirm();
    d.AnswerMessage("disk full", fw::Button::Ok);
    RunToEnd();
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    // The write warning, not the delete one.
    ASSERT_FALSE(d.Messages().empty());
    EXPECT_EQ(d.Messages().back().rfind("Process PUT Error: An error was experienced when making changes to the "
                                        "Process:View file.",
                                        0),
              0u)
        << d.Messages().back();
    EXPECT_EQ(Query("Party.2bk", "SELECT DISKTRACKNO FROM records WHERE PRINT COLLATE BINARY = 'X' ORDER BY _id"),
              (Strings{"1", "2", "3"}));
}

TEST_F(MultiListingEditTest, ScreenshotWhenAsked) {
    const char* dir = std::getenv("CV_SCREENSHOT_DIR");
    if (!dir || !*dir) GTEST_SKIP() << "CV_SCREENSHOT_DIR not set";
    MakeSmallBook();
    StartEdit(3, OnTitle);
    d.Check("?GLO:BATCHCHANGETITLE", true, kSetup);
    d.Check("?GLO:BATCHCHANGEOMIT", true, kSetup);
    EXPECT_TRUE(d.Screenshot(kSetup, std::string(dir) + "/" + kSetup + ".png"));
}

}  // namespace
