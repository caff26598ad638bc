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

bool TextFitter::Fits(std::string_view lead, std::string_view text) const {
    return !Measuring() || Width(lead) + Width(text) <= width_ * (1 - kFitSafety) - 2;
}

std::vector<TextFitter::Range> TextFitter::PieceRanges(std::string_view text, std::size_t maxChars,
                                                       std::string_view lead) const {
    std::vector<Range> out;
    const std::string clipped = fw::CLIP(text);
    const std::string_view all(clipped);
    auto range = [](std::size_t at, std::size_t length) {
        return Range{static_cast<std::uint16_t>(at), static_cast<std::uint16_t>(length)};
    };
    auto skipBlanks = [&all](std::size_t at, std::size_t end) {
        while (at < end && all[at] == ' ') ++at;
        return at;
    };
    auto clipEnd = [&all](std::size_t at, std::size_t end) {
        while (end > at && all[end - 1] == ' ') --end;
        return end;
    };
    // The first piece by characters, as WrapText splits: at the last blank
    // within the width, or the whole text when there is none.
    struct Part {
        std::size_t at, end;
    };
    std::vector<Part> parts;
    if (maxChars > 0 && all.size() > maxChars) {
        const std::size_t blank = all.rfind(' ', maxChars - 1);
        if (blank != std::string_view::npos) {
            parts.push_back({0, clipEnd(0, blank)});
            parts.push_back({blank + 1, all.size()});
        } else {
            parts.push_back({0, all.size()});
            parts.push_back({all.size(), all.size()});  // a row of the lead alone
        }
    } else {
        parts.push_back({0, all.size()});
    }
    for (const Part& part : parts) {
        std::size_t at = part.at;
        const std::size_t end = part.end;
        do {
            const std::string_view before = out.empty() ? std::string_view() : lead;
            if (Fits(before, all.substr(at, end - at))) {
                out.push_back(range(at, end - at));
                break;
            }
            // The longest part up to a blank that fits; a word too wide by
            // itself is broken between its letters.
            std::size_t cut = std::string_view::npos;
            for (std::size_t b = all.rfind(' ', end - 1); b != std::string_view::npos && b > at;
                 b = all.rfind(' ', b - 1)) {
                if (Fits(before, all.substr(at, clipEnd(at, b) - at))) {
                    cut = b;
                    break;
                }
            }
            if (cut != std::string_view::npos) {
                out.push_back(range(at, clipEnd(at, cut) - at));
                at = skipBlanks(cut + 1, end);
            } else {
                std::size_t n = 1;
                while (at + n < end && Fits(before, all.substr(at, n + 1))) ++n;
                out.push_back(range(at, n));
                at = skipBlanks(at + n, end);
            }
        } while (at < end);
    }
    if (out.empty()) out.push_back({});
    return out;
}

std::vector<std::string> TextFitter::Pieces(std::string_view text, std::size_t maxChars, std::string_view lead) const {
    const std::string clipped = fw::CLIP(text);
    std::vector<std::string> out;
    for (const Range& r : PieceRanges(clipped, maxChars, lead)) out.push_back(clipped.substr(r.at, r.length));
    return out;
}

// -- the line queue --

class LineQueueBuilder {
public:
    using Range = TextFitter::Range;
    using Row = LineQueue::Row;

    LineQueueBuilder(LineQueue& q, const LayoutTraits& traits, int lines, const RowFit& fit)
        : q_(q), traits_(traits), fit_(fit), L_(std::max(lines, 2)), byArtist_(traits.sort == ReportSort::Artist) {}

