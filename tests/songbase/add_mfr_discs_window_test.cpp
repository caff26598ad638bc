// The add-discs window through the test driver: from the song-book window,
// a brand chosen, discs tagged by every route, the worker's counts and
// Details, and the song-book window's lists afterwards.
#include "songbase/add_mfr_discs.h"

#include "add_discs_fixture.h"
#include "platform/ui/message.h"
#include "shell/program_procedures.h"
#include "shell/window_runtime.h"
#include "songbase/add_disc_tracks_process.h"
#include "songbase/custom_disc_id.h"
#include "songbase/custom_disc_ids.h"
#include "songbase/multi_tag_options.h"
#include "songbase/songbase_procedures.h"
#include "songbook/browse_song_book.h"

#include <gmock/gmock.h>

#include "platform/os/desktop_opener.h"
#include "platform/ui/layout.h"
#include "platform/ui/text_fit.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/program_startup.h"

#include <QUrl>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "shell/data_dictionary_prefixes.h"

namespace add_discs_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kSongBook = "P1$BROWSEWINDOW";
constexpr const char* kAddDiscs = "P1$ADDMFRDISCS";
constexpr const char* kPrompt = "P1$CUSTOMDISCID";
constexpr const char* kOptions = "P1$MULTITAGOPTIONS";
constexpr const char* kWorker = "P1$ADDDISCTRACKS";

std::vector<TrackRow> TracksOf(const std::string& unq, int count, std::int32_t brand) {
    std::vector<TrackRow> out;
    for (int n = 1; n <= count; ++n)
        out.push_back({unq, static_cast<std::uint16_t>(n), unq + " Song " + std::to_string(n), "Singer", brand});
    return out;
}

class AddMfrDiscsWindowTest : public AddDiscsFolder {
protected:
    void SetUp() override {
        AddDiscsFolder::SetUp();
        shell::ConnectWindowRuntime();
        songbase::SKIPALTDISKID = 0;
        songbase::RegisterSongBaseProcedures();
        songbook::SetBookChooser([this] { return Path("Party.2bk"); });
        songbook::SetGettingStarted([] {});
        std::vector<TrackRow> tracks;
        for (const char* unq : {"AL101", "AL102", "AL103"})
            for (TrackRow& t : TracksOf(unq, 3, 1)) tracks.push_back(t);
        for (TrackRow& t : TracksOf("BE201", 2, 2)) tracks.push_back(t);
        MakeSongBase({{1, "Alpha"}, {2, "Beta"}},
                     {{1, "101", "AL101"}, {1, "102", "AL102"}, {1, "103", "AL103"}, {2, "201", "BE201"}}, tracks,
                     {"Rock", "Pop"});
    }
    void TearDown() override {
        for (const char* w : {kWorker, kPrompt, kOptions}) while (d.IsOpen(w)) d.CloseWindow(w);
        if (d.IsOpen(kAddDiscs)) d.CloseWindow(kAddDiscs);
        if (d.IsOpen(kSongBook)) d.Press("?CLOSE", kSongBook);
        shell::SetProgramProcedure("AddMfrDiscs", nullptr);
        songbook::SetBookChooser(nullptr);
        songbook::SetGettingStarted(nullptr);
        songbase::SKIPALTDISKID = 0;
        shell::DisconnectWindowRuntime();
        AddDiscsFolder::TearDown();
    }
    // The song-book window on "Party", then Add Commercial Disc(s).
    void OpenAddDiscs(const std::vector<BookDisc>& discs = {}, const std::vector<BookListing>& listings = {}) {
        MakeBook("Party", discs, listings);
        d.Start([] { songbook::BrowseSongBook(); });
        ASSERT_TRUE(d.IsOpen(kSongBook));
        ASSERT_TRUE(d.Enabled("?CANTORVALE", kSongBook));
        d.Press("?CANTORVALE", kSongBook);
        ASSERT_TRUE(d.IsOpen(kAddDiscs));
    }
    std::vector<std::string> Tagged() { return d.Rows("?LIST:4", kAddDiscs); }
    // A number as its control shows it, without the picture's blanks.
    std::string Number(const char* equate, const char* window = "") {
        std::string text = d.Text(equate, window);
        text.erase(0, text.find_first_not_of(' '));
        return text;
    }

