// The song-book window's commands: each button and menu item reaching its
// procedure (or disabled without one), the enable rules on an empty book,
// the delete dialog and the Quick Click Menu.

#include "songbook/browse_song_book.h"
#include "songbook/song_book_commands.h"

#include "platform/os/desktop_opener.h"
#include "platform/runtime/scheduler.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/window.h"
#include "shell/browse_codes.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/program_procedures.h"
#include "shell/program_startup.h"

#include "song_book_window_fixture.h"

#include <QUrl>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using song_book_test::Disc;
using song_book_test::Listing;
using Strings = std::vector<std::string>;

constexpr const char* kWindow = song_book_test::kSongBookWindow;
constexpr const char* kDeleteQuestion = "delete the Selected Song Listing ONLY";
enum { ThisListing = 1, EntireDisc = 2, Cancel = 3 };

// Every procedure the window can launch, the listing form included.
Strings AllProcedures() {
    Strings names;
    for (const auto& c : songbook::SongBookCommands()) names.emplace_back(c.procedure);
    for (const auto& i : songbook::SongBookMenuItems())
        if (!i.started.empty()) names.emplace_back(i.started);
    names.emplace_back(songbook::kDiscTracksProcedure);
    names.emplace_back(songbook::kMultiEditSetupProcedure);
    for (std::string_view b : songbook::kBatchEditProcedures) names.emplace_back(b);
    return names;
}

