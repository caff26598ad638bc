#include "printing/line_queue.h"

#include <algorithm>

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

void BuildGrouped(const std::vector<SongQueueEntry>& queue, bool byArtist, Builder& b) {
    const char heading = byArtist ? 'A' : 'T';
    const char entryKind = byArtist ? 'T' : 'A';
    const int L = b.lines_;
    int n = 0;
    const SongQueueEntry* previous = nullptr;
    for (const SongQueueEntry& e : queue) {
        const bool lastWasEntry = !b.rows_.empty() && b.rows_.back().field == entryKind;
        auto place = [&](char kind, int line, std::string_view suffix = {}) {
            LineRow row = RowOf(e);
            row.field = kind;
            row.line = static_cast<std::int16_t>(line);
            if (!suffix.empty()) (byArtist ? row.artist : row.title) = fw::CLIP(GroupOf(e, byArtist)) + std::string(suffix);
            b.Add(std::move(row));
        };
        if (previous && GroupOf(*previous, byArtist) == GroupOf(e, byArtist)) {
            ++n;
            if (n <= L) {
                place(entryKind, n);
            } else if (lastWasEntry) {
                place(heading, 1, " (cont.)");
                place(entryKind, 2);
                n = 2;
            } else {
                place(entryKind, 1);
                n = 1;
            }
        } else {
            ++n;
            if (n == L) {
                place('X', L);
                n = 1;
            } else if (n > L) {
                n = 1;
            }
            place(heading, n);
            place(entryKind, n + 1);
            ++n;
        }
        previous = &e;
    }
}

void BuildFlat(const std::vector<SongQueueEntry>& queue, const LayoutTraits& traits, WrapWidths widths, Builder& b) {
    const bool byArtist = traits.sort == ReportSort::Artist;
    const bool singleColumn = traits.family == ReportFamily::SingleColumn;
    // A continuation that only carries the rest of the group name can go
    // where the layout prints the group name blank on it; the banded
    // layouts print every row's name, so they keep it.
    const bool groupNameBlankOnLaterRows = !traits.banded;
    const int L = b.lines_;
    int n = 0;
    int groupCount = 0;
    const SongQueueEntry* previous = nullptr;
    auto next = [&] { n = n >= L ? 1 : n + 1; };
    for (const SongQueueEntry& e : queue) {
        groupCount = previous && GroupOf(*previous, byArtist) == GroupOf(e, byArtist) ? groupCount + 1 : 1;
        const bool top = singleColumn && n == L;
        LineRow first = RowOf(e);
        first.fullGroup = GroupOf(e, byArtist);
        first.line = static_cast<std::int16_t>(groupCount);
        first.top = top;
        std::string titleRest, artistRest;
        const bool titleWrapped = WrapText(first.title, widths.title, titleRest);
        const bool artistWrapped = WrapText(first.artist, widths.artist, artistRest);
        if (!titleWrapped && !artistWrapped) {
            next();
            b.Add(std::move(first));
            previous = &e;
            continue;
        }
        if (n == L - 1) {
            LineRow filler;
            filler.lineBreak = true;
            filler.top = top;
            filler.fullGroup = first.fullGroup;
            filler.line = first.line;
            next();
            b.Add(std::move(filler));
        }
        next();
        const int firstLine = n;
        b.Add(first);
        ++groupCount;
        const std::string& entryRest = byArtist ? titleRest : artistRest;
        const bool onlyGroupNameWrapped = entryRest.empty();
        if (groupNameBlankOnLaterRows && groupCount > 2 && onlyGroupNameWrapped && firstLine > 2) {
            previous = &e;
            continue;
        }
        LineRow cont;
        cont.wrapped = true;
        cont.top = firstLine < 3;
        cont.line = static_cast<std::int16_t>(groupCount);
        cont.fullGroup = first.fullGroup;
        cont.title = "  " + titleRest;
        cont.artist = "  " + artistRest;
        next();
        b.Add(std::move(cont));
        previous = &e;
    }
}

}  // namespace

std::vector<LineRow> BuildLineQueue(const std::vector<SongQueueEntry>& queue, SongBookLayout layout, int lines,
                                    WrapWidths widths) {
    std::vector<LineRow> rows;
    rows.reserve(queue.size() + queue.size() / 8);
    Builder b(rows, lines);
    const LayoutTraits traits = TraitsOf(layout);
    if (traits.grouped)
        BuildGrouped(queue, traits.sort == ReportSort::Artist, b);
    else
        BuildFlat(queue, traits, widths, b);
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
