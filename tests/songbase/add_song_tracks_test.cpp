// Add Song Tracks and Add Disc on the test driver, called from the
// song-book window's command as a user reaches them.
#include "song_base_fixture.h"

#include "platform/data/file_ops.h"
#include "platform/os/desktop_opener.h"
#include "platform/ui/control.h"
#include "platform/ui/window.h"
#include "platform/runtime/error_state.h"
#include "platform/text/dates.h"
#include "platform/ui/message.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_files.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_globals.h"
#include "shell/program_startup.h"
#include "songbase/song_base_pick_lists.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QUrl>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "shell/data_dictionary_prefixes.h"

using namespace song_base_test;
using song_book_test::Disc;
using song_book_test::Listing;
using Strings = std::vector<std::string>;

namespace {

constexpr const char* kTracksWindow = "P1$ADDSONGTRACKS";
constexpr const char* kDiscWindow = "P1$ADDDISC";
constexpr const char* kAdded = "Track successfully added";

Strings All(const fw::PickList& list) {
    Strings out;
    for (std::size_t i = 0; i < list.Size(); ++i) out.push_back(list.At(i));
    return out;
}

class AddSongTracksTest : public SongBaseTest {
protected:
    void SetUp() override {
        SongBaseTest::SetUp();
        songbase::ForgetSongBasePickLists();
        MakeSongBase({{"Love Me Tender", "Elvis", "SC100", 1, 1},
                      {"LOVE ME TENDER", "Andy Williams", "KB200", 3, 2},
                      {"Love Me Tender", "elvis", "KB201", 1, 2},
                      {"Crazy", "Patsy Cline", "SC100", 2, 1}},
                     {{1, "Sound Choice"}, {2, "Karaoke Bay"}, {3, "No Discs Yet"}});
        MakeBrandCodes({{"KB", "Karaoke Bay"}, {"SC", "Sound Choice"}});
        MakeDiscs({{1, "SC100", "SC100"}, {2, "KB200", "KB200"}, {4, "ZZ900", "ZZ900"}});
        MakeBook("Party", {{"SC100", "K12", 1, "SC"}, {"AA100", "A0", 2, "KB"}, {"EM001", "E1", 1, "SC"}},
                 {{"One", "A", "SC100", 1}, {"Two", "B", "SC100", 2}, {"Five", "C", "SC100", 5},
                  {"Far", "D", "SC100", 100001}, {"Before", "E", "AA100", 7}});
        d.FixClock(today, 0);
        Open();
        d.Press("?ADDTRACKS", song_book_test::kSongBookWindow);
        ASSERT_TRUE(d.IsOpen(kTracksWindow));
    }
    void TearDown() override {
        for (const char* w : {kDiscWindow, kTracksWindow})
            if (d.IsOpen(w)) d.CloseWindow(w);
        SongBaseTest::TearDown();
    }

    struct Code {
        std::string code, desc;
    };
    void MakeBrandCodes(const std::vector<Code>& codes) {
        fw::File& f = shell::MAKEID();
        fw::CREATE(f);
        fw::OPEN(f, fw::ReadWrite | fw::DenyNone);
        for (const Code& c : codes) {
            MAK.MAKEID = c.code;
            MAK.MAKEDESC = c.desc;
            fw::ADD(f);
            ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        }
        fw::CLOSE(f);
    }
    // Chooses the row of a drop list or combo that reads `text`.
    void ChooseRow(const char* equate, const std::string& text, const char* window) {
        const Strings rows = d.Rows(equate, window);
        const auto it = std::find(rows.begin(), rows.end(), text);
        ASSERT_NE(it, rows.end()) << text;
        d.Choose(equate, static_cast<int>(it - rows.begin()) + 1, window);
    }
    void Enter(const std::string& title, const std::string& artist) {
        d.Type("?SBK:TITLE", title, kTracksWindow);
        if (!artist.empty()) d.Type("?SBK:ARTIST", artist, kTracksWindow);
    }
    std::string TrackShown() const { return Trimmed(d.Text("?SBK:DISKTRACKNO:2", kTracksWindow)); }
    static std::string Trimmed(std::string s) { return s.erase(0, s.find_first_not_of(' ')); }
    std::vector<Listing> Listings() { return BookListings("Party"); }

