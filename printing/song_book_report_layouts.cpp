#include "printing/song_book_report_layouts.h"

#include <algorithm>
#include <span>
#include <vector>

namespace printing {
namespace {

using fw::report::Align;
using fw::report::BandRole;
using fw::report::BandRow;
using fw::report::Element;
using fw::report::ElementKind;
using fw::report::ElementRow;

enum class Field { Title, Artist, Mfr, SongNo };

// One detail field of a column: what it shows, where it starts and how
// wide it is (relative to the column).
struct FieldColumn {
    Field field;
    int x, w;
};

// Left to right: the banded and formatted layouts put the group name
// first; the grouped ones start the group name at the column's edge and
// indent the entry text under it (700 in one column, 400 in two).
constexpr FieldColumn kArtistBanded[] = {
    {Field::Artist, 50, 2500}, {Field::Title, 2600, 3400}, {Field::Mfr, 6050, 400}, {Field::SongNo, 6450, 1150}};
constexpr FieldColumn kTitleBanded[] = {
    {Field::Title, 50, 3450}, {Field::Artist, 3550, 2450}, {Field::Mfr, 6050, 400}, {Field::SongNo, 6450, 1150}};
constexpr FieldColumn kArtistShortLong[] = {
    {Field::Artist, 50, 2600}, {Field::Title, 2700, 3300}, {Field::Mfr, 6050, 400}, {Field::SongNo, 6450, 1150}};
constexpr FieldColumn kTitleShortLong[] = {
    {Field::Title, 50, 2600}, {Field::Artist, 2700, 3300}, {Field::Mfr, 6050, 400}, {Field::SongNo, 6450, 1150}};
constexpr FieldColumn kArtistGrouped[] = {
    {Field::Artist, 50, 5950}, {Field::Title, 750, 5250}, {Field::Mfr, 6050, 400}, {Field::SongNo, 6450, 1150}};
constexpr FieldColumn kTitleGrouped[] = {
    {Field::Title, 50, 5950}, {Field::Artist, 750, 5250}, {Field::Mfr, 6050, 400}, {Field::SongNo, 6450, 1150}};
constexpr FieldColumn kArtistTwoColumn[] = {
    {Field::Artist, 30, 1170}, {Field::Title, 1230, 1310}, {Field::Mfr, 2570, 290}, {Field::SongNo, 2880, 870}};
constexpr FieldColumn kTitleTwoColumn[] = {
    {Field::Title, 30, 1270}, {Field::Artist, 1330, 1210}, {Field::Mfr, 2570, 290}, {Field::SongNo, 2880, 870}};
constexpr FieldColumn kArtistTwoColumnGrouped[] = {
    {Field::Artist, 30, 2510}, {Field::Title, 430, 2110}, {Field::Mfr, 2570, 290}, {Field::SongNo, 2880, 870}};
constexpr FieldColumn kTitleTwoColumnGrouped[] = {
    {Field::Title, 30, 2510}, {Field::Artist, 430, 2110}, {Field::Mfr, 2570, 290}, {Field::SongNo, 2880, 870}};

std::span<const FieldColumn> ColumnsOf(SongBookLayout layout) {
    switch (layout) {
        case SongBookLayout::TitleBanded: return kTitleBanded;
        case SongBookLayout::ArtistBanded: return kArtistBanded;
        case SongBookLayout::TitleShortLong: return kTitleShortLong;
        case SongBookLayout::ArtistShortLong: return kArtistShortLong;
        case SongBookLayout::TitleGrouped: return kTitleGrouped;
        case SongBookLayout::ArtistGrouped: return kArtistGrouped;
        case SongBookLayout::TitleTwoColumn: return kTitleTwoColumn;
        case SongBookLayout::ArtistTwoColumn: return kArtistTwoColumn;
        case SongBookLayout::TitleTwoColumnGrouped: return kTitleTwoColumnGrouped;
        case SongBookLayout::ArtistTwoColumnGrouped: return kArtistTwoColumnGrouped;
    }
    return kTitleBanded;
}

constexpr int kColumnWidth = 3750;     // each column of the two-column layouts, on the widest paper
constexpr int kColumnGap = 375;        // between the two columns
constexpr int kPrintableMargin = 250;  // what every printer prints within, each side
constexpr int kHeaderHeight = 650;
constexpr int kFooterHeight = 250;
constexpr fw::report::Color kBandGrey = 0xE1E1E1;  // red, green and blue 225

std::string Rule(int blanks, int underscores) { return std::string(blanks, ' ') + std::string(underscores, '_'); }

Element TextAt(std::string name, int x, int y, int w, int h, int size, int style = 400) {
    Element e;
    e.name = std::move(name);
    e.rect = {x, y, w, h};
    e.font.size = size;
    e.font.style = style;
    return e;
}

std::string Suffix(int column) { return column == 0 ? "" : ":" + std::to_string(column); }

}  // namespace

SongBookGeometry GeometryFor(ReportFamily family, int paperType, int bindingOffset) {
    const bool twoColumns = family == ReportFamily::TwoColumn;
    const bool a4 = paperType == 2;
    const int sheet = a4 ? 8268 : 8500;
    const int offset = std::clamp(bindingOffset, 0, 500);
    SongBookGeometry g;
    // Rules are drawn on the edges of the bands: a little room for their width.
    g.width = std::min(twoColumns ? 2 * kColumnWidth + kColumnGap : 7600,
                       sheet - 2 * kPrintableMargin - 2 * offset - 20);
    g.x = (sheet - g.width) / 2;
    g.columnWidth = twoColumns ? (g.width - kColumnGap) / 2 : g.width;
    g.rightColumnX = twoColumns ? g.width - g.columnWidth : 0;
    g.headerY = 250;
    g.detailY = 950;
    g.detailHeight = a4 ? 9750 : 9300;
    g.footerY = a4 ? 10750 : 10400;
    return g;
}

ColumnPlaces ColumnPlacesFor(SongBookLayout layout, const SongBookGeometry& g) {
    const bool twoColumns = TraitsOf(layout).family == ReportFamily::TwoColumn;
    const int base = twoColumns ? kColumnWidth : 7600;
    const int narrower = base - g.columnWidth;
    // The Mfr. and "Song #" fields keep their widths at the column's end;
    // the texts before them share what is left.
    int textsEnd = base;
    for (const FieldColumn& f : ColumnsOf(layout))
        if (f.field == Field::Mfr) textsEnd = f.x;
    const double scale = static_cast<double>(textsEnd - narrower) / textsEnd;
    ColumnPlaces p;
    for (const FieldColumn& f : ColumnsOf(layout)) {
        FieldPlace place;
        if (f.field == Field::Mfr || f.field == Field::SongNo) {
            place = {f.x - narrower, f.w};
        } else {
            const int x = static_cast<int>(f.x * scale), end = static_cast<int>((f.x + f.w) * scale);
            place = {x, end - x};
        }
        (f.field == Field::Title ? p.title : f.field == Field::Artist ? p.artist : f.field == Field::Mfr ? p.mfr
                                                                                                      : p.songNo) = place;
    }
    return p;
}

const RuleTexts& RulesOf(SongBookLayout layout) {
    static const RuleTexts kTwoColumnGrouped{Rule(0, 100), Rule(33, 70)};
    static const RuleTexts kArtistTwoColumn{Rule(0, 90), Rule(35, 57)};
    static const RuleTexts kTitleTwoColumn{Rule(0, 100), Rule(73, 50)};
    static const RuleTexts kGrouped{Rule(0, 255), Rule(20, 235)};  // 243 underscores cut to the field's 255
    static const RuleTexts kArtistShortLong{Rule(0, 255), Rule(70, 164)};
    static const RuleTexts kTitleShortLong{Rule(0, 255), Rule(100, 155)};  // 163 cut to 255
    static const RuleTexts kNone{};
    switch (layout) {
        case SongBookLayout::TitleTwoColumnGrouped:
        case SongBookLayout::ArtistTwoColumnGrouped: return kTwoColumnGrouped;
        case SongBookLayout::ArtistTwoColumn: return kArtistTwoColumn;
        case SongBookLayout::TitleTwoColumn: return kTitleTwoColumn;
        case SongBookLayout::TitleGrouped:
        case SongBookLayout::ArtistGrouped: return kGrouped;
        case SongBookLayout::ArtistShortLong: return kArtistShortLong;
        case SongBookLayout::TitleShortLong: return kTitleShortLong;
        default: return kNone;  // the banded layouts shade instead
    }
}

ColumnNames ColumnNamesFor(int column) {
    const std::string s = Suffix(column);
    if (column == 0) return {"LINE", "SBK:Title", "SBK:Artist", "MFR", "SONGNO"};
    return {"LINE" + s, "TITLE" + s, "ARTIST" + s, "MFR" + s, "SONGNO" + s};
}

fw::report::ReportDefinition SongBookDefinition(SongBookLayout layout, int paperType, int rowHeight,
                                                const SongBookGeometry& g) {
    const LayoutTraits traits = TraitsOf(layout);
    const bool twoColumns = traits.family == ReportFamily::TwoColumn;
    const ColumnPlaces places = ColumnPlacesFor(layout, g);
    auto placeOf = [&places](Field f) {
        return f == Field::Title ? places.title : f == Field::Artist ? places.artist : f == Field::Mfr ? places.mfr
                                                                                                      : places.songNo;
    };
    const BandRow bands[] = {{"HEADER", BandRole::Header, g.x, g.headerY, kHeaderHeight},
                             {"DETAIL", BandRole::Detail, 0, 0, rowHeight},
                             {"FOOTER", BandRole::Footer, g.x, g.footerY, kFooterHeight}};
    std::vector<ElementRow> elements;
    auto add = [&](std::string_view band, Element e) { elements.push_back({band, std::move(e)}); };

    // Header: the header text over the column bar(s) with their headings.
    Element header = TextAt("REPORTHEADER", 0, 0, g.width, 320, 16, 700);
    header.align = Align::Centre;
    add("HEADER", header);
    const int columns = twoColumns ? 2 : 1;
    const int columnWidth = g.columnWidth;
    for (int c = 1; c <= columns; ++c) {
        const int cx = c == 1 ? 0 : g.rightColumnX;
        Element bar;
        bar.name = twoColumns ? "COLUMNBAR" + std::to_string(c) : "COLUMNBAR";
        bar.kind = ElementKind::Box;
        bar.rect = {cx, 380, columnWidth, 230};
        bar.fill = fw::report::kBlack;
        add("HEADER", bar);
        int heading = 0;
        const std::string s = twoColumns && c == 2 ? ":2" : "";
        for (const FieldColumn& f : ColumnsOf(layout)) {
            const FieldPlace at = placeOf(f.field);
            Element text = TextAt(f.field == Field::Mfr ? "MAKEPROMPT" + s : "HEADING" + std::to_string(++heading) + s,
                                  cx + at.x, 405, at.w, 190, 9, 700);
            text.font.color = fw::report::kWhite;
            text.text = f.field == Field::Title ? "Title" : f.field == Field::Artist ? "Artist"
                        : f.field == Field::SongNo ? "Song #" : "Mfr.";
            add("HEADER", text);
        }
    }

    // Detail: per column the rule (or the band box), then the fields.
    const int textHeight = rowHeight;
    if (traits.banded) {
        Element box;
        box.name = "DETAILBOX";
        box.kind = ElementKind::Box;
        box.rect = {0, 0, g.width, rowHeight};
        box.border = fw::report::kNoColor;
        box.fill = kBandGrey;
        add("DETAIL", box);
    }
    for (int c = twoColumns ? 1 : 0; c <= (twoColumns ? 2 : 0); ++c) {
        const int cx = c == 2 ? g.rightColumnX : 0;
        const ColumnNames names = ColumnNamesFor(c);
        if (!traits.banded) {
            // The rule runs along the top of the row, between it and the
            // row above; the print loop sets where it starts.
            Element rule;
            rule.name = names.rule;
            rule.kind = ElementKind::Line;
            rule.rect = {cx, 0, columnWidth, 0};
            rule.borderWidth = 7;
            add("DETAIL", rule);
        }
        for (const FieldColumn& f : ColumnsOf(layout)) {
            const std::string& name = f.field == Field::Title ? names.title : f.field == Field::Artist ? names.artist
                                      : f.field == Field::Mfr ? names.mfr : names.songNo;
            const FieldPlace at = placeOf(f.field);
            add("DETAIL", TextAt(name, cx + at.x, 0, at.w, textHeight, 10));
        }
    }

    // Footer: by-line, page number and footer text.
    const int third = g.width / 3;
    add("FOOTER", TextAt("STRING12", 0, 0, third + third / 4, kFooterHeight, 7));
    Element page = TextAt("STRING13", third + third / 4, 0, third / 2, kFooterHeight, 8);
    page.source = fw::report::TextSource::PageNumber;
    page.text = "Page: <<<#";
    page.align = Align::Centre;
    add("FOOTER", page);
    Element footer = TextAt("PRINTFOOTER", 7 * third / 4, 0, g.width - 7 * third / 4, kFooterHeight, 8);
    footer.align = Align::Right;
    add("FOOTER", footer);

    fw::report::ReportDefinition def =
        fw::report::BuildDefinition({paperType == 2 ? fw::report::PaperCode::A4 : fw::report::PaperCode::Letter}, bands,
                                    elements);
    def.detailArea = {g.x, g.detailY, g.width, g.detailHeight};
    return def;
}

}  // namespace printing
