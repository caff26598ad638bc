#include "songbook/browse_song_book.h"

#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/window.h"
#include "shell/browse_codes.h"
#include "shell/data_dictionary_globals.h"

#include "song_book_window_fixture.h"

#include <string>
#include <vector>

namespace {

constexpr const char* kWindow = song_book_test::kSongBookWindow;

class SongBookListsTest : public song_book_test::SongBookWindowTest {
protected:
    std::vector<std::string> First(const char* list) {
        std::vector<std::string> out;
        for (const auto& r : d.Rows(list, kWindow)) out.push_back(r.substr(0, r.find('|')));
        return out;
    }
};

TEST_F(SongBookListsTest, EachListShowsTheBookInItsOrder) {
    MakeBook("Party", {{"U1", "B2"}, {"U2", "a1"}},
             {{"bee", "Zed", "U1", 1}, {"Abc", "amy", "U2", 1}, {"abc", "Bob", "U1", 2}});
    Open();
    EXPECT_EQ(First("?LISTTITLE"), (std::vector<std::string>{"Abc", "abc", "bee"}));
    d.Press("?BUTTON17:2", kWindow);
    EXPECT_EQ(First("?LISTARTIST"), (std::vector<std::string>{"amy", "Bob", "Zed"}));
    d.Press("?BUTTON17:3", kWindow);
    EXPECT_EQ(First("?LISTDISCID"), (std::vector<std::string>{"a1", "B2", "B2"}));
}

// Discless tracks are numbered up to the largest 32-bit number.
TEST_F(SongBookListsTest, EachListShowsTheLargestTrackNumberWhole) {
    MakeBook("Party", {{"*", "*"}}, {{"Top", "Zed", "*", 4294967295u}, {"Next", "Amy", "*", 100000}});
    Open();
    for (const char* list : {"?LISTTITLE", "?LISTARTIST", "?LISTDISCID"}) {
        SCOPED_TRACE(list);
        if (std::string(list) == "?LISTARTIST") d.Press("?BUTTON17:2", kWindow);
        if (std::string(list) == "?LISTDISCID") d.Press("?BUTTON17:3", kWindow);
        const std::vector<std::string> rows = d.Rows(list, kWindow);
        ASSERT_EQ(rows.size(), 2u);
        std::string all = rows[0] + "|" + rows[1];
        EXPECT_EQ(all.find('#'), std::string::npos) << all;
        EXPECT_NE(all.find("4294967295"), std::string::npos) << all;
        EXPECT_NE(all.find("100000"), std::string::npos) << all;
    }
}

TEST_F(SongBookListsTest, SearchMovesTheVisibleListToTheHit) {
    std::vector<song_book_test::Listing> many;
    for (char c = 'A'; c <= 'O'; ++c) many.push_back({std::string(3, c), "X", "U1", static_cast<std::uint32_t>(c)});
    MakeBook("Party", {{"U1", "D1"}}, many);
    Open();
    // 15 rows fit on the page: a page down moves the highlight to the last.
    d.Key("?LISTTITLE", shell::codes::PgDn, kWindow);
    EXPECT_EQ(d.Highlight("?LISTTITLE", kWindow), 15);
    d.Type("?SEARCHSTRING", "kk", kWindow);
    d.Press("?BUTTON28", kWindow);
    // The whole book fits on the page: the highlight moves to the hit.
    const int hit = d.Highlight("?LISTTITLE", kWindow);
    ASSERT_GE(hit, 1);
    EXPECT_EQ(First("?LISTTITLE").at(static_cast<std::size_t>(hit - 1)), "KKK");
    EXPECT_TRUE(d.Enabled("?SEARCHNEXTBUTTON", kWindow));
}

TEST_F(SongBookListsTest, AnEmptyBookShowsNoRowsAndZeroTracks) {
    Open();
    EXPECT_TRUE(d.Rows("?LISTTITLE", kWindow).empty());
    EXPECT_FALSE(d.Enabled("?CHANGE", kWindow));
    EXPECT_TRUE(d.Enabled("?INSERT", kWindow));  // an insert needs no listing
    fw::Window& w = *d.FindWindow(kWindow);
    EXPECT_EQ(w.Get(fw::Prop::Msg, w.Feq("?LISTTITLE")).Str(), "Total Song Tracks: 0");
}

}  // namespace
