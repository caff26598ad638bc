#include "printing/song_book_report_layouts.h"

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
    {Field::Artist, 30, 1200}, {Field::Title, 1250, 1350}, {Field::Mfr, 2630, 250}, {Field::SongNo, 2900, 850}};
constexpr FieldColumn kTitleTwoColumn[] = {
    {Field::Title, 30, 1300}, {Field::Artist, 1350, 1250}, {Field::Mfr, 2630, 250}, {Field::SongNo, 2900, 850}};
constexpr FieldColumn kArtistTwoColumnGrouped[] = {
    {Field::Artist, 30, 2570}, {Field::Title, 430, 2170}, {Field::Mfr, 2630, 250}, {Field::SongNo, 2900, 850}};
constexpr FieldColumn kTitleTwoColumnGrouped[] = {
    {Field::Title, 30, 2570}, {Field::Artist, 430, 2170}, {Field::Mfr, 2630, 250}, {Field::SongNo, 2900, 850}};

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

constexpr int kColumnWidth = 3750;     // each column of the two-column layouts
constexpr int kRightColumnX = 4125;    // where the right column starts
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

SongBookGeometry GeometryFor(ReportFamily family, int paperType) {
    const bool twoColumns = family == ReportFamily::TwoColumn;
    SongBookGeometry g;
    if (paperType == 2) {
        g.x = twoColumns ? 125 : 650;
        g.width = twoColumns ? 7875 : 7600;
        g.detailHeight = 9750;
        g.footerY = 10750;
    } else {
        g.x = twoColumns ? 312 : 450;
        g.width = twoColumns ? 7875 : 7600;
        g.detailHeight = 9300;
        g.footerY = 10400;
    }
    g.headerY = 250;
    g.detailY = 950;
    return g;
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

std::size_t ArtistFieldChars(SongBookLayout layout) {
    switch (layout) {
        case SongBookLayout::ArtistBanded: return 25;
        case SongBookLayout::TitleShortLong:
        case SongBookLayout::ArtistShortLong:
        case SongBookLayout::TitleGrouped:
        case SongBookLayout::ArtistGrouped: return 30;
        default: return 40;
    }
}

fw::report::ReportDefinition SongBookDefinition(SongBookLayout layout, int paperType, int rowHeight) {
    const LayoutTraits traits = TraitsOf(layout);
    const bool twoColumns = traits.family == ReportFamily::TwoColumn;
    const SongBookGeometry g = GeometryFor(traits.family, paperType);
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
    const int columnWidth = twoColumns ? kColumnWidth : g.width;
    for (int c = 1; c <= columns; ++c) {
        const int cx = c == 1 ? 0 : kRightColumnX;
        Element bar;
        bar.name = twoColumns ? "COLUMNBAR" + std::to_string(c) : "COLUMNBAR";
        bar.kind = ElementKind::Box;
        bar.rect = {cx, 380, columnWidth, 230};
        bar.fill = fw::report::kBlack;
        add("HEADER", bar);
        int heading = 0;
        const std::string s = twoColumns && c == 2 ? ":2" : "";
        for (const FieldColumn& f : ColumnsOf(layout)) {
            Element text = TextAt(f.field == Field::Mfr ? "MAKEPROMPT" + s : "HEADING" + std::to_string(++heading) + s,
                                  cx + f.x, 405, f.w, 190, 9, 700);
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
        const int cx = c == 2 ? kRightColumnX : 0;
        const ColumnNames names = ColumnNamesFor(c);
        if (!traits.banded) {
            // The rule sits at the top of the row, between it and the row
            // above: the underscores (drawn near the foot of their font's
            // height) 25 above the row.
            const int ruleSize = twoColumns ? 6 : 8;
            const int ruleHeight = ruleSize * 1000 / 72;
            Element rule = TextAt(names.rule, cx, -25 - ruleHeight, columnWidth, ruleHeight + ruleHeight / 4, ruleSize);
            add("DETAIL", rule);
        }
        for (const FieldColumn& f : ColumnsOf(layout)) {
            const std::string& name = f.field == Field::Title ? names.title : f.field == Field::Artist ? names.artist
                                      : f.field == Field::Mfr ? names.mfr : names.songNo;
            add("DETAIL", TextAt(name, cx + f.x, 0, f.w, textHeight, 10));
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
