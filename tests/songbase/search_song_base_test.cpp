// Search Main SongBase, its DUP-Finder and the tracks of a disc, on the
// test driver, beside the song-book window.
#include "song_base_fixture.h"

#include "platform/ui/events.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "shell/data_dictionary_globals.h"
#include "shell/program_procedures.h"
#include "songbase/search_song_base.h"
#include "songbook/browse_song_book.h"

using namespace song_base_test;
using song_book_test::Listing;
using Strings = std::vector<std::string>;

namespace {

constexpr const char* kLongArtist = "Orchestra Of The Long Name Band";  // 31 characters

// Four discs, each with one track by "Dup Tester" and fillers; the books
// hold 0, 5, 11 and 12 of a disc's tracks. D12 is the last disc ID.
std::vector<Track> Tracks() {
    std::vector<Track> t = {
        {"Love Me Tender", "Elvis", "A01", 1, 1},   {"Glove Box", "Mitts", "A01", 2, 1},
        {"LOVE ME TENDER", "ELVIS", "B01", 4, 2},   {"I LOVE IT", "Icona", "B01", 5, 2},
        {"Lovely", "Nobody", "B01", 6, 2},         {"Long One", kLongArtist, "L01", 1, 2},
    };
    for (const auto& [disc, fillers] : std::vector<std::pair<std::string, int>>{{"D00", 3}, {"D05", 5}, {"D11", 11}, {"D12", 12}}) {
        t.push_back({"Probe " + disc, "Dup Tester", disc, 1, 1});
        for (int n = 1; n <= fillers; ++n)
            t.push_back({"Filler " + disc + "-" + std::to_string(n), "Filler", disc, static_cast<std::uint16_t>(n + 1), 1});
    }
    return t;
}

// A book with the first `count` fillers of a disc (in other letter case).
std::vector<Listing> Fillers(const std::string& disc, int count) {
    std::vector<Listing> out;
    for (int n = 1; n <= count; ++n)
        out.push_back({"FILLER " + disc + "-" + std::to_string(n), "filler", disc, static_cast<std::uint32_t>(n + 1)});
    return out;
}

class SearchTest : public SongBaseTest {
protected:
    void SetUp() override {
        SongBaseTest::SetUp();
        MakeSongBase(Tracks(), {{1, "Sound Choice"}, {2, "Karaoke Bay"}});
    }
    void StartSearch() {
        d.Start([] { songbase::SearchSongBase(); });
        ASSERT_TRUE(d.IsOpen(kSearchWindow));
    }
    void SearchFor(const std::string& text, bool artists) {
        d.Choose("?SEARCHBY", artists ? 2 : 1, kSearchWindow);
        d.Type("?SEARCHFIELD", text, kSearchWindow);
        d.Press("?BUTTON6", kSearchWindow);
    }
    // The DUP cells of the artist side's rows: "count:normalBg/selectedBg".
    Strings DupCells() {
        Strings out;
        const Strings rows = d.Rows("?LIST:4", kSearchWindow);
        for (std::size_t r = 1; r <= rows.size(); ++r) {
            const std::string row = rows[r - 1];
            const std::string colors = CellColors("?LIST:4", static_cast<int>(r), 6, kSearchWindow);
            out.push_back(row.substr(row.rfind('|') + 1) + ":" + colors);
        }
        return out;
    }
    void OpenBookWindow(const std::string& base) {
        songbook::SetBookChooser([this, base] { return Path(base + ".2bk"); });
        d.Start([] { songbook::BrowseSongBook(); });
        ASSERT_TRUE(d.IsOpen(song_book_test::kSongBookWindow));
    }
};

TEST_F(SearchTest, TitlesHoldingTheTextInAnyCaseAndTheTracksOfTheHighlightedTitle) {
    StartSearch();
    EXPECT_TRUE(d.Rows("?LIST", kSearchWindow).empty());
    d.Press("?BUTTON6", kSearchWindow);  // nothing typed: a beep, no search
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(d.Rows("?LIST", kSearchWindow).empty());

    SearchFor("love   ", false);  // trailing blanks do not count
    EXPECT_EQ(d.Rows("?LIST", kSearchWindow), (Strings{"Glove Box", "I LOVE IT", "Love Me Tender", "Lovely"}));
    EXPECT_EQ(d.Rows("?LIST:2", kSearchWindow), (Strings{"Glove Box|Mitts|Sound Choice|A01|2|0"}));
    EXPECT_TRUE(d.Hidden("?LIST:3", kSearchWindow));
    EXPECT_TRUE(d.Hidden("?LIST:4", kSearchWindow));
    EXPECT_TRUE(d.Enabled("?CHANGE", kSearchWindow));

    d.Choose("?LIST", 3, kSearchWindow);  // the same title in other letter case on another disc
    EXPECT_EQ(d.Rows("?LIST:2", kSearchWindow),
              (Strings{"Love Me Tender|Elvis|Sound Choice|A01|1|0", "LOVE ME TENDER|ELVIS|Karaoke Bay|B01|4|0"}));

    SearchFor(" love", false);  // a leading blank counts
    EXPECT_EQ(d.Rows("?LIST", kSearchWindow), (Strings{"I LOVE IT"}));

    SearchFor("nothing like it", false);
    EXPECT_TRUE(d.Rows("?LIST", kSearchWindow).empty());
    EXPECT_TRUE(d.Rows("?LIST:2", kSearchWindow).empty());
    EXPECT_FALSE(d.Enabled("?CHANGE", kSearchWindow));

    SearchFor("LOVE", false);
    d.Press("?BUTTON6:2", kSearchWindow);  // Clear empties only the entry
    EXPECT_EQ(d.Text("?SEARCHFIELD", kSearchWindow), "");
    EXPECT_EQ(d.Rows("?LIST", kSearchWindow).size(), 4u);
    d.Press("?BUTTON2", kSearchWindow);
    EXPECT_FALSE(d.IsOpen(kSearchWindow));
    EXPECT_EQ(shell::SearchThread, 0);
}

TEST_F(SearchTest, ASearchAgainInTheSameModeKeepsThePageAndTheOtherModeStartsAtItsFirstMatch) {
    std::vector<Track> many;
    for (int n = 10; n < 40; ++n) many.push_back({"Lovesong " + std::to_string(n), "Lover " + std::to_string(n), "M01", static_cast<std::uint16_t>(n)});
    MakeSongBase(many, {{1, "Sound Choice"}});
    StartSearch();
    for (const char* list : {"?LIST", "?LIST:3"}) d.FindWindow(kSearchWindow)->Find(list)->Set(fw::Prop::Items, 5, 0);
    SearchFor("song", false);
    EXPECT_EQ(d.Rows("?LIST", kSearchWindow).front(), "Lovesong 10");
    d.Key("?LIST", fw::KeyCode::PgDn, kSearchWindow);
    ASSERT_EQ(d.Rows("?LIST", kSearchWindow).front(), "Lovesong 15");
    d.Choose("?SEARCHBY", 2, kSearchWindow);  // the radios alone change nothing
    EXPECT_FALSE(d.Hidden("?LIST", kSearchWindow));
    SearchFor("ovesong", false);
    EXPECT_EQ(d.Rows("?LIST", kSearchWindow).front(), "Lovesong 15");
    SearchFor("lover", true);
    EXPECT_TRUE(d.Hidden("?LIST", kSearchWindow));
    EXPECT_EQ(d.Rows("?LIST:3", kSearchWindow).front(), "Lover 10");
    EXPECT_EQ(d.Rows("?LIST:4", kSearchWindow), Strings{"Lover 10|Lovesong 10|Sound Choice|M01|10|"});
}

TEST_F(SearchTest, AnArtistFillingTheWholeSearchNameFindsTheTracksItBegins) {
    StartSearch();
    SearchFor("long nam", true);
    EXPECT_EQ(d.Rows("?LIST:3", kSearchWindow), Strings{"Orchestra Of The Long Nam"});
    EXPECT_EQ(d.Rows("?LIST:4", kSearchWindow), (Strings{std::string(kLongArtist) + "|Long One|Karaoke Bay|L01|1|"}));
}

TEST_F(SearchTest, DupCountsFollowTheBookThatIsOpenNow) {
    MakeBook("Party", {}, [] {
        auto l = Fillers("D05", 5);
        auto more = Fillers("D11", 11);
        l.insert(l.end(), more.begin(), more.end());
        l.push_back({"probe d00", "DUP TESTER", "X99", 1});  // a disc's own track elsewhere in the book counts too
        return l;
    }());
    MakeBook("Gig", {}, Fillers("D12", 12));
    Open();
    d.Press("?SEARCHMAIN", song_book_test::kSongBookWindow);  // started on its own thread
    ASSERT_TRUE(d.IsOpen(kSearchWindow));
    SearchFor("dup", true);
    EXPECT_EQ(d.Rows("?LIST:3", kSearchWindow), Strings{"Dup Tester"});
    EXPECT_EQ(d.Rows("?LIST:4", kSearchWindow)[0], "Dup Tester|Probe D00|Sound Choice|D00|1|1");
    EXPECT_EQ(DupCells(), (Strings{"1:000000,B7FFB7,FFFFFF,008000", "5:000000,80FFFF,FFFFFF,028E8B",
                                   "11:000000,80FFFF,FFFFFF,028E8B", "0:000000,B7FFB7,FFFFFF,008000"}));

    // The book closes while the search stays up: nothing is counted.
    d.Press("?CLOSE", song_book_test::kSongBookWindow);
    ASSERT_FALSE(d.IsOpen(song_book_test::kSongBookWindow));
    d.Tick();
    for (const std::string& cell : DupCells()) EXPECT_EQ(cell.substr(0, 1), ":") << cell;

    // Another book opens: the counts are of that book.
    OpenBookWindow("Gig");
    d.Tick();
    EXPECT_EQ(DupCells(), (Strings{"0:000000,B7FFB7,FFFFFF,008000", "0:000000,B7FFB7,FFFFFF,008000",
                                   "0:000000,B7FFB7,FFFFFF,008000", "12:000000,8080FF,FFFFFF,0000FF"}));
}

TEST_F(SearchTest, ASecondStartBringsTheRunningWindowForwardAndEnds) {
    StartSearch();
    const int first = shell::SearchThread;
    ASSERT_NE(first, 0);
    fw::Window* window = d.FindWindow(kSearchWindow);
    window->Set(fw::Prop::Iconize, 1);
    d.Settle();
    d.Start([] { songbase::SearchSongBase(); });
    EXPECT_EQ(shell::SearchThread, first);
    ASSERT_EQ(d.FindWindow(kSearchWindow), window);
    EXPECT_EQ(window->Get(fw::Prop::Iconize).Int(), 0);
    EXPECT_EQ(window->Get(fw::Prop::Active).Int(), 1);
    d.Press("?BUTTON8", kSearchWindow);  // Cancel
    EXPECT_FALSE(d.IsOpen(kSearchWindow));
    EXPECT_EQ(shell::SearchThread, 0);
    StartSearch();  // a start after that opens a new window
    EXPECT_NE(shell::SearchThread, 0);
}

TEST_F(SearchTest, TheTracksOfADiscShowThoseInTheBookInRed) {
    MakeBook("Party", {}, Fillers("D05", 2));
    Open();
    d.Press("?SEARCHMAIN", song_book_test::kSongBookWindow);
    SearchFor("dup", true);
    d.Choose("?LIST:4", 2, kSearchWindow);  // D05
    d.Press("?CHANGE:2", kSearchWindow);
    ASSERT_TRUE(d.IsOpen(kDiscTracksWindow));
    EXPECT_EQ(d.Text("?DISKMAKEID", kDiscTracksWindow), "Sound Choice - D05");
    EXPECT_EQ(d.Rows("?LIST", kDiscTracksWindow),
              (Strings{"Probe D05|Dup Tester|1", "Filler D05-1|Filler|2", "Filler D05-2|Filler|3", "Filler D05-3|Filler|4",
                       "Filler D05-4|Filler|5", "Filler D05-5|Filler|6"}));
    EXPECT_FALSE(d.Hidden("?STRING2", kDiscTracksWindow));
    EXPECT_TRUE(d.Hidden("?STRING6", kDiscTracksWindow));
    for (int row = 1; row <= 6; ++row)
        for (int column = 1; column <= 3; ++column) {
            const std::string colors = CellColors("?LIST", row, column, kDiscTracksWindow);
            const bool red = row == 2 || row == 3;
            EXPECT_EQ(colors.substr(0, 6) == "0000FF", red) << row << "/" << column << " " << colors;
            if (red) {
                EXPECT_EQ(colors.substr(14, 6), "0000FF") << colors;  // red on white when selected
            }
        }

    // The book closes meanwhile: the window says so and marks nothing.
    d.Press("?CLOSE", song_book_test::kSongBookWindow);
    d.Tick();
    EXPECT_TRUE(d.Hidden("?STRING2", kDiscTracksWindow));
    EXPECT_FALSE(d.Hidden("?STRING6", kDiscTracksWindow));
    EXPECT_NE(CellColors("?LIST", 2, 1, kDiscTracksWindow).substr(0, 6), "0000FF");
    d.Press("?CLOSE", kDiscTracksWindow);
    EXPECT_FALSE(d.IsOpen(kDiscTracksWindow));
    EXPECT_TRUE(d.IsOpen(kSearchWindow));
}

}  // namespace