class SongBookCommandsTest : public song_book_test::SongBookWindowTest {
protected:
    void TearDown() override {
        if (d.IsOpen(kWindow)) d.Press("?CLOSE", kWindow);
        for (const std::string& name : AllProcedures()) shell::SetProgramProcedure(name, nullptr);
        songbook::SetListingForm(nullptr);
        SongBookWindowTest::TearDown();
    }
    // Every procedure records its name (and, for the form, the request).
    void ProvideProcedures() {
        for (const std::string& name : AllProcedures())
            shell::SetProgramProcedure(name, [this, name] { calls.push_back(name); });
        songbook::SetListingForm([this] {
            calls.push_back("form " + std::to_string(shell::RequestedAction()));
            shell::ActionOutcome() = shell::outcome::Cancelled;
        });
    }
    // Disc ID/track/omit mark of every listing, and every disc ID, sorted.
    Strings Listings() { return Sorted(Query("Party.2bk", "SELECT UnqDiskID, DISKTRACKNO, PRINT FROM records")); }
    Strings Discs() { return Sorted(Query("Party.2bd", "SELECT UNQDISKID FROM records")); }
    static Strings Sorted(Strings rows) {
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    bool Enabled(const char* control) { return d.Enabled(control, kWindow); }

    Strings calls;
};

TEST_F(SongBookCommandsTest, EveryButtonAndMenuItemReachesItsProcedure) {
    ProvideProcedures();
    MakeBook("Party", {{"U1", "D1"}}, {{"Song", "Singer", "U1", 1}});
    Open();
    struct Case {
        const char* control;
        std::string reached;
    };
    const std::vector<Case> cases{
        {"?CANTORVALE", "AddMfrDiscs"},
        {"?ADDTRACKS", "AddSongTracks"},
        {"?RENUMBERDISCS:2", "RenumberDiscs"},
        {"?IMPORT", "ImportSongListings"},
        {"?EXPORT", "ExportSongListings"},
        {"?PRINT", "PrintMenu"},
        {"?SEARCHMAIN", "SearchSongBase"},
        {"?VIEWMAIN", "BrowseSongBase"},
        {"?INSERT", "form 1"},
        {"?CHANGE", "form 2"},
        {"?SONGBOOKADDDISCS", "AddMfrDiscs"},
        {"?SONGBOOKADDTRACKS", "AddSongTracks"},
        {"?RENUMBERDISCS", "RenumberDiscs"},
        {"?SONGBOOKEDITTRACK", "form 2"},
        {"?SONGBOOKIMPORTIMPORTCSVFILE", "ImportSongListings"},
        {"?EXPORTTOCSVFILE", "ExportSongListings"},
        {"?SONGBOOKPRINTPRINTSONGBOOK", "SongBookDesigner"},
        {"?SONGBOOKPRINTPRINTDISCLABELS", "CdLabelSetup"},
        {"?MAINSONGBASEVIEWEDIT", "BrowseSongBase"},
        {"?MAINSONGBASESEARCH", "SearchSongBase"},
    };
    for (const Case& c : cases) {
        calls.clear();
        EXPECT_TRUE(d.Press(c.control, kWindow)) << c.control;
        d.Settle();
        EXPECT_EQ(calls, Strings{c.reached}) << c.control;
        EXPECT_TRUE(d.IsOpen(kWindow)) << c.control;
    }
    // The delete commands open the delete dialog.
    for (const char* control : {"?DELETETRACK", "?SONGBOOKDELETETRACKDISC"}) {
        d.AnswerMessage(kDeleteQuestion, Cancel);
        d.Press(control, kWindow);
        EXPECT_EQ(d.UnusedAnswers(), 0u) << control;
    }
    // The list's own Delete button goes to the form.
    calls.clear();
    d.Press("?DELETE", kWindow);
    EXPECT_EQ(calls, Strings{"form 3"});
    EXPECT_EQ(Listings(), Strings{"U1/1/"});
}

TEST_F(SongBookCommandsTest, AnEmptyBookDisablesWhatNeedsListings) {
    ProvideProcedures();
    Open();
    struct Case {
        const char* control;
        bool enabled;
    };
    const std::vector<Case> cases{
        {"?CANTORVALE", true},      {"?ADDTRACKS", true},   {"?IMPORT", true},
        {"?SEARCHMAIN", true},      {"?VIEWMAIN", true},    {"?INSERT", true},
        {"?SONGBOOKADDDISCS", true}, {"?MAINSONGBASEVIEWEDIT", true},
        {"?RENUMBERDISCS:2", false}, {"?DELETETRACK", false}, {"?PRINT", false},
        {"?EXPORT", false},          {"?RENUMBERDISCS", false}, {"?SONGBOOKEDITTRACK", false},
        {"?SONGBOOKDELETETRACKDISC", false}, {"?SONGBOOKIMPORT", false},
        {"?SONGBOOKPRINTPRINTSONGBOOK", false}, {"?SONGBOOKPRINTPRINTDISCLABELS", false},
        {"?CHANGE", false},          {"?DELETE", false},
    };
    for (const Case& c : cases) EXPECT_EQ(Enabled(c.control), c.enabled) << c.control;
    fw::Window& w = *d.FindWindow(kWindow);
    EXPECT_EQ(w.Get(fw::Prop::Msg, w.Feq("?LISTTITLE")).Str(), "Total Song Tracks: 0");
    // Insert on an empty book opens the form on a blank record.
    d.Press("?INSERT", kWindow);
    EXPECT_EQ(calls, Strings{"form 1"});
}

TEST_F(SongBookCommandsTest, CommandsWithoutTheirProcedureStayDisabled) {
    MakeBook("Party", {{"U1", "D1"}}, {{"Song", "Singer", "U1", 1}});
    Open();
    for (const char* control : {"?CANTORVALE", "?ADDTRACKS", "?RENUMBERDISCS:2", "?IMPORT", "?EXPORT", "?PRINT",
                                "?SEARCHMAIN", "?VIEWMAIN", "?SONGBOOKADDDISCS", "?SONGBOOKPRINTPRINTSONGBOOK",
                                "?MAINSONGBASESEARCH"})
        EXPECT_FALSE(Enabled(control)) << control;
    for (const char* control : {"?DELETETRACK", "?SONGBOOKDELETETRACKDISC", "?BUTTON15", "?CLOSE", "?INSERT", "?CHANGE",
                                "?DELETE", "?SONGBOOKEDITTRACK"})
        EXPECT_TRUE(Enabled(control)) << control;
}

TEST_F(SongBookCommandsTest, ThisListingRemovesTheDiscWithItsLastListing) {
    struct Case {
        std::vector<Listing> listings;
        Strings listingsAfter;
        Strings discsAfter;
    };
    const std::vector<Case> cases{
        {{{"Alone", "A", "U1", 1}}, {}, {"U2"}},
        {{{"Alone", "A", "U1", 1}, {"Other", "A", "U1", 2}}, {"U1/2/"}, {"U1", "U2"}},
    };
    for (const Case& c : cases) {
        MakeBook("Party", {{"U1", "D1"}, {"U2", "D2"}}, c.listings);
        Open();
        d.AnswerMessage(kDeleteQuestion, ThisListing);
        d.AnswerMessage("Song Listing has been successfully deleted...", 1);
        d.Press("?DELETETRACK", kWindow);
        EXPECT_EQ(d.UnusedAnswers(), 0u);
        EXPECT_EQ(Listings(), c.listingsAfter);
        EXPECT_EQ(Discs(), c.discsAfter);
        EXPECT_EQ(d.Rows("?LISTTITLE", kWindow).size(), c.listingsAfter.size());
        d.Press("?CLOSE", kWindow);
    }
}

// A disc of 12 listings (custom ID CUST1) and one listing on another disc,
// which sorts first in the title list.
std::vector<Listing> TwelveOnOneDisc() {
    std::vector<Listing> listings{{"Elsewhere", "B", "U2", 1}};
    for (std::uint32_t t = 1; t <= 12; ++t) listings.push_back({"Track " + std::to_string(100 + t), "A", "U1", t});
    return listings;
}

TEST_F(SongBookCommandsTest, EntireDiscRemovesEveryListingOfTheDiscAndNamesIt) {
    MakeBook("Party", {{"U1", "CUST1"}, {"U2", "CUST2"}}, TwelveOnOneDisc());
    Open();
    d.Choose("?LISTTITLE", 2, kWindow);
    d.AnswerMessage(kDeleteQuestion, EntireDisc);
    d.AnswerMessage("All Song Tracks found on Disc:CUST1 have been successfully deleted...", 1);
    d.Press("?DELETETRACK", kWindow);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(Listings(), Strings{"U2/1/"});
    EXPECT_EQ(Discs(), Strings{"U2"});
    EXPECT_EQ(d.Rows("?LISTTITLE", kWindow).size(), 1u);
}

TEST_F(SongBookCommandsTest, ADeleteThatFailsChangesNothingAndSaysSo) {
    MakeBook("Party", {{"U1", "CUST1"}, {"U2", "CUST2"}}, TwelveOnOneDisc());
    const Strings before = Listings();
    Open();
    // The failure is put into the book once it is open: OPEN refuses a file with triggers.
    Sql("Party.2bk", "CREATE TRIGGER fail_fifth BEFORE DELETE ON records WHEN old.DISKTRACKNO = 5 "
                     "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    for (int answer : {EntireDisc, ThisListing}) {
        d.Choose("?LISTTITLE", 6, kWindow);  // Track 105
        d.AnswerMessage(kDeleteQuestion, answer);
        d.AnswerMessage("disk full", 1);
        d.Press("?DELETETRACK", kWindow);
        EXPECT_EQ(d.UnusedAnswers(), 0u) << answer;
        EXPECT_EQ(Listings(), before) << answer;
        EXPECT_EQ(Discs(), (Strings{"U1", "U2"})) << answer;
        EXPECT_EQ(d.Rows("?LISTTITLE", kWindow).size(), 13u);
        for (const std::string& m : d.Messages()) EXPECT_EQ(m.find("successfully"), std::string::npos) << m;
    }
}

TEST_F(SongBookCommandsTest, CancelInTheDeleteDialogChangesNothing) {
    MakeBook("Party", {{"U1", "D1"}}, {{"Song", "Singer", "U1", 1}});
    Open();
    d.AnswerMessage(kDeleteQuestion, Cancel);
    d.Press("?DELETETRACK", kWindow);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(Listings(), Strings{"U1/1/"});
    EXPECT_EQ(Discs(), Strings{"U1"});
}

// Two listings equal in title, artist, track and date added, on two discs:
// the commands act on the row the user picked, found by disc and track.
TEST_F(SongBookCommandsTest, EqualListingsOnTwoDiscsAreEachActedOnAsPicked) {
    ProvideProcedures();
    MakeBook("Party", {{"U1", "D1"}, {"U2", "D2"}}, {{"Same", "Twin", "U1", 3}, {"Same", "Twin", "U2", 3}});
    Open();
    const Strings rows = d.Rows("?LISTTITLE", kWindow);
    ASSERT_EQ(rows.size(), 2u);
    const std::string second = rows[1].find("D2") != std::string::npos ? "U2" : "U1";
    const std::string first = second == "U2" ? "U1" : "U2";

    // Right-click on row 2 selects it; Toggle Omit marks only its listing.
    d.AnswerPopup(2);
    d.RightClick("?LISTTITLE", 2, kWindow);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(d.Highlight("?LISTTITLE", kWindow), 2);
    EXPECT_EQ(Listings(), (Strings{first == "U1" ? "U1/3/" : "U1/3/X", first == "U2" ? "U2/3/" : "U2/3/X"}));
    // Toggling again clears the mark.
    d.AnswerPopup(2);
    d.RightClick("?LISTTITLE", 2, kWindow);
    EXPECT_EQ(Listings(), (Strings{"U1/3/", "U2/3/"}));

    // Edit Track from the menu: the form gets the right-clicked listing.
    d.AnswerPopup(3);
    d.RightClick("?LISTTITLE", 1, kWindow);
    EXPECT_EQ(calls, Strings{"form 2"});

    // Entire Disc on row 2 takes only row 2's disc.
    d.Choose("?LISTTITLE", 2, kWindow);
    d.AnswerMessage(kDeleteQuestion, EntireDisc);
    d.AnswerMessage("have been successfully deleted", 1);
    d.Press("?DELETETRACK", kWindow);
    EXPECT_EQ(Listings(), Strings{first + "/3/"});
    EXPECT_EQ(Discs(), Strings{first});
}

TEST_F(SongBookCommandsTest, TheQuickClickMenuOffersTheListingsValues) {
    ProvideProcedures();
    MakeBook("Party", {{"U1", "CD7"}}, {{"Rose", "Bette", "U1", 2}});
    Open();
    calls.clear();
    for (int item : {1, 5, 6, 7}) {
        shell::DialogCancelled = 0;
        d.AnswerPopup(item);
        d.RightClick("?LISTTITLE", 1, kWindow);
    }
    // With no set-up window to confirm, DialogCancelled stays as the set-up leaves it (cancelled).
    EXPECT_EQ(calls, (Strings{"BrowseSongBookDiscTracks", "SetupMultiListingEdit", "SetupMultiListingEdit",
                              "SetupMultiListingEdit"}));
    EXPECT_EQ(shell::MultiEditField, 3);
}

// A listing's values in the menu show as they stand: an "&" marks no
// mnemonic, and a "|" does not split an item, so each item keeps its place.
TEST_F(SongBookCommandsTest, TheQuickClickMenuShowsTheListingsValuesAsTheyStand) {
    ProvideProcedures();
    MakeBook("Party", {{"U1", "R&B|7"}}, {{"Rock & Roll", "AC|DC", "U1", 2}});
    Open();
    calls.clear();
    d.AnswerPopup(7);
    d.RightClick("?LISTTITLE", 1, kWindow);
    ASSERT_FALSE(d.Popups().empty());
    const Strings& items = d.Popups().back();
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0], "Display all Tracks Found on Disk: R&B|7");
    EXPECT_EQ(items[4], "Perform Multi-Listing Edit on Title: Rock & Roll");
    EXPECT_EQ(items[5], "Perform Multi-Listing Edit on Artist: AC|DC");
    EXPECT_EQ(items[6], "Perform Multi-Listing Edit on Disc ID: R&B|7");
    EXPECT_EQ(calls, Strings{"SetupMultiListingEdit"});
    EXPECT_EQ(shell::MultiEditField, 3);
}

