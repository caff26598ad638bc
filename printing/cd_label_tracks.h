#pragma once
// The track list of one full-size CD label: the disc's titles split into
// lines of at most 18 characters, laid out in two columns of 18 lines.
//
//   std::vector<LabelLine> lines = BuildLabelTrackList({{1, "Danny Boy"}, {2, "Yesterday"}});
//   std::vector<LabelRow> rows = LabelRows(lines);   // always 18 rows
//
// Only tracks 1 to 24 are looked up, and only the first 36 lines print.

#include <string>
#include <vector>

namespace printing {

inline constexpr int kLabelColumnLines = 18;  // lines a column; also the title width in characters
inline constexpr int kLabelLastTrack = 24;    // higher track numbers never print
inline constexpr int kLabelLines = 2 * kLabelColumnLines;

struct LabelTrack {
    int track = 0;
    std::string title;
};

// One line of the list: a title's line with the track text on its first
// line ("9. ", "24."), or a continuation or spacer line (blank track text).
struct LabelLine {
    std::string track;
    std::string title;
    bool operator==(const LabelLine&) const = default;
};

// One detail row of the label: the left column's line and the right
// column's (i + 18), or a filler row that completes the 18.
struct LabelRow {
    LabelLine left;
    LabelLine right;
    bool filler = false;
    bool operator==(const LabelRow&) const = default;
};

// "9. ", "10.": the track number, a full stop and a blank, cut to 3.
std::string LabelTrackText(int track);
// The list for the disc's tracks, in track order.
std::vector<LabelLine> BuildLabelTrackList(const std::vector<LabelTrack>& tracks);
// The 18 rows of a label from the list.
std::vector<LabelRow> LabelRows(const std::vector<LabelLine>& lines);

}  // namespace printing
