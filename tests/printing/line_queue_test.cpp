// The line queue: lines per column, wrapping, grouped headings with fillers
// and " (cont.)" headings, and the flat rows of wrapped entries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printing/line_queue.h"

namespace printing {
namespace {

TEST(LineQueue, LinesPerColumnByPaperFontAndOffset) {
    struct Case {
        ReportFamily family;
        int paper, fonts, offset, lines;
    } cases[] = {
        {ReportFamily::TwoColumn, 1, 1, 0, 50}, {ReportFamily::TwoColumn, 2, 2, 0, 55},
        {ReportFamily::TwoColumn, 1, 2, -5, 45}, {ReportFamily::SingleColumn, 1, 1, 0, 66},
        {ReportFamily::SingleColumn, 2, 1, 0, 72}, {ReportFamily::SingleColumn, 1, 2, 0, 58},
        {ReportFamily::SingleColumn, 2, 2, 0, 62}, {ReportFamily::SingleColumn, 1, 3, 0, 48},
        {ReportFamily::SingleColumn, 2, 3, 5, 57},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LinesPerColumn(c.family, c.paper, c.fonts, c.offset), c.lines) << c.paper << " " << c.fonts;
}

TEST(LineQueue, WrapWidthsAndTheSplitAtTheLastBlankInReach) {
    EXPECT_EQ(WrapWidthsFor(SongBookLayout::ArtistTwoColumn, 2).artist, 14u);
    EXPECT_EQ(WrapWidthsFor(SongBookLayout::TitleTwoColumn, 2).artist, 16u);
    EXPECT_EQ(WrapWidthsFor(SongBookLayout::TitleTwoColumn, 3).title, 0u);
    EXPECT_EQ(WrapWidthsFor(SongBookLayout::ArtistShortLong, 1).title, 40u);
    EXPECT_EQ(WrapWidthsFor(SongBookLayout::TitleBanded, 3).artist, 20u);
    EXPECT_EQ(WrapWidthsFor(SongBookLayout::ArtistGrouped, 1).title, 0u);
    struct Case {
        const char* text;
        std::size_t width;
        bool wrapped;
        const char *kept, *rest;
    } cases[] = {
        {"Short", 10, false, "Short", ""},
        {"Exactly ten", 11, false, "Exactly ten", ""},
        {"Bridge Over Troubled Water", 20, true, "Bridge Over", "Troubled Water"},
        {"Bridge Over Troubled Water", 12, true, "Bridge Over", "Troubled Water"},  // blank at the width itself
        {"Supercalifragilistic Day", 10, true, "Supercalifragilistic Day", ""},      // no blank in reach
    };
    for (const Case& c : cases) {
        std::string text = c.text, rest;
        EXPECT_EQ(WrapText(text, c.width, rest), c.wrapped) << c.text;
        EXPECT_EQ(text, c.kept) << c.text;
        EXPECT_EQ(rest, c.rest) << c.text;
    }
}

SongQueueEntry Entry(std::string artist, std::string title) {
    SongQueueEntry e;
    e.artist = std::move(artist);
    e.title = std::move(title);
    e.diskTrackNo = "01";
    e.unqDiskId = "SC1";
    e.makeId = "SC";
    return e;
}

// One row a line: kind, line, then the texts.
std::vector<std::string> Dump(const std::vector<LineRow>& rows, bool grouped) {
    std::vector<std::string> out;
    for (const LineRow& r : rows) {
        std::string s = grouped ? std::string(1, r.field) : std::string(r.lineBreak ? "F" : r.wrapped ? "W" : "R");
        s += std::to_string(r.line);
        if (!grouped && r.top) s += "^";
        if (!r.lineBreak) s += " " + r.artist + "|" + r.title;
        out.push_back(s);
    }
    return out;
}

TEST(LineQueue, GroupedHeadingsNeverTakeTheLastLineAndOverflowContinues) {
    std::vector<SongQueueEntry> queue = {
        Entry("Abba", "Angel"),  Entry("Abba", "Dance"),  Entry("Cher", "Believe"), Entry("Doors", "Light"),
        Entry("Doors", "Riders"), Entry("Doors", "Touch"), Entry("Doors", "Wait"),   Entry("Doors", "Zoo"),
        Entry("Eagles", "Hotel"), Entry("Fleetwood", "Dreams")};
    EXPECT_EQ(Dump(BuildLineQueue(queue, SongBookLayout::ArtistGrouped, 5, WrapWidths{}), true),
              (std::vector<std::string>{
                  "A1 Abba|Angel", "T2 Abba|Angel", "T3 Abba|Dance", "A4 Cher|Believe", "T5 Cher|Believe",
                  "A1 Doors|Light", "T2 Doors|Light", "T3 Doors|Riders", "T4 Doors|Touch", "T5 Doors|Wait",
                  "A1 Doors (cont.)|Zoo", "T2 Doors|Zoo",  // the group goes on at the top of the next column
                  "A3 Eagles|Hotel", "T4 Eagles|Hotel",
                  "X5 Fleetwood|Dreams",  // a heading never takes the last line
                  "A1 Fleetwood|Dreams", "T2 Fleetwood|Dreams"}));
    // A title report groups by title: its headings are title rows.
    const auto byTitle = BuildLineQueue({Entry("Zed", "Angel"), Entry("Amy", "Angel")},
                                        SongBookLayout::TitleTwoColumnGrouped, 50, WrapWidths{});
    EXPECT_EQ(Dump(byTitle, true), (std::vector<std::string>{"T1 Zed|Angel", "A2 Zed|Angel", "A3 Amy|Angel"}));
    for (std::size_t i = 0; i < byTitle.size(); ++i) EXPECT_EQ(byTitle[i].index, static_cast<int>(i + 1));
}

TEST(LineQueue, FlatWrappedEntriesStayTogetherAndOnlyBlankGroupRestsAreLeftOut) {
    std::vector<SongQueueEntry> queue = {
        Entry("Abba", "Angel"),       Entry("Abba", "Dancing Queen Tonight"),
        Entry("Bread", "Make It With You"), Entry("Bread", "If"),
        Entry("Bread Makers Guild", "Yes"), Entry("Bread Makers Guild", "Zoo")};
    const std::vector<std::string> twoColumn = {
        "R1 Abba|Angel",
        "R2 Abba|Dancing", "W3^   |  Queen Tonight",
        "F1",  // the next entry's two rows would straddle the column end
        "R1 Bread|Make It", "W2^   |  With You",
        "R3 Bread|If",
        "F1",
        "R1 Bread|Yes", "W2^   Makers Guild|  ",
        "R3 Bread|Zoo"};  // its continuation holds only the group name, printed blank there
    EXPECT_EQ(Dump(BuildLineQueue(queue, SongBookLayout::ArtistTwoColumn, 4, WrapWidths{10, 8}), false), twoColumn);
    // The banded layouts print every row's artist, so nothing wrapped is left out.
    const auto banded = BuildLineQueue(queue, SongBookLayout::ArtistBanded, 4, WrapWidths{10, 8});
    ASSERT_FALSE(banded.empty());
    EXPECT_TRUE(banded.back().wrapped);
    EXPECT_EQ(banded.back().artist, "  Makers Guild");
    // In a title report the group name is the title: a later row whose only
    // wrapped text is the title is left out, one whose artist wrapped is kept.
    const auto byTitle = BuildLineQueue({Entry("Amy", "Long Title Words Here"), Entry("Bo", "Long Title Words Here"),
                                         Entry("Cyndi Lauper Band", "Long Title Words Here")},
                                        SongBookLayout::TitleTwoColumn, 50, WrapWidths{10, 8});
    EXPECT_EQ(Dump(byTitle, false), (std::vector<std::string>{"R1 Amy|Long", "W2^   |  Title Words Here", "R3 Bo|Long",
                                                              "R5 Cyndi|Long", "W6   Lauper Band|  Title Words Here"}));
}

// A two-column flat column that begins in the middle of a group says whose
// titles they are.
TEST(LineQueue, TwoColumnFlatColumnsInTheMiddleOfAGroupStartWithItsContinuation) {
    std::vector<SongQueueEntry> queue;
    for (const char* t : {"A", "B", "C", "D", "E", "F"}) queue.push_back(Entry("Abba", t));
    const auto rows = BuildLineQueue(queue, SongBookLayout::ArtistTwoColumn, 4, WrapWidths{});
    ASSERT_EQ(rows.size(), 6u);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(rows[static_cast<std::size_t>(i)].continues) << i;
    EXPECT_TRUE(rows[4].continues);
    EXPECT_EQ(rows[4].artist, "Abba (cont.)");
    EXPECT_FALSE(rows[5].continues);
}

// Measured as the printer draws them, texts too wide for their field break
// at blanks, or between the letters of a word too wide by itself; every
// piece fits after its lead.
TEST(LineQueue, TextsTooWideForTheirFieldBreakIntoPiecesThatFit) {
    const fw::report::TextFont font{"Arial", 10, 700, 0};
    const TextFitter fitter(font, false, 1300);
    struct Case {
        std::string text;
        std::string joiner;
    } cases[] = {{std::string(40, 'W'), ""}, {"Bridge Over Troubled Water Tonight Again", " "}};
    for (const Case& c : cases) {
        const std::vector<std::string> pieces = fitter.Pieces(c.text, 0, "  ");
        ASSERT_GT(pieces.size(), 1u) << c.text;
        std::string joined;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_TRUE(fitter.Fits((i ? "  " : "") + pieces[i])) << pieces[i];
            EXPECT_FALSE(pieces[i].empty());
            joined += (i ? c.joiner : "") + pieces[i];
        }
        EXPECT_EQ(joined, c.text);
    }
    // Upper-cased where the layout prints All Caps.
    const TextFitter caps(font, true, 1300);
    EXPECT_GT(caps.Width("aaa"), fitter.Width("aaa"));
    EXPECT_EQ(caps.Width("aaa"), fitter.Width("AAA"));
}

}  // namespace
}  // namespace printing
