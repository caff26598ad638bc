// View/Change Main SongBase and its track form on the test driver.
#include "song_base_fixture.h"

#include "platform/ui/control.h"
#include "platform/ui/events.h"
#include "platform/ui/message.h"
#include "platform/ui/text_fit.h"
#include "platform/ui/window.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/program_procedures.h"
#include "songbase/browse_song_base.h"

using namespace song_base_test;
using Strings = std::vector<std::string>;

namespace {

// Ties, accented letters and letter case; brand 99 is missing from DMake.
const std::vector<Track> kTracks = {
    {"apple", "Zed", "AA1", 2, 1},
    {"Apple", "abba", "AA1", 1, 1},
    {"\xC9milie", "\xC9" "dith", "BB1", 1, 2},
    {"banana", "\xC9" "dith", "aa2", 3, 99},
    {"Zebra", "ABBA", "BB1", 2, 2},
};
const std::vector<Brand> kBrands = {{1, "Sound Choice"}, {2, "Karaoke Bay"}};

class BrowseSongBaseTest : public SongBaseTest {
protected:
    void OpenBrowse() {
        MakeSongBase(kTracks, kBrands);
        d.Start([this] {
            shell::RunProgramProcedure("BrowseSongBase");
            outcome = shell::ActionOutcome();
        });
        ASSERT_TRUE(d.IsOpen(kBrowseWindow));
    }
    long TabProp(const char* tab, fw::Prop prop) const {
        return d.FindWindow(kBrowseWindow)->Find(tab)->Get(prop, 0).Int();
    }
    int outcome = -1;
};

TEST_F(BrowseSongBaseTest, ThreeTabOrdersFoldCaseAndAccentsAndKeepTheHighlightedTrack) {
    OpenBrowse();
    EXPECT_EQ(ListFormat("?LIST", kBrowseWindow), songbase::kSongBaseOpeningFormat);
    EXPECT_EQ(d.Rows("?LIST", kBrowseWindow),
              (Strings{"apple|Zed|Sound Choice|AA1|2", "Apple|abba|Sound Choice|AA1|1", "banana|\xC9" "dith||aa2|3",
                       "Zebra|ABBA|Karaoke Bay|BB1|2", "\xC9milie|\xC9" "dith|Karaoke Bay|BB1|1"}));
    EXPECT_EQ(TabProp("?TAB1", fw::Prop::FontStyle), 700);
    EXPECT_EQ(TabProp("?TAB1", fw::Prop::FontColor), 0x800000);
    EXPECT_EQ(TabProp("?TAB1", fw::Prop::Color), 0x808080);

    d.Choose("?LIST", 4, kBrowseWindow);  // Zebra
    d.Choose("?CURRENTTAB", 2, kBrowseWindow);
    EXPECT_EQ(ListFormat("?LIST", kBrowseWindow), songbase::SongBaseTabFormat(2));
    EXPECT_EQ(d.Rows("?LIST", kBrowseWindow),
              (Strings{"abba|Apple|Sound Choice|AA1|1", "ABBA|Zebra|Karaoke Bay|BB1|2", "Zed|apple|Sound Choice|AA1|2",
                       "\xC9" "dith|\xC9milie|Karaoke Bay|BB1|1", "\xC9" "dith|banana||aa2|3"}));
    EXPECT_EQ(d.Highlight("?LIST", kBrowseWindow), 2);
    EXPECT_EQ(TabProp("?TAB2", fw::Prop::FontStyle), 700);
    EXPECT_EQ(TabProp("?TAB1", fw::Prop::FontStyle), 400);
    EXPECT_EQ(TabProp("?TAB1", fw::Prop::FontColor), -1);

    d.Choose("?CURRENTTAB", 3, kBrowseWindow);
    EXPECT_EQ(d.Rows("?LIST", kBrowseWindow),
              (Strings{"AA1|1|Apple|abba|Sound Choice", "AA1|2|apple|Zed|Sound Choice", "aa2|3|banana|\xC9" "dith|",
                       "BB1|1|\xC9milie|\xC9" "dith|Karaoke Bay", "BB1|2|Zebra|ABBA|Karaoke Bay"}));
    EXPECT_EQ(d.Highlight("?LIST", kBrowseWindow), 5);

    d.Press("?CLOSE", kBrowseWindow);
    EXPECT_FALSE(d.IsOpen(kBrowseWindow));
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
}

TEST_F(BrowseSongBaseTest, EditWritesTheTrackAndOkWithoutChangesWritesNothing) {
    OpenBrowse();
    d.Choose("?LIST", 3, kBrowseWindow);  // banana, whose brand is missing
    d.Press("?CHANGE", kBrowseWindow);
    ASSERT_TRUE(d.IsOpen(kTrackForm));
    EXPECT_EQ(d.Caption(kTrackForm), "Edit Main SongBase Track   (DiscID: aa2  Track:3)");
    EXPECT_EQ(d.Text("?BRA:MAKE", kTrackForm), "");
    d.Type("?KAR:DISKTRACKNO", "7", kTrackForm);
    d.Press("?OK", kTrackForm);
    EXPECT_FALSE(d.IsOpen(kTrackForm));
    EXPECT_EQ(StoredTracks()[3], "banana/\xC9" "dith/aa2/7");

    const auto before = Query("MAIN.TPS", "SELECT _rev FROM records ORDER BY _id");
    d.Key("?LIST", fw::KeyCode::MouseLeft2, kBrowseWindow);  // the highlighted track again
    ASSERT_TRUE(d.IsOpen(kTrackForm));
    d.Press("?OK", kTrackForm);
    EXPECT_FALSE(d.IsOpen(kTrackForm));
    EXPECT_EQ(Query("MAIN.TPS", "SELECT _rev FROM records ORDER BY _id"), before);
}

// The track form's title names the disc and track: a long disc ID and
// track number (ten wide letters, the largest number) widen the form
// until the title bar shows it whole.
TEST_F(BrowseSongBaseTest, TheTrackFormWidensToShowItsTitleWhole) {
    MakeSongBase({{"Title", "Artist", "WWWWWWWWWW", 65535, 1}}, kBrands);
    d.Start([] { shell::RunProgramProcedure("BrowseSongBase"); });
    ASSERT_TRUE(d.IsOpen(kBrowseWindow));
    d.Choose("?LIST", 1, kBrowseWindow);
    d.Press("?CHANGE", kBrowseWindow);
    ASSERT_TRUE(d.IsOpen(kTrackForm));
    const std::string caption = d.Caption(kTrackForm);
    EXPECT_EQ(caption, "Edit Main SongBase Track   (DiscID: WWWWWWWWWW  Track:65535)");
    const fw::Window* form = d.FindWindow(kTrackForm);
    ASSERT_GT(fw::CaptionNeeds(caption), form->DuToPxX(form->Layout().at.w)) << "longer than the designed form";
    EXPECT_GE(form->Content()->width(), fw::CaptionNeeds(caption));
    d.Press("?CANCEL", kTrackForm);
}

TEST_F(BrowseSongBaseTest, CancelAsksAndABlankTitleIsRefused) {
    OpenBrowse();
    d.Press("?CHANGE", kBrowseWindow);  // apple
    d.Type("?KAR:TITLE", "", kTrackForm);
    d.AnswerMessage("Please enter a Song Title", fw::Button::Ok);
    d.Press("?OK", kTrackForm);
    EXPECT_TRUE(d.IsOpen(kTrackForm));
    d.Type("?KAR:TITLE", "Pear", kTrackForm);
    d.AnswerMessage("Do you want to save the changes", fw::Button::No);
    d.Press("?CANCEL", kTrackForm);
    EXPECT_FALSE(d.IsOpen(kTrackForm));
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(StoredTracks()[0], "apple/Zed/AA1/2");
}

// The track number is 16 bits: 70000 would be stored as 4464.
TEST_F(BrowseSongBaseTest, ATrackNumberTheFieldCannotHoldIsRefusedAndNothingIsWritten) {
    OpenBrowse();
    d.Press("?CHANGE", kBrowseWindow);  // apple
    for (const char* typed : {"70000", "65536", "-1", "7x"}) {
        SCOPED_TRACE(typed);
        d.AnswerMessage("Please enter a number from 0 to 65535.", fw::Button::Ok);
        d.Type("?KAR:DISKTRACKNO", typed, kTrackForm);
        EXPECT_EQ(d.UnusedAnswers(), 0u);
        EXPECT_EQ(d.Text("?KAR:DISKTRACKNO", kTrackForm), typed);
    }
    // OK is refused the same way, and nothing is written.
    d.AnswerMessage("Please enter a number from 0 to 65535.", fw::Button::Ok);
    d.Press("?OK", kTrackForm);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_TRUE(d.IsOpen(kTrackForm));
    EXPECT_EQ(StoredTracks()[0], "apple/Zed/AA1/2");
    d.Type("?KAR:DISKTRACKNO", "65535", kTrackForm);
    d.Press("?OK", kTrackForm);
    EXPECT_FALSE(d.IsOpen(kTrackForm));
    EXPECT_EQ(StoredTracks()[0], "apple/Zed/AA1/65535");
}

TEST_F(BrowseSongBaseTest, InsertAndDeleteKeysAreRefusedByTheForm) {
    OpenBrowse();
    d.AnswerMessage("inserts are not allowed", fw::Button::Ok);
    d.Key("?LIST", fw::KeyCode::Insert, kBrowseWindow);
    d.AnswerMessage("deletions are not allowed", fw::Button::Ok);
    d.Key("?LIST", fw::KeyCode::Delete, kBrowseWindow);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_FALSE(d.IsOpen(kTrackForm));
    EXPECT_EQ(StoredTracks().size(), kTracks.size());
    EXPECT_EQ(StoredTracks()[0], "apple/Zed/AA1/2");
}

TEST_F(BrowseSongBaseTest, ATrackChangedByAnotherStationShowsItsValuesAndDittoRecallsTheTyped) {
    OpenBrowse();
    d.Press("?CHANGE", kBrowseWindow);  // apple, read with WATCH
    d.Type("?KAR:TITLE", "Apple Pie", kTrackForm);
    // Another station changes the same track meanwhile.
    ChangeTitleElsewhere("apple", "Crab Apple");
    d.AnswerMessage("changed by another station", fw::Button::Ok);
    d.Press("?OK", kTrackForm);
    ASSERT_TRUE(d.IsOpen(kTrackForm));
    EXPECT_EQ(d.Text("?KAR:TITLE", kTrackForm), "Crab Apple");
    EXPECT_EQ(StoredTracks()[0], "Crab Apple/Zed/AA1/2");

    d.Key("?KAR:TITLE", fw::KeyCode::CtrlApostrophe, kTrackForm);
    EXPECT_EQ(d.Text("?KAR:TITLE", kTrackForm), "Apple Pie");
    d.Press("?OK", kTrackForm);
    EXPECT_FALSE(d.IsOpen(kTrackForm));
    EXPECT_EQ(StoredTracks()[0], "Apple Pie/Zed/AA1/2");
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

TEST_F(BrowseSongBaseTest, TheSongBookWindowsViewCommandOpensTheBrowse) {
    MakeSongBase(kTracks, kBrands);
    MakeBook("Party", {}, {});
    Open();
    ASSERT_TRUE(d.Enabled("?VIEWMAIN", song_book_test::kSongBookWindow));
    d.Press("?VIEWMAIN", song_book_test::kSongBookWindow);
    EXPECT_TRUE(d.IsOpen(kBrowseWindow));
    d.Press("?CLOSE", kBrowseWindow);
    EXPECT_FALSE(d.IsOpen(kBrowseWindow));
}

}  // namespace