    void Build() {
        q_.byArtist_ = byArtist_;
        q_.flat_ = !traits_.grouped;
        q_.songNumber_ = fit_.songNumber;
        q_.rows_.reserve(q_.queue_.size() + q_.queue_.size() / 8);
        if (traits_.grouped)
            BuildGrouped();
        else
            BuildFlat();
    }

private:
    std::string_view Group(std::size_t e) const { return byArtist_ ? q_.queue_.Artist(e) : q_.queue_.Title(e); }
    std::string_view Other(std::size_t e) const { return byArtist_ ? q_.queue_.Title(e) : q_.queue_.Artist(e); }
    static Range Whole(std::string_view s) { return {0, static_cast<std::uint16_t>(s.size())}; }
    static std::string Composed(std::string_view name) { return fw::CLIP(name) + " (cont.)"; }
    // A "Song #" too wide for its field breaks before its track, so the
    // disc ID stays whole where it fits.
    std::vector<Range> Songs(std::size_t e) const {
        const std::string song =
            fit_.songNumber ? fit_.songNumber(q_.queue_.UnqDiskId(e), q_.queue_.DiskTrackNo(e)) : std::string();
        std::vector<Range> pieces = fit_.songNo.PieceRanges(song, 0, "");
        const std::size_t dash = song.rfind('-');
        if (pieces.size() > 1 && dash != std::string::npos && dash > 0 &&
            fit_.songNo.Fits(std::string_view(song).substr(0, dash)) && fit_.songNo.Fits(std::string_view(song).substr(dash)))
            pieces = {{0, static_cast<std::uint16_t>(dash)}, {static_cast<std::uint16_t>(dash), static_cast<std::uint16_t>(song.size() - dash)}};
        return pieces;
    }
    static Range Piece(const std::vector<Range>& pieces, std::size_t i) { return i < pieces.size() ? pieces[i] : Range{}; }
    void Add(Row row) { q_.rows_.push_back(row); }
    std::uint16_t ComposedFlag() const { return byArtist_ ? LineQueue::kComposedArtist : LineQueue::kComposedTitle; }
    Range& GroupRange(Row& r) const { return byArtist_ ? r.artist : r.title; }
    Range& OtherRange(Row& r) const { return byArtist_ ? r.title : r.artist; }

    void BuildGrouped() {
        const char heading = byArtist_ ? 'A' : 'T';
        const char entryKind = byArtist_ ? 'T' : 'A';
        const TextFitter& entryFit = byArtist_ ? fit_.title : fit_.artist;
        int n = 0;  // lines used in the current column or page
        for (std::size_t e = 0; e < q_.queue_.size(); ++e) {
            const bool lastWasEntry = !q_.rows_.empty() && q_.rows_.back().field == entryKind;
            const std::vector<Range> entryPieces = entryFit.PieceRanges(Other(e), 0, "");
            const std::vector<Range> songPieces = Songs(e);
            const int entryRows = static_cast<int>(std::max(entryPieces.size(), songPieces.size()));
            auto base = [&] {
                Row row;
                row.entry = static_cast<std::uint32_t>(e);
                row.title = Whole(q_.queue_.Title(e));
                row.artist = Whole(q_.queue_.Artist(e));
                return row;
            };
            auto fill = [&](bool rule) {
                for (int line = n + 1; line <= L_; ++line) {
                    Row row = base();
                    row.field = 'X';
                    row.line = static_cast<std::int16_t>(line);
                    if (!rule || line > n + 1) row.flags |= LineQueue::kQuiet;
                    Add(row);
                }
                n = 0;
            };
            auto headingRows = [&](const std::vector<Range>& pieces, bool composed) {
                for (std::size_t i = 0; i < pieces.size(); ++i) {
                    Row row = base();
                    row.field = heading;
                    if (i > 0) row.flags |= LineQueue::kWrapped;
                    if (composed) row.flags |= ComposedFlag();
                    row.line = static_cast<std::int16_t>(++n);
                    GroupRange(row) = pieces[i];
                    Add(row);
                }
            };
            auto entryRowsOf = [&] {
                for (int i = 0; i < entryRows; ++i) {
                    Row row = base();
                    row.field = entryKind;
                    if (i > 0) row.flags |= LineQueue::kWrapped;
                    row.line = static_cast<std::int16_t>(++n);
                    OtherRange(row) = Piece(entryPieces, static_cast<std::size_t>(i));
                    row.song = Piece(songPieces, static_cast<std::size_t>(i));
                    Add(row);
                }
            };
            if (e > 0 && Group(e - 1) == Group(e)) {
                if (n + entryRows <= L_) {
                    entryRowsOf();
                } else {
                    // The group goes on at the top of the next column or page.
                    if (n < L_) fill(false);
                    n = 0;
                    if (lastWasEntry) headingRows(fit_.heading.PieceRanges(Composed(Group(e)), 0, ""), true);
                    entryRowsOf();
                }
            } else {
                const std::vector<Range> names = fit_.heading.PieceRanges(Group(e), 0, "");
                // A heading never ends a column: it goes with its first entry.
                if (n + static_cast<int>(names.size()) + entryRows > L_) {
                    if (n < L_) fill(true);
                    n = 0;
                }
                headingRows(names, false);
                entryRowsOf();
            }
        }
    }