// The lists' buttons with the real listing form: an insert from the
// highlighted listing on a new disc, a change of the right row, a delete.
TEST_F(SongBookCommandsTest, TheListsEditThroughTheListingForm) {
    constexpr const char* kForm = "P1$LISTINGFORM";
    MakeBook("Party", {{"U1", "D1"}, {"U2", "D2"}}, {{"Same", "Twin", "U1", 3}, {"Same", "Twin", "U2", 3}});
    Open();
    d.Choose("?LISTTITLE", 2, kWindow);
    const std::string picked = d.Rows("?LISTTITLE", kWindow)[1].find("D2") != std::string::npos ? "U2" : "U1";

    d.Press("?CHANGE", kWindow);
    ASSERT_TRUE(d.IsOpen(kForm));
    EXPECT_EQ(d.Text("?SBK:UNQDISKID", kForm), picked);
    d.Type("?SBK:TITLE", "Changed", kForm);
    d.Press("?OK", kForm);
    EXPECT_FALSE(d.IsOpen(kForm));
    EXPECT_EQ(Query("Party.2bk", "SELECT UnqDiskID FROM records WHERE Title = 'Changed' COLLATE BINARY"),
              Strings{picked});

    d.Press("?INSERT", kWindow);
    ASSERT_TRUE(d.IsOpen(kForm));
    d.Type("?SBK:UNQDISKID", "U9", kForm);
    d.Type("?SBD:ALTDISKID", "", kForm);
    d.Press("?OK", kForm);
    EXPECT_FALSE(d.IsOpen(kForm));
    EXPECT_EQ(Discs(), (Strings{"U1", "U2", "U9"}));
    EXPECT_EQ(d.Rows("?LISTTITLE", kWindow).size(), 3u);

    d.Choose("?LISTTITLE", 1, kWindow);
    d.AnswerMessage("", 1);  // the form's "delete this record?"
    d.Press("?DELETE", kWindow);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(d.Rows("?LISTTITLE", kWindow).size(), 2u);

    // The disc list's row is the listing the form deletes: the new disc U9's.
    d.Press("?BUTTON17:3", kWindow);
    const Strings discRows = d.Rows("?LISTDISCID", kWindow);
    const auto u9 = std::find_if(discRows.begin(), discRows.end(), [](const std::string& r) { return r.rfind("U9|", 0) == 0; });
    ASSERT_NE(u9, discRows.end());
    const Strings before = Sorted(Query("Party.2bk", "SELECT UnqDiskID FROM records"));
    d.Choose("?LISTDISCID", static_cast<int>(u9 - discRows.begin()) + 1, kWindow);
    d.AnswerMessage("", 1);
    d.Press("?DELETE:3", kWindow);
    Strings expected = before;
    expected.erase(std::find(expected.begin(), expected.end(), "U9"));
    EXPECT_EQ(Sorted(Query("Party.2bk", "SELECT UnqDiskID FROM records")), expected);
}

