// The full-size label's track list: titles split at 18 characters, the
// spacer lines before a title that would not fit the left column's end,
// the track texts, tracks above 24 and lines beyond 36.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printing/cd_label_tracks.h"

namespace printing {

void PrintTo(const LabelLine& l, std::ostream* os) { *os << "{\"" << l.track << "\", \"" << l.title << "\"}"; }

namespace {

std::vector<LabelTrack> ShortTitles(int from, int to) {
    std::vector<LabelTrack> tracks;
    for (int t = from; t <= to; ++t) tracks.push_back({t, "Song " + std::to_string(t)});
    return tracks;
}

TEST(LabelTrackText, NumberFullStopAndBlankCutToThree) {
    EXPECT_EQ(LabelTrackText(9), "9. ");
    EXPECT_EQ(LabelTrackText(10), "10.");
    EXPECT_EQ(LabelTrackText(24), "24.");
}

TEST(LabelTrackList, TitlesSplitAtTheLastBlankWithinEighteen) {
    struct Case {
        const char* title;
        std::vector<LabelLine> lines;
    };
    const std::string thirty = "Fourteen chars Fifteen chars!!";  // blank at position 15
    const std::string forty = std::string("Ninechars ") + std::string(30, 'x');  // only blank: the 10th
    const Case cases[] = {
        {"Danny Boy", {{"1. ", "Danny Boy"}}},
        {"Exactly eighteen c", {{"1. ", "Exactly eighteen c"}}},
        {"Danny Boy   ", {{"1. ", "Danny Boy"}}},  // trailing blanks are not measured
        {thirty.c_str(), {{"1. ", "Fourteen chars"}, {"", "Fifteen chars!!"}}},
        // No blank: the whole title, then an empty line.
        {"Supercalifragilisticexpi", {{"1. ", "Supercalifragilisticexpi"}, {"", ""}}},
        // A three-line title whose second line has no blank stays at two lines.
        {forty.c_str(), {{"1. ", "Ninechars"}, {"", std::string(30, 'x')}}},
        {"One two three four five six seven eight nine",
         {{"1. ", "One two three"}, {"", "four five six"}, {"", "seven eight nine"}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuildLabelTrackList({{1, c.title}}), c.lines) << c.title;
    }
}

TEST(LabelTrackList, SpacersBeforeATitleThatWouldNotFitTheLeftColumn) {
    const std::string twoLine = "A title of two lines here";         // 25 characters
    const std::string threeLine = "One two three four five six seven eight nine";
    // 17 lines, then a two-line title: one spacer, and it begins the right column.
    std::vector<LabelTrack> tracks = ShortTitles(1, 17);
    tracks.push_back({18, twoLine});
    std::vector<LabelLine> lines = BuildLabelTrackList(tracks);
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[17], LabelLine{});
    EXPECT_EQ(lines[18], (LabelLine{"18.", "A title of two"}));
    // A one-line title simply takes line 18.
    tracks.back() = {18, "Short"};
    lines = BuildLabelTrackList(tracks);
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[17], (LabelLine{"18.", "Short"}));
    // 16 lines, then a three-line title: two spacers.
    tracks = ShortTitles(1, 16);
    tracks.push_back({17, threeLine});
    lines = BuildLabelTrackList(tracks);
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[16], LabelLine{});
    EXPECT_EQ(lines[17], LabelLine{});
    EXPECT_EQ(lines[18].track, "17.");
    // The count is reset only by a spacer: after one, 17 more lines are
    // needed before the rule applies again.
    tracks = ShortTitles(1, 17);
    tracks.push_back({18, twoLine});
    tracks.push_back({19, twoLine});
    lines = BuildLabelTrackList(tracks);
    EXPECT_EQ(lines.size(), 22u);
}

TEST(LabelTrackList, TracksAboveTwentyFourAndLinesBeyondThirtySixNeverPrint) {
    std::vector<LabelLine> lines = BuildLabelTrackList(ShortTitles(1, 30));
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines.back().track, "24.");
    // 24 two-line titles make 48 lines (and a spacer); the rows hold 36.
    std::vector<LabelTrack> tracks;
    for (int t = 1; t <= 24; ++t) tracks.push_back({t, "Title number " + std::to_string(t) + " is long"});
    lines = BuildLabelTrackList(tracks);
    EXPECT_GT(lines.size(), 36u);
    std::vector<LabelRow> rows = LabelRows(lines);
    ASSERT_EQ(rows.size(), 18u);
    EXPECT_EQ(rows[17].right, lines[35]);
    for (const LabelRow& row : rows) EXPECT_FALSE(row.filler);
}

TEST(LabelRows, LeftColumnFirstThenRightThenFillers) {
    std::vector<LabelRow> rows = LabelRows(BuildLabelTrackList(ShortTitles(1, 12)));
    ASSERT_EQ(rows.size(), 18u);
    EXPECT_EQ(rows[11].left, (LabelLine{"12.", "Song 12"}));
    EXPECT_EQ(rows[11].right, LabelLine{});
    for (int i = 12; i < 18; ++i) {
        EXPECT_TRUE(rows[i].filler);
        EXPECT_EQ(rows[i].left, (LabelLine{".", ""}));
    }
    rows = LabelRows(BuildLabelTrackList(ShortTitles(1, 24)));
    EXPECT_EQ(rows[0].right, (LabelLine{"19.", "Song 19"}));
    EXPECT_EQ(rows[5].right, (LabelLine{"24.", "Song 24"}));
    EXPECT_EQ(rows[6].right, LabelLine{});
    EXPECT_EQ(rows[17].left, (LabelLine{"18.", "Song 18"}));
    // No tracks at all: 18 fillers.
    rows = LabelRows({});
    for (const LabelRow& row : rows) EXPECT_TRUE(row.filler);
}

}  // namespace
}  // namespace printing