    const long today = fw::DATE(12, 10, 2026);
};

TEST_F(AddSongTracksTest, ATrackOnADiscOfTheBookTakesItsNextFreeNumberAndIsStoredUnderTheMfgDiscId) {
    EXPECT_EQ(d.Rows("?SBK:UNQDISKID", kTracksWindow), (Strings{"A0", "E1", "K12"}));
    EXPECT_EQ(d.Rows("?SBK:TITLE", kTracksWindow), (Strings{"Crazy", "Love Me Tender"}));
    // A disc with no listing is proposed track 1, though the disc before it has tracks.
    ChooseRow("?SBK:UNQDISKID", "E1", kTracksWindow);
    EXPECT_EQ(TrackShown(), "1");
    // Tracks 1, 2 and 5 (and one above 100000, which does not count) give 6.
    ChooseRow("?SBK:UNQDISKID", "K12", kTracksWindow);
    EXPECT_EQ(TrackShown(), "6");
    EXPECT_EQ(d.Text("?SBK:MAKEID", kTracksWindow), "SC  Sound Choice");

    // A title typed in another case takes the list's spelling and offers its artists.
    d.Type("?SBK:TITLE", "love me TENDER", kTracksWindow);
    EXPECT_EQ(d.Text("?SBK:TITLE", kTracksWindow), "Love Me Tender");
    EXPECT_EQ(d.Rows("?SBK:ARTIST", kTracksWindow), (Strings{"Andy Williams", "Elvis"}));
    EXPECT_EQ(d.Text("?SBK:ARTIST", kTracksWindow), "Andy Williams");
    d.Type("?SBK:ARTIST", "ELVIS", kTracksWindow);
    EXPECT_EQ(d.Text("?SBK:ARTIST", kTracksWindow), "Elvis");
    d.Check("?SBK:PRINT", true, kTracksWindow);

    d.AnswerMessage(kAdded, fw::Button::Yes);
    d.Press("?OKBUTTON", kTracksWindow);
    const Listing added{"Love Me Tender", "Elvis", "SC100", 6, "X", "SC", static_cast<std::int32_t>(today)};
    EXPECT_NE(std::find(Listings().begin(), Listings().end(), added), Listings().end());
    // Yes: the same disc and brand code, the next track, title and artist cleared.
    EXPECT_EQ(d.Text("?SBK:UNQDISKID", kTracksWindow), "K12");
    EXPECT_EQ(TrackShown(), "7");
    EXPECT_EQ(d.Text("?SBK:TITLE", kTracksWindow), "");
    EXPECT_EQ(d.Text("?SBK:ARTIST", kTracksWindow), "");
    EXPECT_EQ(d.Text("?SBK:MAKEID", kTracksWindow), "SC  Sound Choice");

    // A title the song base lacks stays as typed, with no artist offered.
    Enter("My Own Song", "Me");
    EXPECT_EQ(d.Text("?SBK:TITLE", kTracksWindow), "My Own Song");
    EXPECT_TRUE(d.Rows("?SBK:ARTIST", kTracksWindow).empty());
    d.AnswerMessage(kAdded, fw::Button::No);
    d.Press("?OKBUTTON", kTracksWindow);
    EXPECT_FALSE(d.IsOpen(kTracksWindow));
    EXPECT_EQ(Listings().size(), 7u);
}

TEST_F(AddSongTracksTest, DisclessTracksGoOnTheStarDiscWhichTheFirstOneCreates) {
    d.Check("?DISCLESS", true, kTracksWindow);
    EXPECT_TRUE(d.Hidden("?SBK:UNQDISKID", kTracksWindow));
    EXPECT_TRUE(d.Hidden("?ADDDISCBUTTON", kTracksWindow));
    EXPECT_FALSE(d.Hidden("?SBK:DISKTRACKNO", kTracksWindow));
    EXPECT_EQ(Trimmed(d.Text("?SBK:DISKTRACKNO", kTracksWindow)), "1");
    Enter("Crazy", "");
    EXPECT_EQ(d.Text("?SBK:ARTIST", kTracksWindow), "Patsy Cline");
    d.AnswerMessage(kAdded, fw::Button::Yes);
    d.Press("?OKBUTTON", kTracksWindow);
    EXPECT_EQ(Trimmed(d.Text("?SBK:DISKTRACKNO", kTracksWindow)), "2");
    Enter("Love Me Tender", "");
    d.AnswerMessage(kAdded, fw::Button::No);
    d.Press("?OKBUTTON", kTracksWindow);

    const std::vector<Disc> discs = BookDiscs("Party");
    EXPECT_NE(std::find(discs.begin(), discs.end(), Disc{"*", "*", 0, ""}), discs.end());
    std::vector<Listing> star;
    for (const Listing& l : Listings())
        if (l.unq == "*") star.push_back(l);
    ASSERT_EQ(star.size(), 2u);
    EXPECT_EQ(star[0].title, "Crazy");
    EXPECT_EQ(star[0].track, 1u);
    EXPECT_EQ(star[1].title, "Love Me Tender");
    EXPECT_EQ(star[1].artist, "Andy Williams");
    EXPECT_EQ(star[1].track, 2u);
}

TEST_F(AddSongTracksTest, MissingFieldsAndATrackNumberInUseAreRefusedAndNothingIsStored) {
    const std::vector<Listing> before = Listings();
    ChooseRow("?SBK:UNQDISKID", "K12", kTracksWindow);
    d.Type("?SBK:TITLE", "Crazy", kTracksWindow);
    d.Type("?SBK:ARTIST", "", kTracksWindow);
    d.AnswerMessage("Song Title, Artist Name, Disc ID and Track# are Required", fw::Button::Ok);
    d.Press("?OKBUTTON", kTracksWindow);

    d.Type("?SBK:ARTIST", "Patsy Cline", kTracksWindow);
    d.Type("?SBK:DISKTRACKNO:2", "2", kTracksWindow);
    d.AnswerMessage("Track# already in use, please select another..", fw::Button::Ok);
    d.Press("?OKBUTTON", kTracksWindow);
    EXPECT_EQ(Listings(), before);
    // The form still shows what the user chose.
    EXPECT_EQ(d.Text("?SBK:UNQDISKID", kTracksWindow), "K12");
    EXPECT_EQ(TrackShown(), "2");
    EXPECT_TRUE(d.IsOpen(kTracksWindow));
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

// "12x" was stored as the proposal and "-2" as 4294967294, and the track
// said to be added.
TEST_F(AddSongTracksTest, ATrackNumberThatIsNoNumberOrOutOfRangeIsRefusedAndNothingIsAdded) {
    const std::vector<Listing> before = Listings();
    ChooseRow("?SBK:UNQDISKID", "K12", kTracksWindow);
    Enter("Crazy", "Patsy Cline");
    const std::string proposed = TrackShown();
    for (const char* typed : {"12x", "-2", "1000000", "1.5"}) {
        SCOPED_TRACE(typed);
        d.AnswerMessage("Please enter a number from 0 to 999999.", fw::Button::Ok);
        d.Type("?SBK:DISKTRACKNO:2", typed, kTracksWindow);
        d.AnswerMessage("Please enter a number from 0 to 999999.", fw::Button::Ok);
        d.Press("?OKBUTTON", kTracksWindow);
        EXPECT_EQ(d.UnusedAnswers(), 0u);
        EXPECT_EQ(Listings(), before);
        EXPECT_TRUE(d.IsOpen(kTracksWindow));
        EXPECT_EQ(Trimmed(d.Text("?SBK:DISKTRACKNO:2", kTracksWindow)), typed) << "the typing is kept to be put right";
    }
    d.Type("?SBK:DISKTRACKNO:2", proposed, kTracksWindow);
    d.AnswerMessage(kAdded, fw::Button::No);
    d.Press("?OKBUTTON", kTracksWindow);
    EXPECT_EQ(Listings().size(), before.size() + 1);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

TEST_F(AddSongTracksTest, TheHighestTrackNumberProposesNoNextOne) {
    ChooseRow("?SBK:UNQDISKID", "E1", kTracksWindow);
    Enter("Crazy", "");
    d.Type("?SBK:DISKTRACKNO:2", "999999", kTracksWindow);
    d.AnswerMessage(kAdded, fw::Button::Yes);
    d.AnswerMessage("Track# cannot be higher than 999999.", fw::Button::Ok);
    d.Press("?OKBUTTON", kTracksWindow);
    EXPECT_EQ(TrackShown(), "0");
    const std::vector<Listing> stored = Listings();
    EXPECT_NE(std::find_if(stored.begin(), stored.end(),
                           [](const Listing& l) { return l.unq == "EM001" && l.track == 999999u; }),
              stored.end());
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

TEST_F(AddSongTracksTest, ADiscOrListingThatCannotBeStoredIsReportedAndLeavesNothingBehind) {
    const std::vector<Listing> listings = Listings();
    const std::vector<Disc> discs = BookDiscs("Party");
    // The new "*" disc cannot be written: no listing either.
    Sql("Party.2bd", "CREATE TRIGGER refuse BEFORE INSERT ON records BEGIN SELECT RAISE(ABORT, 'disc refused'); END");
    d.Check("?DISCLESS", true, kTracksWindow);
    Enter("Crazy", "");
    d.AnswerMessage("disc refused", fw::Button::Ok);
    d.Press("?OKBUTTON", kTracksWindow);
    Sql("Party.2bd", "DROP TRIGGER refuse");  // a book with a trigger of its own opens nowhere else
    EXPECT_EQ(BookDiscs("Party"), discs);
    EXPECT_EQ(Listings(), listings);

    // A listing that cannot be written: warning 14, the window stays, no success.
    Sql("Party.2bk", "CREATE TRIGGER refuse BEFORE INSERT ON records BEGIN SELECT RAISE(ABORT, 'listing refused'); END");
    d.AnswerMessage("listing refused", fw::Button::Ok);
    d.Press("?OKBUTTON", kTracksWindow);
    Sql("Party.2bk", "DROP TRIGGER refuse");
    EXPECT_EQ(BookDiscs("Party"), discs);  // the "*" disc went with its listing
    EXPECT_EQ(Listings(), listings);
    EXPECT_TRUE(d.IsOpen(kTracksWindow));
    for (const std::string& m : d.Messages()) EXPECT_EQ(m.find(kAdded), std::string::npos) << m;
    const auto warning = std::find_if(d.Messages().begin(), d.Messages().end(),
                                      [](const std::string& m) { return m.find("Record Insert Error") != std::string::npos; });
    EXPECT_NE(warning, d.Messages().end());
}

TEST_F(AddSongTracksTest, AddDiscRefusesMissingAndTakenIdsAndRestoresEverythingEntered) {
    d.Press("?ADDDISCBUTTON", kTracksWindow);
    ASSERT_TRUE(d.IsOpen(kDiscWindow));
    EXPECT_EQ(d.Rows("?SBD:MAKEID", kDiscWindow), (Strings{"Karaoke Bay", "No Discs Yet", "Sound Choice"}));
    d.AnswerMessage("Custom Disc Id is Required.", fw::Button::Ok);
    d.Press("?OKBUTTON", kDiscWindow);

    // A custom ID the book has in another letter case.
    d.Type("?SBD:ALTDISKID", "k12", kDiscWindow);
    ChooseRow("?SBD:MAKEID", "Karaoke Bay", kDiscWindow);
    EXPECT_EQ(d.Text("?SBD:MAKETYPE", kDiscWindow), "KB  Karaoke Bay");
    d.AnswerMessage("This Custom Disc ID is Already Used.", fw::Button::Ok);
    d.Press("?OKBUTTON", kDiscWindow);
    EXPECT_EQ(d.Text("?SBD:ALTDISKID", kDiscWindow), "k12");
    EXPECT_EQ(d.Text("?SBD:UNQDISKID", kDiscWindow), "");
    EXPECT_EQ(d.Text("?SBD:MAKEID", kDiscWindow), "Karaoke Bay");
    EXPECT_EQ(d.Text("?SBD:MAKETYPE", kDiscWindow), "KB  Karaoke Bay");

    // A disc the book has: named by its custom ID; the brand code stays as chosen.
    d.Type("?SBD:ALTDISKID", "NEW1", kDiscWindow);
    d.Type("?SBD:UNQDISKID", "sc100", kDiscWindow);
    d.AnswerMessage("This Disc Already Exists in the SongBook||Custom Disc ID: K12||Duplicate Disc Entries are not Allowed.",
                    fw::Button::Ok);
    d.Press("?OKBUTTON", kDiscWindow);
    EXPECT_EQ(d.Text("?SBD:UNQDISKID", kDiscWindow), "sc100");
    EXPECT_EQ(d.Text("?SBD:MAKETYPE", kDiscWindow), "KB  Karaoke Bay");
    EXPECT_EQ(d.UnusedAnswers(), 0u);

    // A brand without discs proposes no code; a code typed in any case is the list's.
    ChooseRow("?SBD:MAKEID", "No Discs Yet", kDiscWindow);
    EXPECT_EQ(d.Text("?SBD:MAKETYPE", kDiscWindow), "");
    d.Type("?SBD:MAKETYPE", "kb", kDiscWindow);
    EXPECT_EQ(d.Text("?SBD:MAKETYPE", kDiscWindow), "KB  Karaoke Bay");
    // No manufacturer's ID: the custom ID is the unique one too.
    d.Type("?SBD:UNQDISKID", "", kDiscWindow);
    d.Press("?OKBUTTON", kDiscWindow);
    EXPECT_FALSE(d.IsOpen(kDiscWindow));
    const std::vector<Disc> discs = BookDiscs("Party");
    EXPECT_NE(std::find(discs.begin(), discs.end(), Disc{"NEW1", "NEW1", 3, "KB"}), discs.end());
    // Back in Add Song Tracks: the new disc chosen, track 1, its brand code.
    EXPECT_EQ(d.Text("?SBK:UNQDISKID", kTracksWindow), "NEW1");
    EXPECT_EQ(TrackShown(), "1");
    EXPECT_EQ(d.Text("?SBK:MAKEID", kTracksWindow), "KB  Karaoke Bay");
}

TEST_F(AddSongTracksTest, ACustomDiscIsBrandCodeCuAndACancelledAddDiscLeavesTrackOneAndNoBrand) {
    d.Press("?ADDDISCBUTTON", kTracksWindow);
    d.Check("?ISCUSTOM", true, kDiscWindow);
    for (const char* group : {"?GROUP2", "?GROUP3", "?GROUP4"}) EXPECT_TRUE(d.Hidden(group, kDiscWindow)) << group;
    EXPECT_FALSE(d.Hidden("?STRING1:2", kDiscWindow));
    d.Type("?SBD:ALTDISKID", "C9", kDiscWindow);
    d.Press("?OKBUTTON", kDiscWindow);
    const std::vector<Disc> discs = BookDiscs("Party");
    EXPECT_NE(std::find(discs.begin(), discs.end(), Disc{"C9", "C9", 1, "CU"}), discs.end());
    EXPECT_EQ(d.Text("?SBK:UNQDISKID", kTracksWindow), "C9");

    ChooseRow("?SBK:UNQDISKID", "K12", kTracksWindow);
    EXPECT_EQ(TrackShown(), "6");
    d.Press("?ADDDISCBUTTON", kTracksWindow);
    d.Press("?CANCELBUTTON", kDiscWindow);
    EXPECT_FALSE(d.IsOpen(kDiscWindow));
    EXPECT_EQ(TrackShown(), "1");
    EXPECT_EQ(d.Text("?SBK:MAKEID", kTracksWindow), "");
    EXPECT_EQ(BookDiscs("Party").size(), discs.size());
}

TEST_F(AddSongTracksTest, HelpOpensTheAddTracksPage) {
    std::filesystem::create_directories(Path("help"));
    std::ofstream(Path("help/AddTracks.htm")) << "<html></html>";
    shell::InstallFolder = Folder();
    shell::OsVersionInfo.majorVersion = 5;
    std::vector<std::string> opened;
    fw::SetDesktopOpener([&opened](const QUrl& url) { opened.push_back(url.toString().toStdString()); });
    d.Press("?BUTTON5", kTracksWindow);
    fw::SetDesktopOpener(nullptr);
    shell::OsVersionInfo = {};
    shell::InstallFolder = "";
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find("AddTracks.htm"), std::string::npos) << opened[0];
}

TEST_F(AddSongTracksTest, ScreenshotWhenAsked) {
    const char* dir = std::getenv("CV_SCREENSHOT_DIR");
    if (!dir || !*dir) GTEST_SKIP() << "CV_SCREENSHOT_DIR not set";
    const std::string folder(dir);
    ChooseRow("?SBK:UNQDISKID", "K12", kTracksWindow);
    d.Type("?SBK:TITLE", "love me tender", kTracksWindow);
    EXPECT_TRUE(d.Screenshot(kTracksWindow, folder + "/" + kTracksWindow + ".png"));
    // The title combo's offers as "lo" is typed.
    auto* combo = qobject_cast<QComboBox*>(d.FindWindow(kTracksWindow)->Find("?SBK:TITLE")->Widget());
    ASSERT_NE(combo, nullptr);
    combo->lineEdit()->setText(QStringLiteral("lo"));
    emit combo->lineEdit()->textEdited(QStringLiteral("lo"));
    combo->completer()->complete();
    EXPECT_TRUE(combo->completer()->popup()->grab().save(QString::fromStdString(folder + "/" + kTracksWindow + "-offers.png")));
    combo->completer()->popup()->hide();
    d.Check("?DISCLESS", true, kTracksWindow);
    EXPECT_TRUE(d.Screenshot(kTracksWindow, folder + "/" + kTracksWindow + "-discless.png"));
    d.Check("?DISCLESS", false, kTracksWindow);
    d.Press("?ADDDISCBUTTON", kTracksWindow);
    d.Type("?SBD:ALTDISKID", "MINE7", kDiscWindow);
    d.Type("?SBD:UNQDISKID", "KB9001", kDiscWindow);
    ChooseRow("?SBD:MAKEID", "Karaoke Bay", kDiscWindow);
    EXPECT_TRUE(d.Screenshot(kDiscWindow, folder + "/" + kDiscWindow + ".png"));
    d.Check("?ISCUSTOM", true, kDiscWindow);
    EXPECT_TRUE(d.Screenshot(kDiscWindow, folder + "/" + kDiscWindow + "-custom.png"));
    d.Press("?CANCELBUTTON", kDiscWindow);
}

}  // namespace

namespace {

using SongBaseTitlesTest = song_base_test::SongBaseTest;

TEST_F(SongBaseTitlesTest, TheTitleListIsReadOnceAndReadAgainWhenTheFileChanges) {
    songbase::ForgetSongBasePickLists();
    MakeSongBase({{"Crazy", "Patsy Cline", "SC100"}, {"crazy", "Gnarls", "KB1"}, {"Angel", "Shaggy", "KB2"}}, {});
    d.Start([] {
        shell::FileUse titles(shell::STitleFile());
        const auto first = songbase::SongBaseTitles();
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(All(*first), (Strings{"Angel", "Crazy"}));
        EXPECT_EQ(songbase::SongBaseTitles(), first);  // kept: the same list
        STI.Title = "Zombie";
        fw::ADD(shell::sTitle());
        ASSERT_EQ(fw::ERRORCODE(), 0);
        const auto second = songbase::SongBaseTitles();
        EXPECT_NE(second, first);
        EXPECT_EQ(All(*second), (Strings{"Angel", "Crazy", "Zombie"}));
    });
}

}  // namespace
