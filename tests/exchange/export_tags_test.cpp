// The export window's tag lists through the test driver: discs and tracks
// tagged by button and by double-click, tag all, untag all, reverse, the
// show-tags cycle, and a change of option dropping the tags.
#include "exchange/export_song_listings.h"

#include "exchange_fixture.h"

#include <sstream>

namespace exchange_test {
namespace {

constexpr const char* kExport = exchange::kExportWindow;

class ExportTags : public ExchangeTest {
protected:
    void SetUp() override {
        ExchangeTest::SetUp();
        Book({{"SC8101", "A1", 12, "SC"}, {"SC8102", "B2", 12, "SC"}, {"SC8103", "C3", 12, "SC"}},
             {{"Zulu", "Z", "SC8101", 1}, {"Alpha", "A", "SC8101", 2}, {"Bravo", "B", "SC8102", 5},
              {"Charlie", "C", "SC8102", 6}, {"Delta", "D", "SC8103", 70000}});
        Run(exchange::ExportSongListings);
        ASSERT_TRUE(d().IsOpen(kExport));
    }
    // "Export Listings" into out.csv; the titles written, in order.
    std::vector<std::string> Export() {
        d().AnswerFileDialog(Path("out.csv"));
        d().AnswerMessage("Export Operation Completed", fw::Button::Ok);
        d().Press("?OKBUTTON");
        EXPECT_TRUE(TickUntilClosed("P1$PROGRESSWINDOW"));
        EXPECT_FALSE(d().IsOpen(kExport));
        std::vector<std::string> titles;
        std::istringstream in(ReadFile("out.csv"));
        for (std::string line; std::getline(in, line);) titles.push_back(line.substr(1, line.find('"', 1) - 1));
        return titles;
    }
};

TEST_F(ExportTags, EachOptionShowsItsOwnGroup) {
    EXPECT_FALSE(d().Hidden("?ALLGROUP"));
    EXPECT_TRUE(d().Hidden("?DISCGROUP"));
    d().Press("?EXPORT:FILTER:RADIO2");
    EXPECT_TRUE(d().Hidden("?ALLGROUP"));
    EXPECT_FALSE(d().Hidden("?DISCGROUP"));
    EXPECT_EQ(d().Rows("?LIST"), (std::vector<std::string>{"|A1|SC8101", "|B2|SC8102", "|C3|SC8103"}));
    EXPECT_EQ(d().Text("?DASSHOWTAG"), "Show All");
    d().Press("?EXPORT:FILTER:RADIO3");
    EXPECT_TRUE(d().Hidden("?DISCGROUP"));
    EXPECT_FALSE(d().Hidden("?TRACKGROUP"));
    EXPECT_EQ(d().Rows("?LIST:2"), (std::vector<std::string>{"|A1|1", "|A1|2", "|B2|5", "|B2|6", "|C3|70000"}));
}

TEST_F(ExportTags, TaggedDiscsExportTheirListingsInTitleOrder) {
    d().Press("?EXPORT:FILTER:RADIO2");
    d().Choose("?LIST", 2);
    d().Press("?DASTAG");
    d().DoubleClick("?LIST", 1, 1);
    d().DoubleClick("?LIST", 3, 2);  // not the TAG column: nothing
    EXPECT_EQ(d().Rows("?LIST"), (std::vector<std::string>{"\xBB|A1|SC8101", "\xBB|B2|SC8102", "|C3|SC8103"}));
    // "&Rev tags" over A and B of A, B, C leaves C.
    d().Press("?DASREVTAG");
    EXPECT_EQ(d().Rows("?LIST"), (std::vector<std::string>{"|A1|SC8101", "|B2|SC8102", "\xBB|C3|SC8103"}));
    d().Press("?DASREVTAG");
    EXPECT_EQ(Export(), (std::vector<std::string>{"Alpha", "Bravo", "Charlie", "Zulu"}));
}

TEST_F(ExportTags, TaggedTracksExportOnlyThoseListings) {
    d().Press("?EXPORT:FILTER:RADIO3");
    d().DoubleClick("?LIST:2", 3, 1);
    d().Choose("?LIST:2", 5);
    d().Press("?DASTAG:2");
    EXPECT_EQ(d().Rows("?LIST:2"), (std::vector<std::string>{"|A1|1", "|A1|2", "\xBB|B2|5", "|B2|6", "\xBB|C3|70000"}));
    // The show-tags cycle.
    d().Press("?DASSHOWTAG:2");
    EXPECT_EQ(d().Text("?DASSHOWTAG:2"), "Showing Tagged");
    EXPECT_EQ(d().Rows("?LIST:2"), (std::vector<std::string>{"\xBB|B2|5", "\xBB|C3|70000"}));
    d().Press("?DASSHOWTAG:2");
    EXPECT_EQ(d().Text("?DASSHOWTAG:2"), "Showing UnTagged");
    EXPECT_EQ(d().Rows("?LIST:2").size(), 3u);
    d().Press("?DASSHOWTAG:2");
    EXPECT_EQ(d().Text("?DASSHOWTAG:2"), "Show All");
    EXPECT_EQ(Export(), (std::vector<std::string>{"Bravo", "Delta"}));
}

TEST_F(ExportTags, TagAllUntagAllAndAChangeOfOptionDropTheTags) {
    d().Press("?EXPORT:FILTER:RADIO3");
    d().Press("?DASTAGALL:2");
    EXPECT_EQ(d().Rows("?LIST:2")[4], "\xBB|C3|70000");
    d().Press("?DASUNTAGALL:2");
    EXPECT_EQ(d().Rows("?LIST:2")[0], "|A1|1");
    d().Press("?DASTAGALL:2");
    d().Press("?EXPORT:FILTER:RADIO2");
    d().Press("?DASTAG");
    d().Press("?EXPORT:FILTER:RADIO3");
    d().Press("?EXPORT:FILTER:RADIO2");
    EXPECT_EQ(d().Rows("?LIST")[0], "|A1|SC8101");
    d().AnswerMessage("You must Select and TAG the desired Disc(s)|before proceeding.", fw::Button::Ok);
    d().Press("?OKBUTTON");
    EXPECT_TRUE(d().IsOpen(kExport));
    d().Press("?EXPORT:FILTER:RADIO3");
    d().AnswerMessage("You must Select and TAG the desired Track(s)|before proceeding.", fw::Button::Ok);
    d().Press("?OKBUTTON");
    EXPECT_TRUE(d().IsOpen(kExport));
    d().Press("?CANCELBUTTON");
    EXPECT_FALSE(d().IsOpen(kExport));
}

}  // namespace
}  // namespace exchange_test