    void BuildFlat() {
        const bool singleColumn = traits_.family == ReportFamily::SingleColumn;
        int n = 0;  // line of the last row placed in the current column or page
        int groupCount = 0;
        auto next = [&] { n = n >= L_ ? 1 : n + 1; };
        for (std::size_t e = 0; e < q_.queue_.size(); ++e) {
            groupCount = e > 0 && Group(e - 1) == Group(e) ? groupCount + 1 : 1;
            const bool top = singleColumn && n == L_;
            std::vector<Range> titles = fit_.title.PieceRanges(q_.queue_.Title(e), fit_.chars.title, "  ");
            std::vector<Range> artists = fit_.artist.PieceRanges(q_.queue_.Artist(e), fit_.chars.artist, "  ");
            const std::vector<Range> songs = Songs(e);
            std::vector<Range>& names = byArtist_ ? artists : titles;
            const std::vector<Range>& entries = byArtist_ ? titles : artists;
            const std::size_t entryRows = std::max(entries.size(), songs.size());
            const int used = n >= L_ ? 0 : n;
            // The entry's rows go together: when they would cross the column's
            // end, blank fillers take the rest of it.
            const bool filler = used > 0 && used + static_cast<int>(std::max(entryRows, names.size())) > L_;
            const int firstLine = filler ? 1 : used + 1;
            // The group name prints where a group or a column begins (and on
            // every row of the banded layouts); elsewhere its rest needs no row.
            const bool continues = !singleColumn && !traits_.banded && firstLine == 1 && groupCount > 1;
            if (continues) names = fit_.heading.PieceRanges(Composed(Group(e)), 0, "  ");
            const bool nameShown = traits_.banded || groupCount == 1 || firstLine == 1;
            const std::size_t rows = std::max(entryRows, nameShown ? names.size() : std::size_t{1});
            const bool wrapped = titles.size() > 1 || artists.size() > 1 || songs.size() > 1;
            if (filler) {
                for (int line = used + 1; line <= L_; ++line) {
                    Row row;
                    row.entry = static_cast<std::uint32_t>(e);
                    row.flags = LineQueue::kLineBreak | LineQueue::kNoTexts | LineQueue::kNoEntryFields;
                    if (line > used + 1) row.flags |= LineQueue::kQuiet;
                    if (top) row.flags |= LineQueue::kTop;
                    row.line = static_cast<std::int16_t>(groupCount);
                    next();
                    Add(row);
                }
            }
            Row first;
            first.entry = static_cast<std::uint32_t>(e);
            first.line = static_cast<std::int16_t>(groupCount);
            if (top) first.flags |= LineQueue::kTop;
            if (continues) first.flags |= LineQueue::kContinues | ComposedFlag();
            first.title = titles[0];
            first.artist = artists[0];
            first.song = songs[0];
            next();
            Add(first);
            // A wrapped entry takes two lines of its group's count, whether or
            // not its rest needs a row here.
            if (wrapped) ++groupCount;
            for (std::size_t i = 1; i < rows; ++i) {
                Row cont;
                cont.entry = static_cast<std::uint32_t>(e);
                cont.flags = LineQueue::kWrapped | LineQueue::kLead | LineQueue::kNoEntryFields;
                if (firstLine < 3) cont.flags |= LineQueue::kTop;
                if (continues) cont.flags |= ComposedFlag();
                cont.line = static_cast<std::int16_t>(groupCount);
                cont.title = Piece(titles, i);
                cont.artist = Piece(artists, i);
                cont.song = Piece(songs, i);
                next();
                Add(cont);
            }
        }
    }