    fw::testing::Driver d{fw::testing::GTestFailures()};
};

TEST_F(AddMfrDiscsWindowTest, TheMainRoadFromTaggingToTheSongBooksLists) {
    OpenAddDiscs();
    EXPECT_EQ(d.Text("?DASSHOWTAG"), "Show All");
    EXPECT_TRUE(d.Enabled("?BUTTON14"));   // FastFind
    EXPECT_TRUE(d.Enabled("?CHANGE"));     // the song base's track form
    EXPECT_THAT(d.Rows("?LIST"), ElementsAre("Alpha", "Beta"));
    EXPECT_THAT(d.Rows("?LIST:2"), ElementsAre("|AL101|101", "|AL102|102", "|AL103|103"));
    EXPECT_THAT(d.Rows("?LIST:3"), ElementsAre("1|AL101 Song 1|Singer", "2|AL101 Song 2|Singer", "3|AL101 Song 3|Singer"));
    // The track list edits through it; Insert and Delete reach it and are refused there.
    d.Choose("?LIST:3", 2);
    d.Press("?CHANGE");
    ASSERT_TRUE(d.IsOpen("P1$SONGBASETRACKFORM"));
    d.CloseWindow("P1$SONGBASETRACKFORM");
    d.AnswerMessage("inserts are not allowed", fw::Button::Ok);
    d.Key("?LIST:3", fw::KeyCode::Insert);
    d.AnswerMessage("deletions are not allowed", fw::Button::Ok);
    d.Key("?LIST:3", fw::KeyCode::Delete);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(d.Rows("?LIST:3").size(), 3u);

    // "&Rev tags" tags the brand's untagged discs under their printed numbers.
    d.Press("?DASREVTAG");
    EXPECT_THAT(Tagged(), ElementsAre("AL101|101", "AL102|102", "AL103|103"));
    EXPECT_THAT(d.Rows("?LIST:2"), ElementsAre("\xBB|AL101|101", "\xBB|AL102|102", "\xBB|AL103|103"));

    // A double-click in the Tag column untags; another asks the custom ID and genre.
    d.DoubleClick("?LIST:2", 1, 1);
    EXPECT_THAT(Tagged(), ElementsAre("AL102|102", "AL103|103"));
    d.DoubleClick("?LIST:2", 1, 2);  // the Disk ID column: nothing
    EXPECT_FALSE(d.IsOpen(kPrompt));
    d.DoubleClick("?LIST:2", 1, 1);
    ASSERT_TRUE(d.IsOpen(kPrompt));
    EXPECT_EQ(d.Text("?DISKID"), "AL101");
    d.Type("?DISKID", "103");
    d.Type("?QUEGENRE", "rock");
    d.Press("?OKBUTTON");  // 103 is AL103's tag
    EXPECT_EQ(d.Text("?MESSAGE"), "Custom Disc ID Already Used!");
    d.Press("?BUTTON3");  // AutoNumber: one above the tags' 102 and 103
    EXPECT_EQ(d.Text("?DISKID"), "104");
    EXPECT_EQ(d.Text("?MESSAGE"), "");  // the number is free: no warning stands
    EXPECT_EQ(d.Text("?QUEGENRE"), "Rock");
    d.Press("?OKBUTTON");
    EXPECT_FALSE(d.IsOpen(kPrompt));
    EXPECT_THAT(Tagged(), ElementsAre("AL101|104", "AL102|102", "AL103|103"));

    // "&Tag" on the highlighted disc: untag, then tag again with the ID typed.
    d.Choose("?LIST:2", 2);
    d.Press("?DASTAG");
    EXPECT_THAT(d.Rows("?LIST:2")[1], "|AL102|102");
    d.Press("?DASTAG");
    ASSERT_TRUE(d.IsOpen(kPrompt));
    d.Type("?DISKID", "K-2");
    d.Press("?OKBUTTON");
    EXPECT_THAT(Tagged(), ElementsAre("AL101|104", "AL102|K-2", "AL103|103"));

    // The show-tags cycle.
    d.Press("?DASSHOWTAG");
    EXPECT_EQ(d.Text("?DASSHOWTAG"), "Showing Tagged");
    EXPECT_EQ(d.Rows("?LIST:2").size(), 3u);
    d.Press("?DASSHOWTAG");
    EXPECT_EQ(d.Text("?DASSHOWTAG"), "Showing UnTagged");
    EXPECT_THAT(d.Rows("?LIST:2"), IsEmpty());
    d.Press("?DASSHOWTAG");
    EXPECT_EQ(d.Text("?DASSHOWTAG"), "Show All");

    // Brand Beta, "tag &All" numbered from 50 with a prefix.
    d.Choose("?LIST", 2);
    EXPECT_THAT(d.Rows("?LIST:2"), ElementsAre("|BE201|201"));
    EXPECT_THAT(d.Rows("?LIST:3"), ElementsAre("1|BE201 Song 1|Singer", "2|BE201 Song 2|Singer"));
    d.Press("?DASTAGALL");
    ASSERT_TRUE(d.IsOpen(kOptions));
    EXPECT_EQ(Number("?BATCHSTARTINGNUMBER"), "105");
    d.AnswerMessage("Please select the method", fw::Button::Ok);
    d.Press("?OKBUTTON");
    EXPECT_TRUE(d.IsOpen(kOptions));
    d.Press("?BATCHADDTYPE:RADIO2");
    EXPECT_FALSE(d.Hidden("?BATCHPRE"));
    d.Type("?BATCHPRE", "BE");
    d.Type("?BATCHSTARTINGNUMBER", "50");
    d.Press("?OKBUTTON");
    EXPECT_FALSE(d.IsOpen(kOptions));
    EXPECT_THAT(Tagged(), ElementsAre("AL101|104", "AL102|K-2", "AL103|103", "BE201|BE50"));

    // Add them: the worker counts and shows Details.
    d.Press("?BUTTON1");
    ASSERT_TRUE(d.IsOpen(kWorker));
    EXPECT_EQ(d.Caption(kWorker), "Adding Selected Disc Tracks to Open SongBook");
    EXPECT_EQ(d.Text("?PROGRESS:PCTTEXT", kWorker), "100% Completed");
    EXPECT_FALSE(d.Hidden("?B1", kWorker));
    d.Press("?RESULTS", kWorker);
    EXPECT_EQ(Number("?TRACKSADDED", kWorker), "11");
    EXPECT_EQ(Number("?DUPTRACKS", kWorker), "0");
    EXPECT_EQ(Number("?DISCSNOTADDED", kWorker), "0");
    d.Press("?B1", kWorker);
    EXPECT_FALSE(d.IsOpen(kWorker));
    EXPECT_THAT(Tagged(), IsEmpty());

    // Nothing tagged any more; the window closes without a question.
    d.AnswerMessage("No Disc(s) Tagged for Processing", fw::Button::Ok);
    d.Press("?BUTTON1", kAddDiscs);
    d.Press("?BUTTON2", kAddDiscs);
    EXPECT_FALSE(d.IsOpen(kAddDiscs));

    EXPECT_THAT(Discs("Party"), ElementsAre("AL101/104/1/AL", "AL102/K-2/1/AL", "AL103/103/1/AL", "BE201/BE50/2/BE"));
    const auto listings = Listings("Party");
    ASSERT_EQ(listings.size(), 11u);
    EXPECT_THAT(listings[0], ::testing::StartsWith("AL101/1/AL101 Song 1/Singer/Rock/AL/"));
    EXPECT_THAT(listings[3], ::testing::StartsWith("AL102/1/AL102 Song 1/Singer//AL/"));
    // The song-book window reads its lists again.
    const auto titles = d.Rows("?LISTTITLE", kSongBook);
    ASSERT_EQ(titles.size(), 11u);
    EXPECT_THAT(titles[0], ::testing::StartsWith("AL101 Song 1|Singer|104|1|"));
    EXPECT_EQ(d.Text("?LISTTITLE", kSongBook).substr(0, 12), "AL101 Song 1");
}