// An insert from any list saves the new disc with the brand of the
// highlighted listing's disc.
TEST_F(SongBookCommandsTest, AnInsertFromEachListGivesTheNewDiscTheHighlightedListingsBrand) {
    constexpr const char* kForm = "P1$LISTINGFORM";
    struct Case {
        const char* tab;
        const char* list;
        const char* insert;
        const char* newDisc;
    };
    const std::vector<Case> cases = {{"?BUTTON17", "?LISTTITLE", "?INSERT", "N1"},
                                     {"?BUTTON17:2", "?LISTARTIST", "?INSERT:2", "N2"},
                                     {"?BUTTON17:3", "?LISTDISCID", "?INSERT:3", "N3"}};
    MakeBook("Party", {{"U1", "D1", 3, "AB"}, {"U2", "D2", 5, "XY"}},
             {{"Alpha", "Ann", "U1", 1, "", "AB"}, {"Beta", "Bob", "U2", 1, "", "XY"}});
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        d.Press(c.tab, kWindow);
        const Strings rows = d.Rows(c.list, kWindow);
        const auto d2 = std::find_if(rows.begin(), rows.end(), [](const std::string& r) { return r.find("D2") != std::string::npos; });
        ASSERT_NE(d2, rows.end());
        d.Choose(c.list, static_cast<int>(d2 - rows.begin()) + 1, kWindow);
        d.Press(c.insert, kWindow);
        ASSERT_TRUE(d.IsOpen(kForm));
        d.Type("?SBK:UNQDISKID", c.newDisc, kForm);
        d.Type("?SBD:ALTDISKID", "", kForm);
        d.Press("?OK", kForm);
        ASSERT_FALSE(d.IsOpen(kForm));
        const auto discs = BookDiscs("Party");
        const auto added = std::find_if(discs.begin(), discs.end(), [&](const Disc& x) { return x.unq == c.newDisc; });
        ASSERT_NE(added, discs.end());
        EXPECT_EQ(*added, (Disc{c.newDisc, c.newDisc, 5, "XY"}));
    }
}