    LineQueue& q_;
    const LayoutTraits traits_;
    const RowFit& fit_;
    const int L_;
    const bool byArtist_;
};

std::string LineQueue::SongNumber(std::size_t entry) const {
    return songNumber_ ? songNumber_(queue_.UnqDiskId(entry), queue_.DiskTrackNo(entry)) : std::string();
}

LineRow LineQueue::At(std::size_t i) const {
    const Row& r = rows_[i];
    LineRow row;
    row.field = r.field;
    row.top = r.flags & kTop;
    row.lineBreak = r.flags & kLineBreak;
    row.wrapped = r.flags & kWrapped;
    row.quiet = r.flags & kQuiet;
    row.continues = r.flags & kContinues;
    row.index = static_cast<std::int32_t>(i + 1);
    row.line = r.line;
    const std::string_view title = queue_.Title(r.entry), artist = queue_.Artist(r.entry);
    if (flat_) row.fullGroup = std::string(byArtist_ ? artist : title);
    if (!(r.flags & kNoTexts)) {
        auto text = [&r](std::string_view source, bool composed, TextFitter::Range piece) {
            std::string joined;
            if (composed) joined = fw::CLIP(source) + " (cont.)";
            const std::string_view from = composed ? std::string_view(joined) : source;
            std::string out;
            if (r.flags & kLead) out = "  ";
            out += from.substr(std::min<std::size_t>(piece.at, from.size()), piece.length);
            return out;
        };
        row.title = text(title, r.flags & kComposedTitle, r.title);
        row.artist = text(artist, r.flags & kComposedArtist, r.artist);
    }
    if (!(r.flags & kNoEntryFields)) {
        row.diskTrackNo = std::string(queue_.DiskTrackNo(r.entry));
        row.unqDiskId = std::string(queue_.UnqDiskId(r.entry));
        row.makeId = std::string(queue_.MakeId(r.entry));
    }
    if (r.song.length > 0) row.songNo = SongNumber(r.entry).substr(r.song.at, r.song.length);
    return row;
}

LineQueue BuildLineQueue(SongQueue queue, SongBookLayout layout, int lines, const RowFit& fit) {
    LineQueue q;
    q.queue_ = std::move(queue);
    LineQueueBuilder(q, TraitsOf(layout), lines, fit).Build();
    return q;
}

std::vector<LineRow> BuildLineQueue(const std::vector<SongQueueEntry>& entries, SongBookLayout layout, int lines,
                                    const RowFit& fit) {
    SongQueue queue;
    for (const SongQueueEntry& e : entries) queue.Add(e);
    const LineQueue q = BuildLineQueue(std::move(queue), layout, lines, fit);
    std::vector<LineRow> rows;
    rows.reserve(q.size());
    for (std::size_t i = 0; i < q.size(); ++i) rows.push_back(q.At(i));
    return rows;
}

std::vector<LineRow> BuildLineQueue(const std::vector<SongQueueEntry>& queue, SongBookLayout layout, int lines,
                                    WrapWidths widths) {
    RowFit fit;
    fit.chars = widths;
    return BuildLineQueue(queue, layout, lines, fit);
}

std::string SongNumberText(std::string_view unqDiskId, std::string_view trackText, std::string_view altDiskId,
                           bool banded) {
    const std::string track = fw::CLIP(trackText);
    if (fw::CLIP(unqDiskId) == "*") return banded ? fw::NumberText(fw::NumericValue(track)) : track;
    if (fw::NumericValue(track) == 0) return fw::CLIP(altDiskId);
    return fw::CLIP(altDiskId) + "-" + track;
}

}  // namespace printing