// The worker's window is wide enough for the title it is given.
TEST(AddDiscTracksWindow, ItsTitleFitsItsTitleBar) {
    const fw::Window window(fw::LoadLayout(kWorker));
    EXPECT_LE(fw::CaptionNeeds(songbase::kAddDiscTracksCaption), window.Content()->width());
}

TEST_F(AddMfrDiscsWindowTest, ADiscTheBookHasIsRefusedAndTheWorkerReportsWhatItCouldNotAdd) {
    OpenAddDiscs({{"AL102", "7"}}, {{"AL102", 1, "Kept"}});
    d.AnswerMessage("Custom Disc ID: 7", fw::Button::Ok);
    d.Choose("?LIST:2", 2);
    d.Press("?DASTAG");
    EXPECT_FALSE(d.IsOpen(kPrompt));
    EXPECT_EQ(beeps, 1);
    EXPECT_THAT(Tagged(), IsEmpty());

    // The query skipped: the manufacturer's IDs; the tag-all refuses AL102 again.
    d.Check("?SKIPALTDISKID", true);
    d.AnswerMessage("Custom Disc ID: 7", fw::Button::Ok);
    d.Press("?DASTAGALL");
    EXPECT_FALSE(d.IsOpen(kOptions));
    EXPECT_THAT(Tagged(), ElementsAre("AL101|AL101", "AL103|AL103"));
    // Another window of this program takes AL103's ID meanwhile: the worker
    // skips that disc and says why.
    Sql("Party.2bd", "INSERT INTO records(UNQDISKID, MAKETYPE, MakeID, ALTDISKID, _rev) VALUES('ZZ9', 'ZZ', 9, 'al103', 1)");
    d.Press("?BUTTON1");
    ASSERT_TRUE(d.IsOpen(kWorker));
    d.Press("?RESULTS", kWorker);
    EXPECT_EQ(Number("?TRACKSADDED", kWorker), "3");
    EXPECT_EQ(Number("?DISCSNOTADDED", kWorker), "1");
    const auto notAdded = d.Rows("?NOTADDED", kWorker);
    ASSERT_EQ(notAdded.size(), 1u);
    EXPECT_THAT(notAdded[0], ::testing::HasSubstr("AL103 (AL103): Custom Disc ID AL103 is already used by disc ZZ9"));
    d.Press("?B1", kWorker);
}

