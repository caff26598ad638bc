#include "printing/line_queue.h"

#include <algorithm>

#include "platform/report/report_fonts.h"
#include "platform/text/numbers.h"
#include "platform/text/strings.h"

namespace printing {

int LinesPerColumn(ReportFamily family, int paperType, int setFonts, int pageBreakOffset) {
    const bool a4 = paperType == 2;
    int base = 0;
    if (family == ReportFamily::TwoColumn) {
        base = a4 ? 55 : 50;
    } else {
        switch (setFonts) {
            case 2: base = a4 ? 62 : 58; break;
            case 3: base = a4 ? 52 : 48; break;
            default: base = a4 ? 72 : 66; break;
        }
    }
    return base + std::clamp(pageBreakOffset, -5, 5);
}

WrapWidths WrapWidthsFor(SongBookLayout layout, int setFonts) {
    switch (layout) {
        case SongBookLayout::ArtistTwoColumn:
            return setFonts == 1 ? WrapWidths{24, 20} : setFonts == 2 ? WrapWidths{20, 14} : WrapWidths{};
        case SongBookLayout::TitleTwoColumn:
            return setFonts == 1 ? WrapWidths{24, 20} : setFonts == 2 ? WrapWidths{20, 16} : WrapWidths{};
        case SongBookLayout::TitleBanded:
        case SongBookLayout::ArtistBanded:
        case SongBookLayout::TitleShortLong:
        case SongBookLayout::ArtistShortLong:
            return setFonts == 1 ? WrapWidths{40, 30} : WrapWidths{30, 20};
        default:
            return {};  // grouped layouts do not wrap
    }
}

bool WrapText(std::string& text, std::size_t width, std::string& remainder) {
    remainder.clear();
    const std::string clipped = fw::CLIP(text);
    if (width == 0 || clipped.size() <= width) return false;
    // The last blank at a position not beyond the width (positions from 1).
    const auto blank = clipped.rfind(' ', width - 1);
    if (blank != std::string::npos) {
        remainder = clipped.substr(blank + 1);
        text = clipped.substr(0, blank);
    }
    return true;
}

namespace {

// Measured in the renderer's text space, with a little room to spare.
constexpr double kFitDpi = fw::report::kTextUnitsPerInch;
constexpr double kFitSafety = 0.015;

std::string TrimLeft(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(s.substr(first));
}

}  // namespace

TextFitter::TextFitter(const fw::report::TextFont& font, bool upperCase, double width)
    : width_(width), upper_(upperCase) {
    const fw::report::DeviceMeasure& m = fw::report::MeasureFor(font, kFitDpi);
    for (int c = 32; c < 256; ++c) {
        std::string ch(1, static_cast<char>(c));
        advance_[static_cast<std::size_t>(c)] = m.Width(upper_ ? fw::UPPER(ch) : ch);
    }
}

double TextFitter::Width(std::string_view text) const {
    double w = 0;
    for (unsigned char c : text) w += advance_[c];
    return w;
}

bool TextFitter::Fits(std::string_view text) const {
    return !Measuring() || Width(text) <= width_ * (1 - kFitSafety) - 2;
}

std::vector<std::string> TextFitter::Pieces(std::string_view text, std::size_t maxChars, std::string_view lead) const {
    std::vector<std::string> out;
    std::string head = fw::CLIP(text), tail;
    const bool charWrapped = WrapText(head, maxChars, tail);
    std::vector<std::string> parts{head};
    if (charWrapped) parts.push_back(tail);  // may be empty: a row of the lead alone
    for (std::size_t p = 0; p < parts.size(); ++p) {
        std::string rest = parts[p];
        do {
            const std::string before = out.empty() ? std::string() : std::string(lead);
            if (Fits(before + rest)) {
                out.push_back(rest);
                break;
            }
            // The longest part up to a blank that fits; a word too wide by
            // itself is broken between its letters.
            std::size_t cut = std::string::npos;
            for (std::size_t b = rest.rfind(' '); b != std::string::npos && b > 0; b = rest.rfind(' ', b - 1)) {
                if (Fits(before + fw::CLIP(rest.substr(0, b)))) {
                    cut = b;
                    break;
                }
            }
            std::string piece;
            if (cut != std::string::npos) {
                piece = fw::CLIP(rest.substr(0, cut));
                rest = TrimLeft(std::string_view(rest).substr(cut + 1));
            } else {
                std::size_t n = 1;
                while (n < rest.size() && Fits(before + rest.substr(0, n + 1))) ++n;
                piece = rest.substr(0, n);
                rest = TrimLeft(std::string_view(rest).substr(n));
            }
            out.push_back(std::move(piece));
        } while (!rest.empty());
    }
    if (out.empty()) out.emplace_back();
    return out;
}

namespace {

const std::string& GroupOf(const SongQueueEntry& e, bool byArtist) { return byArtist ? e.artist : e.title; }

LineRow RowOf(const SongQueueEntry& e) {
    LineRow row;
    row.title = e.title;
    row.artist = e.artist;
    row.diskTrackNo = e.diskTrackNo;
    row.unqDiskId = e.unqDiskId;
    row.makeId = e.makeId;
    return row;
}

class Builder {
public:
    Builder(std::vector<LineRow>& rows, int lines) : rows_(rows), lines_(std::max(lines, 2)) {}