// A listing gone since the list was read: warning 35, and no form.
TEST_F(SongBookCommandsTest, AListingThatCannotBeReadAgainOpensNoForm) {
    ProvideProcedures();
    MakeBook("Party", {{"U1", "D1"}}, {{"Song", "Singer", "U1", 1}});
    Open();
    Sql("Party.2bk", "DELETE FROM records");
    calls.clear();
    d.AnswerMessage("SongBook", 1);
    d.Press("?CHANGE", kWindow);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_TRUE(calls.empty());
}

// Resizing scales every control from its geometry when the window opened;
// the window cannot be made smaller than 200 by 150.
TEST_F(SongBookCommandsTest, ControlsKeepTheirProportionsAsTheWindowIsResized) {
    Open();
    fw::Window& w = *d.FindWindow(kWindow);
    const int list = w.Feq("?LISTTITLE");
    const long width = w.Get(fw::Prop::Width).Int(), height = w.Get(fw::Prop::Height).Int();
    const long listWidth = w.Get(fw::Prop::Width, list).Int(), listX = w.Get(fw::Prop::Xpos, list).Int();
    const long listHeight = w.Get(fw::Prop::Height, list).Int();
    for (int round = 0; round < 2; ++round) {  // twice: the scaling never drifts
        w.Set(fw::Prop::Width, width * 2);
        w.Set(fw::Prop::Height, height * 2);
        d.Settle();
        EXPECT_NEAR(w.Get(fw::Prop::Width, list).Int(), listWidth * 2, 2);
        EXPECT_NEAR(w.Get(fw::Prop::Xpos, list).Int(), listX * 2, 2);
        EXPECT_NEAR(w.Get(fw::Prop::Height, list).Int(), listHeight * 2, 2);
        w.Set(fw::Prop::Width, width);
        w.Set(fw::Prop::Height, height);
        d.Settle();
        EXPECT_NEAR(w.Get(fw::Prop::Width, list).Int(), listWidth, 1);
    }
    w.Set(fw::Prop::Width, 50);
    w.Set(fw::Prop::Height, 40);
    d.Settle();
    EXPECT_GE(w.Get(fw::Prop::Width).Int(), 200);
    EXPECT_GE(w.Get(fw::Prop::Height).Int(), 150);
}