TEST_F(AddMfrDiscsWindowTest, DoneWithTagsLeftAsksAndTheCloseBoxDoesNot) {
    OpenAddDiscs();
    d.Press("?DASREVTAG");
    d.AnswerMessage("There are still disc(s) tagged and awaiting processing", fw::Button::No);
    d.Press("?BUTTON2");
    EXPECT_TRUE(d.IsOpen(kAddDiscs));
    EXPECT_EQ(Tagged().size(), 3u);
    // "Remove Selected" takes the highlighted tag off.
    d.Choose("?LIST:4", 2);
    d.Press("?BUTTON16");
    EXPECT_THAT(Tagged(), ElementsAre("AL101|101", "AL103|103"));
    EXPECT_EQ(d.Rows("?LIST:2")[1], "|AL102|102");
    d.AnswerMessage("There are still disc(s) tagged and awaiting processing", fw::Button::Yes);
    d.Press("?BUTTON2");
    EXPECT_FALSE(d.IsOpen(kAddDiscs));
    // Opened again, from the menu: no tags; the close box closes without asking.
    EXPECT_TRUE(d.Enabled("?SONGBOOKADDDISCS", kSongBook));
    d.Press("?SONGBOOKADDDISCS", kSongBook);
    ASSERT_TRUE(d.IsOpen(kAddDiscs));
    EXPECT_THAT(Tagged(), IsEmpty());
    d.Press("?DASREVTAG");
    d.CloseWindow(kAddDiscs);
    EXPECT_FALSE(d.IsOpen(kAddDiscs));
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

TEST_F(AddMfrDiscsWindowTest, WithNoBookOpenItSaysSoAndOpensNothing) {
    d.AnswerMessage("No SongBook is open.", fw::Button::Ok);
    d.Start(songbase::AddMfrDiscs);
    EXPECT_FALSE(d.IsOpen(kAddDiscs));
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

TEST_F(AddMfrDiscsWindowTest, AWorkerThatCannotOpenItsBookAddsNothingAndGivesTheTagsBack) {
    auto owner = std::make_shared<shell::TagList>();
    owner->Add({"AL103", "3", 0, ""});
    std::vector<shell::TagEntry> work{{"AL101", "1", 0, ""}, {"AL103", "3", 0, ""}};
    d.AnswerMessage("The SongBook could not be opened, so no disc has been added.", fw::Button::Ok);
    d.Start([&] { songbase::AddDiscTracksProcess({Path("Gone.2bk"), Path("Gone.2bd")}, work, owner); });
    EXPECT_FALSE(d.IsOpen(kWorker));
    ASSERT_EQ(owner->Count(), 2);
    EXPECT_EQ(owner->At(1).unq, "AL101");
}

TEST_F(AddMfrDiscsWindowTest, TheWorkerAddsToTheBookItWasStartedForWhateverTheBookNamesSayNow) {
    MakeBook("Party", {}, {});
    MakeBook("Other", {}, {});
    UseBook("Other");  // the song-book window has moved on to another book
    std::vector<shell::TagEntry> work{{"BE201", "9", 0, "Pop"}};
    d.Start([&] { songbase::AddDiscTracksProcess({Path("Party.2bk"), Path("Party.2bd")}, work, {}); });
    ASSERT_TRUE(d.IsOpen(kWorker));
    d.Press("?B1", kWorker);
    EXPECT_THAT(Discs("Party"), ElementsAre("BE201/9/2/BE"));
    EXPECT_THAT(Discs("Other"), IsEmpty());
}

// A FastFind window of the test's own: it tags a disc into the add-discs
// window's list and waits to be closed.
void StandInFastFind() {
    if (songbase::AddDiscsSession* s = songbase::AddDiscsSessionOpen()) s->tags->Add({"BE201", "FF1", 0, ""});
    fw::Window window(fw::ParseLayout("window FASTFIND\nat 10 10 100 40\ncontrol ?FOUND button\n  text \"Found\"\n"
                                      "  at 4 4 40 14\n",
                                      "FASTFIND"));
    window.Open();
    while (fw::ACCEPT()) {
    }
}

TEST_F(AddMfrDiscsWindowTest, FastFindAndTheTrackFormComeAliveOnceTheProgramHasThem) {
    std::vector<std::string> edits;
    shell::SetProgramProcedure(songbase::kFastFindProcedure, StandInFastFind);
    shell::SetProgramProcedure(songbase::kTrackFormProcedure, [&edits] {
        edits.push_back(std::to_string(shell::RequestedAction()) + ":" + KAR.Title.Str());
        shell::RequestedAction() = 0;
        shell::ActionOutcome() = shell::outcome::Cancelled;
    });
    OpenAddDiscs();
    EXPECT_TRUE(d.Enabled("?BUTTON14"));
    EXPECT_TRUE(d.Enabled("?CHANGE"));
    d.Choose("?LIST:3", 2);
    d.Press("?CHANGE");
    d.Key("?LIST:3", fw::KeyCode::CtrlEnter);
    d.AnswerPopup(2);  // "&Edit Song Track" of the right button's menu
    d.RightClick("?LIST:3", 3);
    EXPECT_THAT(edits, ElementsAre("2:AL101 Song 2", "2:AL101 Song 2", "2:AL101 Song 3"));

    // FastFind tags into this window's list, and closes with the window.
    d.Press("?BUTTON14");
    ASSERT_TRUE(d.IsOpen("FASTFIND"));
    d.Activate(kAddDiscs);
    EXPECT_THAT(Tagged(), ElementsAre("BE201|FF1"));
    d.Key("?LIST", 'B');  // a typed letter finds the brand
    EXPECT_EQ(d.Highlight("?LIST"), 2);
    EXPECT_THAT(d.Rows("?LIST:2"), ElementsAre("\xBB|BE201|201"));
    d.CloseWindow(kAddDiscs);
    EXPECT_FALSE(d.IsOpen("FASTFIND"));
    shell::SetProgramProcedure(songbase::kFastFindProcedure, nullptr);
    shell::SetProgramProcedure(songbase::kTrackFormProcedure, nullptr);
}

TEST_F(AddMfrDiscsWindowTest, HelpOpensTheWindowsPage) {
    std::filesystem::create_directories(Path("help"));
    std::ofstream(Path("help/AddingManufacturedDisc(s).htm")) << "<html></html>";
    shell::InstallFolder = Folder();
    shell::OsVersionInfo.majorVersion = 5;
    std::vector<std::string> opened;
    fw::SetDesktopOpener([&opened](const QUrl& url) { opened.push_back(url.toString().toStdString()); });
    OpenAddDiscs();
    d.Press("?BUTTON2:2");
    fw::SetDesktopOpener(nullptr);
    shell::OsVersionInfo = {};
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find("AddingManufacturedDisc"), std::string::npos) << opened[0];
}

TEST_F(AddMfrDiscsWindowTest, ScreenshotWhenAsked) {
    const char* dir = std::getenv("CV_SCREENSHOT_DIR");
    if (!dir) GTEST_SKIP() << "set CV_SCREENSHOT_DIR to keep the pictures";
    OpenAddDiscs({{"AL102", "7"}}, {});
    d.Press("?DASTAG");
    d.Type("?DISKID", "A-1");
    d.Type("?QUEGENRE", "Rock");
    EXPECT_TRUE(d.Screenshot(kPrompt, std::string(dir) + "/custom_disc_id.png"));
    d.Press("?OKBUTTON");
    d.Choose("?LIST:2", 3);
    d.Press("?DASTAG");
    d.Press("?BUTTON3");
    d.Press("?OKBUTTON");
    EXPECT_TRUE(d.Screenshot(kAddDiscs, std::string(dir) + "/add_mfr_discs.png"));
    d.Press("?DASTAGALL");
    d.Press("?BATCHADDTYPE:RADIO2");
    EXPECT_TRUE(d.Screenshot(kOptions, std::string(dir) + "/multi_tag_options.png"));
    d.Press("?CANCELBUTTON");
    // Another copy of the program takes AL103's custom ID meanwhile.
    Sql("Party.2bd", "INSERT INTO records(UNQDISKID, MAKETYPE, MakeID, ALTDISKID) VALUES('ZZ9', 'ZZ', 9, '8')");
    d.Press("?BUTTON1");
    d.Press("?RESULTS", kWorker);
    EXPECT_TRUE(d.Screenshot(kWorker, std::string(dir) + "/add_disc_tracks.png"));
}

}  // namespace
}  // namespace add_discs_test