    void Add(LineRow row) {
        row.index = static_cast<std::int32_t>(rows_.size() + 1);
        rows_.push_back(std::move(row));
    }

    std::vector<LineRow>& rows_;
    const int lines_;
};

const std::string& Piece(const std::vector<std::string>& pieces, std::size_t i) {
    static const std::string kNone;
    return i < pieces.size() ? pieces[i] : kNone;
}

void BuildGrouped(const std::vector<SongQueueEntry>& queue, bool byArtist, const RowFit& fit, Builder& b) {
    const char heading = byArtist ? 'A' : 'T';
    const char entryKind = byArtist ? 'T' : 'A';
    const int L = b.lines_;
    const TextFitter& entryFit = byArtist ? fit.title : fit.artist;
    int n = 0;  // lines used in the current column or page
    const SongQueueEntry* previous = nullptr;
    for (const SongQueueEntry& e : queue) {
        const bool lastWasEntry = !b.rows_.empty() && b.rows_.back().field == entryKind;
        const std::vector<std::string> entryPieces = entryFit.Pieces(byArtist ? e.title : e.artist, 0, "");
        const std::vector<std::string> songPieces =
            fit.songNo.Pieces(fit.songNumber ? fit.songNumber(e) : std::string(), 0, "");
        const int entryRows = static_cast<int>(std::max(entryPieces.size(), songPieces.size()));
        auto fill = [&](bool rule) {
            for (int line = n + 1; line <= L; ++line) {
                LineRow row = RowOf(e);
                row.field = 'X';
                row.line = static_cast<std::int16_t>(line);
                row.quiet = !rule || line > n + 1;
                b.Add(std::move(row));
            }
            n = 0;
        };
        auto headingRows = [&](const std::vector<std::string>& pieces) {
            for (std::size_t i = 0; i < pieces.size(); ++i) {
                LineRow row = RowOf(e);
                row.field = heading;
                row.wrapped = i > 0;
                row.line = static_cast<std::int16_t>(++n);
                (byArtist ? row.artist : row.title) = pieces[i];
                b.Add(std::move(row));
            }
        };
        auto entryRowsOf = [&] {
            for (int i = 0; i < entryRows; ++i) {
                LineRow row = RowOf(e);
                row.field = entryKind;
                row.wrapped = i > 0;
                row.line = static_cast<std::int16_t>(++n);
                (byArtist ? row.title : row.artist) = Piece(entryPieces, static_cast<std::size_t>(i));
                row.songNo = Piece(songPieces, static_cast<std::size_t>(i));
                b.Add(std::move(row));
            }
        };
        if (previous && GroupOf(*previous, byArtist) == GroupOf(e, byArtist)) {
            if (n + entryRows <= L) {
                entryRowsOf();
            } else {
                // The group goes on at the top of the next column or page.
                if (n < L) fill(false);
                n = 0;
                if (lastWasEntry)
                    headingRows(fit.heading.Pieces(fw::CLIP(GroupOf(e, byArtist)) + " (cont.)", 0, ""));
                entryRowsOf();
            }
        } else {
            const std::vector<std::string> names = fit.heading.Pieces(GroupOf(e, byArtist), 0, "");
            // A heading never ends a column: it goes with its first entry.
            if (n + static_cast<int>(names.size()) + entryRows > L) {
                if (n < L) fill(true);
                n = 0;
            }
            headingRows(names);
            entryRowsOf();
        }
        previous = &e;
    }
}

void BuildFlat(const std::vector<SongQueueEntry>& queue, const LayoutTraits& traits, const RowFit& fit, Builder& b) {
    const bool byArtist = traits.sort == ReportSort::Artist;
    const bool singleColumn = traits.family == ReportFamily::SingleColumn;
    const int L = b.lines_;
    int n = 0;  // line of the last row placed in the current column or page
    int groupCount = 0;
    const SongQueueEntry* previous = nullptr;
    auto next = [&] { n = n >= L ? 1 : n + 1; };
    for (const SongQueueEntry& e : queue) {
        groupCount = previous && GroupOf(*previous, byArtist) == GroupOf(e, byArtist) ? groupCount + 1 : 1;
        const bool top = singleColumn && n == L;
        std::vector<std::string> titles = fit.title.Pieces(e.title, fit.chars.title, "  ");
        std::vector<std::string> artists = fit.artist.Pieces(e.artist, fit.chars.artist, "  ");
        const std::vector<std::string> songs =
            fit.songNo.Pieces(fit.songNumber ? fit.songNumber(e) : std::string(), 0, "");
        std::vector<std::string>& names = byArtist ? artists : titles;
        const std::vector<std::string>& entries = byArtist ? titles : artists;
        const std::size_t entryRows = std::max(entries.size(), songs.size());
        const int used = n >= L ? 0 : n;
        // The entry's rows go together: when they would cross the column's
        // end, blank fillers take the rest of it.
        const bool filler = used > 0 && used + static_cast<int>(std::max(entryRows, names.size())) > L;
        const int firstLine = filler ? 1 : used + 1;
        // The group name prints where a group or a column begins (and on
        // every row of the banded layouts); elsewhere its rest needs no row.
        const bool continues = !singleColumn && !traits.banded && firstLine == 1 && groupCount > 1;
        if (continues) names = fit.heading.Pieces(fw::CLIP(GroupOf(e, byArtist)) + " (cont.)", 0, "  ");
        const bool nameShown = traits.banded || groupCount == 1 || firstLine == 1;
        const std::size_t rows = std::max(entryRows, nameShown ? names.size() : std::size_t{1});
        if (filler) {
            for (int line = used + 1; line <= L; ++line) {
                LineRow row;
                row.lineBreak = true;
                row.quiet = line > used + 1;
                row.top = top;
                row.fullGroup = GroupOf(e, byArtist);
                row.line = static_cast<std::int16_t>(groupCount);
                next();
                b.Add(std::move(row));
            }
        }
        LineRow first = RowOf(e);
        first.fullGroup = GroupOf(e, byArtist);
        first.line = static_cast<std::int16_t>(groupCount);
        first.top = top;
        first.continues = continues;
        first.title = titles[0];
        first.artist = artists[0];
        first.songNo = songs[0];
        next();
        b.Add(first);
        // A wrapped entry takes two lines of its group's count, whether or not
        // its rest needs a row here.
        if (titles.size() > 1 || artists.size() > 1 || songs.size() > 1) ++groupCount;
        if (rows == 1) {
            previous = &e;
            continue;
        }
        for (std::size_t i = 1; i < rows; ++i) {
            LineRow cont;
            cont.wrapped = true;
            cont.top = firstLine < 3;
            cont.line = static_cast<std::int16_t>(groupCount);
            cont.fullGroup = first.fullGroup;
            cont.title = "  " + Piece(titles, i);
            cont.artist = "  " + Piece(artists, i);
            cont.songNo = Piece(songs, i);
            next();
            b.Add(std::move(cont));
        }
        previous = &e;
    }
}

}  // namespace

std::vector<LineRow> BuildLineQueue(const std::vector<SongQueueEntry>& queue, SongBookLayout layout, int lines,
                                    WrapWidths widths) {
    RowFit fit;
    fit.chars = widths;
    return BuildLineQueue(queue, layout, lines, fit);
}

std::vector<LineRow> BuildLineQueue(const std::vector<SongQueueEntry>& queue, SongBookLayout layout, int lines,
                                    const RowFit& fit) {
    std::vector<LineRow> rows;
    rows.reserve(queue.size() + queue.size() / 8);
    Builder b(rows, lines);
    const LayoutTraits traits = TraitsOf(layout);
    if (traits.grouped)
        BuildGrouped(queue, traits.sort == ReportSort::Artist, fit, b);
    else
        BuildFlat(queue, traits, fit, b);
    return rows;
}

std::string SongNumberText(std::string_view unqDiskId, std::string_view trackText, std::string_view altDiskId,
                           bool banded) {
    const std::string track = fw::CLIP(trackText);
    if (fw::CLIP(unqDiskId) == "*") return banded ? fw::NumberText(fw::NumericValue(track)) : track;
    if (fw::NumericValue(track) == 0) return fw::CLIP(altDiskId);
    return fw::CLIP(altDiskId) + "-" + track;
}

}  // namespace printing