TEST_F(SongBookCommandsTest, HelpOpensTheWindowsPage) {
    std::filesystem::create_directories(Path("help"));
    std::ofstream(Path("help/WorkingWithSongBook.htm")) << "<html></html>";
    shell::InstallFolder = Folder();
    shell::OsVersionInfo.majorVersion = 5;
    Strings opened;
    fw::SetDesktopOpener([&opened](const QUrl& url) { opened.push_back(url.toString().toStdString()); });
    Open();
    d.Press("?BUTTON15", kWindow);
    fw::SetDesktopOpener(nullptr);
    shell::OsVersionInfo = {};
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find("help/WorkingWithSongBook.htm"), std::string::npos) << opened[0];
}

TEST_F(SongBookCommandsTest, RightClickOnAnEmptyBookShowsNoMenu) {
    Open();
    d.AnswerPopup(2);
    d.Key("?LISTTITLE", fw::KeyCode::MouseRight, kWindow);
    EXPECT_EQ(d.UnusedAnswers(), 1u);
}

// With CV_SCREENSHOT_DIR set (under Xvfb for real fonts): the window on a
// book of a few hundred listings.
TEST_F(SongBookCommandsTest, ScreenshotWhenAsked) {
    const char* dir = std::getenv("CV_SCREENSHOT_DIR");
    if (!dir || !*dir) GTEST_SKIP() << "CV_SCREENSHOT_DIR not set";
    const std::vector<std::string> titles{"Always on My Mind", "Blue Suede Shoes", "Crazy", "Dancing Queen",
                                          "Every Breath You Take", "Fly Me to the Moon", "Girls Just Want to Have Fun",
                                          "Hotel California", "I Will Survive", "Jolene", "Killing Me Softly",
                                          "Livin' on a Prayer", "My Way", "Nothing Compares 2 U", "Oh, Pretty Woman"};
    const std::vector<std::string> artists{"Willie Nelson", "Elvis Presley", "Patsy Cline", "ABBA", "The Police",
                                           "Frank Sinatra", "Cyndi Lauper", "Eagles", "Gloria Gaynor", "Dolly Parton",
                                           "Roberta Flack", "Bon Jovi", "Frank Sinatra", "Sinead O'Connor",
                                           "Roy Orbison"};
    std::vector<Disc> discs;
    std::vector<Listing> listings;
    for (int disc = 1; disc <= 20; ++disc) {
        const std::string unq = "SC" + std::to_string(8100 + disc);
        discs.push_back({unq, disc == 20 ? "*" : "CD" + std::to_string(disc)});
        for (std::uint32_t t = 1; t <= 15; ++t) {
            const std::size_t i = (static_cast<std::size_t>(disc) * 7 + t) % titles.size();
            listings.push_back({titles[i] + (disc > 1 ? " (" + std::to_string(disc) + ")" : ""), artists[i], unq, t});
        }
    }
    MakeBook("Party", discs, listings);
    Open();
    d.Choose("?LISTTITLE", 3, kWindow);
    EXPECT_TRUE(d.Screenshot(kWindow, std::string(dir) + "/" + kWindow + ".png"));
    d.Press("?BUTTON17:3", kWindow);
    EXPECT_TRUE(d.Screenshot(kWindow, std::string(dir) + "/" + kWindow + "-discs.png"));
}

}  // namespace
