#pragma once
// The line queue of a song-book report: the sorted song queue laid out in
// printed rows that already know where columns and pages end. Grouped
// layouts get a heading row per group (and a " (cont.)" heading at the top
// of a column the group overflows into, a filler so that no heading takes
// a column's last line); flat layouts get one row per entry, two when its
// texts are wrapped, with a filler so that the two are never split.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/report/report_types.h"

#include "printing/song_book_layouts.h"
#include "printing/song_queue.h"

namespace printing {

struct LineRow {
    char field = ' ';        // grouped: 'A' artist row, 'T' title row, 'X' filler
    bool top = false;        // flat: treated as lying at the top of a column or page
    bool lineBreak = false;  // flat: blank filler that keeps a wrapped entry together
    bool wrapped = false;    // the continuation row of a text that did not fit one row
    bool quiet = false;      // a further filler of the same gap: no rule
    bool continues = false;  // two columns, flat: the first row of a column in the middle of a group
    std::int32_t index = 0;  // print order from 1
    std::int16_t line = 0;   // grouped: line in its column or page; flat: count within its group
    std::string fullGroup;   // flat: the entry's whole group name
    std::string title, artist;
    std::string diskTrackNo, unqDiskId, makeId;
    std::string songNo;      // this row's part of the "Song #" text
};

// Lines per column (two columns) or per page (one column): the base for
// the paper (1 Letter, 2 A4) and font size (SetFonts 1 to 3) plus the page
// break offset (-5 to 5).
int LinesPerColumn(ReportFamily family, int paperType, int setFonts, int pageBreakOffset);

// Wrap widths in characters; 0 is no wrapping.
struct WrapWidths {
    std::size_t title = 0, artist = 0;
};
WrapWidths WrapWidthsFor(SongBookLayout layout, int setFonts);

// Splits a text longer than width at its last blank within the width: the
// text keeps what comes before the blank, the remainder is returned. A text
// without such a blank stays whole and the remainder is empty. True when
// the text was longer than the width.
bool WrapText(std::string& text, std::size_t width, std::string& remainder);

// Measures a field's texts as the printer draws them (its font at the
// printer's resolution, upper-cased when the layout prints them so) and
// breaks a text too wide for the field into pieces that fit, at its last
// blanks in reach, or between letters where a word alone is too wide.
// A fitter made without a font measures nothing: only the character
// widths break texts.
class TextFitter {
public:
    TextFitter() = default;
    TextFitter(const fw::report::TextFont& font, bool upperCase, double width);
    bool Measuring() const { return width_ > 0; }
    bool Fits(std::string_view text) const { return Fits({}, text); }
    // The text after its lead.
    bool Fits(std::string_view lead, std::string_view text) const;
    double Width(std::string_view text) const;
    // The pieces of a text, the first at most maxChars long when maxChars
    // is not 0 (broken at its last blank within them, as WrapText does);
    // every piece after the first is printed after `lead`.
    std::vector<std::string> Pieces(std::string_view text, std::size_t maxChars, std::string_view lead) const;
    // The same pieces as places in the text (trailing blanks removed).
    struct Range {
        std::uint16_t at = 0, length = 0;
    };
    std::vector<Range> PieceRanges(std::string_view text, std::size_t maxChars, std::string_view lead) const;

private:
    std::array<double, 256> advance_{};
    double width_ = 0;
    bool upper_ = false;
};

// What the line queue fits each row's texts to.
struct RowFit {
    WrapWidths chars;           // the character wrap widths of the flat layouts
    TextFitter title, artist;   // the fields of the row (the grouped layouts: the entry's
    TextFitter heading;         // field, and the heading's field for the group name)
    TextFitter songNo;
    // The "Song #" of an entry; none: the rows carry no "Song #" text.
    std::function<std::string(std::string_view unqDiskId, std::string_view diskTrackNo)> songNumber;
};

// The line queue kept compact, beside the song queue it lays out: a row is
// its entry's number, where its pieces lie in the entry's texts, and its
// flags; At gives the row with its texts.
class LineQueue {
public:
    LineQueue() = default;
    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    LineRow At(std::size_t i) const;

private:
    friend class LineQueueBuilder;
    friend LineQueue BuildLineQueue(SongQueue queue, SongBookLayout layout, int lines, const RowFit& fit);
    enum Flag : std::uint16_t {
        kTop = 1, kLineBreak = 2, kWrapped = 4, kQuiet = 8, kContinues = 16,
        kLead = 32,            // the texts follow two blanks (a flat continuation row)
        kComposedTitle = 64,   // the title piece lies in the title and " (cont.)"
        kComposedArtist = 128, // likewise the artist
        kNoTexts = 256,        // a flat filler: no texts
        kNoEntryFields = 512,  // no track, disc or brand (flat fillers and continuations)
    };
    struct Row {
        std::uint32_t entry = 0;
        TextFitter::Range title, artist, song;
        std::int16_t line = 0;
        std::uint16_t flags = 0;
        char field = ' ';
    };
    std::string SongNumber(std::size_t entry) const;

    SongQueue queue_;
    std::vector<Row> rows_;
    bool byArtist_ = false, flat_ = false;
    std::function<std::string(std::string_view, std::string_view)> songNumber_;
};

// The line queue of a layout with L lines per column or page.
LineQueue BuildLineQueue(SongQueue queue, SongBookLayout layout, int lines, const RowFit& fit);
// The same from entries, each row with its texts (the tests' form).
std::vector<LineRow> BuildLineQueue(const std::vector<SongQueueEntry>& queue, SongBookLayout layout, int lines,
                                    WrapWidths widths);
std::vector<LineRow> BuildLineQueue(const std::vector<SongQueueEntry>& queue, SongBookLayout layout, int lines,
                                    const RowFit& fit);

// The "Song #" of a listing: the track text alone for the discless "*"
// disc (banded layouts drop its leading zero), the custom disc ID alone for
// track 0, else the custom disc ID, "-" and the track text.
std::string SongNumberText(std::string_view unqDiskId, std::string_view trackText, std::string_view altDiskId,
                           bool banded);

}  // namespace printing
