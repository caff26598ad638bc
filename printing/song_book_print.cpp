#include "printing/song_book_print.h"

#include <algorithm>
#include <cmath>

#include "platform/report/report_fonts.h"

#include "platform/text/clock.h"
#include "platform/text/dates.h"
#include "platform/text/strings.h"

namespace printing {
namespace {

int StyleOf(long bold, long italic) { return (bold ? 700 : 0) + (italic ? fw::report::kItalicStyle : 0); }

void SetFont(fw::report::Element& e, const std::string& face, int style, long color) {
    e.font.face = face;
    e.font.style = style;
    e.font.color = static_cast<fw::report::Color>(color);
}

std::string DiscKey(std::string_view unqDiskId) { return fw::UPPER(fw::CLIP(unqDiskId)); }

}  // namespace

SongQueueRules QueueRulesOf(const PrintSetup& s, SongBookLayout layout) {
    SongQueueRules rules;
    rules.filterGenre = s.FilterGenre == 1;
    rules.printGenre = s.PrintGenre;
    rules.ignoreOmits = s.ignoreomits == 1;
    rules.allCaps = s.CaseStyle == 2 && TraitsOf(layout).family == ReportFamily::TwoColumn;
    rules.firstNameLastName = s.NameFormat == 1;
    rules.removeDuplicates = s.RemoveDuplicates == 1;
    rules.printedUpper = s.CaseStyle == 2 && TraitsOf(layout).family == ReportFamily::SingleColumn;
    rules.removeVocals = s.RemoveVocals == 1;
    return rules;
}

SongBookPrint::SongBookPrint(SongBookLayout layout, const PrintSetup& settings, const unsigned char& plainRows,
                             int lines)
    : layout_(layout),
      traits_(TraitsOf(layout)),
      settings_(settings),
      plainRows_(plainRows),
      loader_(layout, QueueRulesOf(settings, layout)) {
    byArtist_ = traits_.sort == ReportSort::Artist;
    twoColumns_ = traits_.family == ReportFamily::TwoColumn;
    paperType_ = settings.PaperType == 2 ? 2 : 1;
    offsetPages_ = settings.OffsetPages == 1;
    offset_ = offsetPages_ ? std::clamp(static_cast<int>(settings.Offset), 0, 500) : 0;
    geometry_ = GeometryFor(traits_.family, paperType_, offset_);
    lines_ = lines > 0 ? lines
                       : LinesPerColumn(traits_.family, paperType_, static_cast<int>(settings.SetFonts),
                                        static_cast<int>(settings.PAGEBREAKOFFSET));
    // No more rows than the detail area holds at the body font's height,
    // whatever the page-break offset asks: rows never overlap.
    const fw::report::InkMetrics& ink = fw::report::MeasureFor(BodyFont(400), kLayoutDpi).Metrics();
    const int rowHeight = static_cast<int>(std::ceil(ink.Height())) + 1;
    lines_ = std::max(2, std::min(lines_, geometry_.detailHeight / std::max(1, rowHeight)));
}

int SongBookPrint::BodySize() const {
    const PrintSetup& s = settings_;
    return twoColumns_ ? (s.SetFonts == 1 ? 8 : 10) : (s.SetFonts == 1 ? 8 : s.SetFonts == 2 ? 10 : 12);
}

fw::report::TextFont SongBookPrint::BodyFont(int style) const {
    fw::report::TextFont f;
    f.face = settings_.PrintFont;
    f.size = BodySize();
    f.style = style;
    return f;
}

RowFit SongBookPrint::FitOf() const {
    const PrintSetup& s = settings_;
    const ColumnPlaces places = ColumnPlacesFor(layout_, geometry_);
    const bool caps = !twoColumns_ && s.CaseStyle == 2;
    const fw::report::TextFont title = BodyFont(StyleOf(s.TitleBold, s.TitleItalics));
    const fw::report::TextFont artist = BodyFont(StyleOf(s.ArtistBold, s.ArtistItalics));
    RowFit fit;
    if (!traits_.grouped) fit.chars = WrapWidthsFor(layout_, static_cast<int>(s.SetFonts));
    fit.title = TextFitter(title, caps, places.title.w);
    fit.artist = TextFitter(artist, caps, places.artist.w);
    // The group name's field: the whole width from the column's edge in the
    // grouped layouts, its own column in the flat ones.
    const FieldPlace& group = byArtist_ ? places.artist : places.title;
    fit.heading = TextFitter(byArtist_ ? artist : title, caps, group.w);
    fit.songNo = TextFitter(BodyFont(StyleOf(s.DiskTrackBold, s.DiskTrackItalics)), false, places.songNo.w);
    fit.songNumber = [this](std::string_view unq, std::string_view track) { return SongNumberOf(unq, track); };
    return fit;
}

std::string SongBookPrint::SongNumberOf(std::string_view unqDiskId, std::string_view track) const {
    auto disc = altDiskIds_.find(DiscKey(unqDiskId));
    const std::string alt = disc == altDiskIds_.end() ? std::string() : disc->second;
    return SongNumberText(unqDiskId, track, alt, traits_.banded);
}

SongBookPrint::~SongBookPrint() = default;

void SongBookPrint::AddDisc(std::string_view unqDiskId, std::string_view altDiskId) {
    altDiskIds_.emplace(DiscKey(unqDiskId), fw::CLIP(altDiskId));
}

void SongBookPrint::Lay(long records) {
    SongQueue queue = std::move(loader_).SortedQueue();
    progressBase_ = twoColumns_ ? static_cast<long>(queue.size()) : records;
    // The paper saver prints the song queue a row an entry, wrapping
    // nothing by characters; only a text that cannot fit its field at all
    // goes on in a continuation row.
    RowFit fit = FitOf();
    if (!traits_.grouped && settings_.WordWrap != 0) {
        fromSongQueue_ = true;
        fit.chars = {};
    }
    rows_ = BuildLineQueue(std::move(queue), layout_, lines_, fit);
    if (!rows_.empty()) SetUpReport();
}

void SongBookPrint::SetUpReport() {
    const PrintSetup& s = settings_;
    // The line count decides the breaks: L rows to a page, each a pitch of
    // the detail area's height over L.
    const int pitch = geometry_.detailHeight / std::max(1, lines_);
    report_ = std::make_unique<fw::report::Report>(SongBookDefinition(layout_, paperType_, pitch, geometry_));
    fw::report::Report& r = *report_;
    r.SetRowsPerPage(lines_);
    r.SetStartingPageNumber(static_cast<int>(s.StartingPageNumber));

    fw::report::Element& header = r.Element("REPORTHEADER");
    header.text = fw::CLIP(s.ReportHeader);
    SetFont(header, s.HeaderFont, StyleOf(s.HeaderSetBold, s.HeaderSetItalic), s.HeaderColor);
    fw::report::Element& footer = r.Element("PRINTFOOTER");
    footer.text = fw::CLIP(ReportFooterText());
    SetFont(footer, s.FooterFont, StyleOf(s.FooterSetBold, s.FooterSetItalic), s.FooterColor);
    r.Element("STRING12").text =
        s.ShowTM == 1 ? std::string()
                      : "Printed with Cantorvale (c) " + std::to_string(fw::YEAR(fw::TODAY()));

    const int barStyle = StyleOf(s.ColumnBarSetBold, s.ColumnBarSetItalic);
    const int bodySize = BodySize();
    for (fw::report::Band& band : r.Bands()) {
        for (fw::report::Element& e : band.elements) {
            if (e.name.starts_with("COLUMNBAR")) {
                e.fill = static_cast<fw::report::Color>(s.ColumnBarFill);
                e.border = static_cast<fw::report::Color>(s.ColumnBarBorderColor);
            } else if (e.name.starts_with("HEADING") || e.name.starts_with("MAKEPROMPT")) {
                SetFont(e, s.ColumnBarFont, barStyle, s.ColumnBarTextColor);
                if (e.name.starts_with("MAKEPROMPT") && s.ShowMake != 1) e.text.clear();
            } else if (band.name == "DETAIL" && e.kind == fw::report::ElementKind::Text && !e.name.starts_with("LINE")) {
                const bool title = e.name.find("Title") != std::string::npos || e.name.starts_with("TITLE");
                const bool artist = e.name.find("Artist") != std::string::npos || e.name.starts_with("ARTIST");
                const bool mfr = e.name.starts_with("MFR");
                const int style = title    ? StyleOf(s.TitleBold, s.TitleItalics)
                                  : artist ? StyleOf(s.ArtistBold, s.ArtistItalics)
                                  : mfr    ? StyleOf(s.MfrBold, s.MfrItalics)
                                           : StyleOf(s.DiskTrackBold, s.DiskTrackItalics);
                SetFont(e, s.PrintFont, style, s.BodyColor);
                e.font.size = bodySize;
            } else if (band.name == "FOOTER" && traits_.banded) {
                e.font.face = s.PrintFont;
                e.font.size = bodySize;
                e.font.color = static_cast<fw::report::Color>(s.BodyColor);
            }
        }
    }

    // The header's and footer's texts are the user's or fixed: they shrink
    // to fit rather than being cut.
    for (fw::report::Band& band : r.Bands())
        if (band.role != fw::report::BandRole::Detail)
            for (fw::report::Element& e : band.elements) e.shrinkToFit = e.kind == fw::report::ElementKind::Text;
    // The detail fields each row sets, found once.
    places_ = ColumnPlacesFor(layout_, geometry_);
    for (int c = 0; c < (twoColumns_ ? 2 : 1); ++c) {
        const ColumnNames names = ColumnNamesFor(twoColumns_ ? c + 1 : 0);
        elements_[c] = {&r.Element(names.title), &r.Element(names.artist), &r.Element(names.songNo),
                        &r.Element(names.mfr), traits_.banded ? nullptr : &r.Element(names.rule)};
    }
    r.OnPageStart([this](int seq, int number) { OnPageStart(seq, number); });
}

// Before anything is placed on a page: the binding offset by the page's
// parity (odd pages right, even pages left) and the rows the page before took.
void SongBookPrint::OnPageStart(int seq, int number) {
    fw::report::Report& r = *report_;
    if (seq > 1) lastPageRows_ = rowsOnPage_;
    rowsOnPage_ = 0;
    if (offsetPages_) {
        const int x = geometry_.x + (seq % 2 == 1 ? offset_ : -offset_);
        r.Band("HEADER").x = x;
        r.Band("FOOTER").x = x;
        r.DetailArea().x = x;
    }
    if (log_) {
        std::string line = "PAGE " + std::to_string(seq) + " number=" + std::to_string(number) +
                           " x=" + std::to_string(r.DetailArea().x);
        if (twoColumns_) line += r.Element("COLUMNBAR2").hidden ? " COLUMNBAR2=hidden" : " COLUMNBAR2=shown";
        log_(line);
    }
}

int SongBookPrint::Next() {
    if (pointer_ >= rows_.size()) return 33;
    const bool firstOnPage = report_->IsFirstRowOnPage();
    prepared_[0] = Fill(rows_.At(pointer_), columns_[0], firstOnPage);
    if (twoColumns_) {
        const std::size_t right = pointer_ + static_cast<std::size_t>(lines_);
        if (right < rows_.size()) {
            prepared_[1] = Fill(rows_.At(right), columns_[1], firstOnPage);
        } else {
            prepared_[1] = Cell{};
            // The right column has run out: its bar goes from the next page on.
            if (traits_.grouped && !rightRanOut_) {
                rightRanOut_ = true;
                for (const char* name : {"COLUMNBAR2", "HEADING1:2", "HEADING2:2", "HEADING3:2", "MAKEPROMPT:2"})
                    report_->Element(name).hidden = true;
            }
        }
    }
    ++pointer_;
    if (twoColumns_ && ++columnRow_ == lines_) {
        pointer_ += static_cast<std::size_t>(lines_);
        columnRow_ = 0;
    }
    return 0;
}

SongBookPrint::Cell SongBookPrint::Fill(const LineRow& row, ColumnState& column, bool firstOnPage) {
    if (traits_.grouped) return FillGrouped(row);
    if (traits_.banded) return FillBanded(row);
    if (twoColumns_) return FillTwoColumnFlat(row, column);
    return FillShortLong(row, column, firstOnPage);
}

// Song #, Mfr. and the case of the printed texts, as the settings stand now.
void SongBookPrint::FinishCell(Cell& cell, const LineRow& row, bool songNumber) {
    cell.present = true;
    if (songNumber) {
        cell.songNo = row.songNo;
        cell.mfr = !row.wrapped && settings_.ShowMake == 1 ? fw::CLIP(row.makeId) : std::string();
    }
    if (!twoColumns_ && settings_.CaseStyle == 2) {
        // The program's own " (cont.)" stays as it is.
        for (std::string* text : {&cell.title, &cell.artist}) {
            const bool continued = text->ends_with("(cont.)");
            *text = fw::UPPER(*text);
            if (continued) text->replace(text->size() - 7, 7, "(cont.)");
        }
    }
}

// A filler row: blank fields, at most a rule.
SongBookPrint::Cell SongBookPrint::Filler(const LineRow& row, Rule rule) {
    Cell c;
    c.kind = Kind::Filler;
    c.rule = rule;
    FinishCell(c, row, false);
    return c;
}

SongBookPrint::Cell SongBookPrint::FillGrouped(const LineRow& row) {
    if (row.field == 'X') return Filler(row, row.quiet ? Rule::None : Rule::Full);
    Cell c;
    const char heading = byArtist_ ? 'A' : 'T';
    c.kind = row.wrapped ? Kind::Continuation : Kind::Normal;
    if (row.field == heading) {
        c.rule = row.wrapped ? Rule::None : Rule::Full;
        GroupOf(c) = GroupOf(row);
        FinishCell(c, row, false);
    } else {
        c.rule = row.wrapped ? Rule::None : Rule::Indented;
        (byArtist_ ? c.title : c.artist) = byArtist_ ? row.title : row.artist;
        FinishCell(c, row, true);
    }
    return c;
}

SongBookPrint::Cell SongBookPrint::FillBanded(const LineRow& row) {
    Cell c;
    if (row.lineBreak) return Filler(row, Rule::None);
    c.title = row.title;
    c.artist = row.artist;
    c.kind = row.wrapped ? Kind::Continuation : Kind::Normal;
    FinishCell(c, row, true);
    return c;
}

// Each column by itself: the group name only where it changes within the
// column, remembered across pages.
SongBookPrint::Cell SongBookPrint::FillTwoColumnFlat(const LineRow& row, ColumnState& column) {
    Cell c;
    std::string& entry = byArtist_ ? c.title : c.artist;
    const std::string& rowEntry = byArtist_ ? row.title : row.artist;
    if (fromSongQueue_ && !row.lineBreak && !row.wrapped && !row.continues) {
        const std::string name = fw::CLIP(GroupOf(row));
        if (name != column.lastName) {
            GroupOf(c) = GroupOf(row);
            c.rule = Rule::Full;
            column.lastName = name;
            column.nameShown = true;
        } else {
            c.rule = Rule::Indented;
            column.nameShown = false;
        }
        entry = rowEntry;
        FinishCell(c, row, true);
        return c;
    }
    if (row.lineBreak) return Filler(row, row.quiet ? Rule::None : Rule::Full);
    const std::string full = fw::CLIP(row.fullGroup);
    if (row.wrapped) {
        // The rest of the texts; the group name's rest only under its start.
        c.rule = Rule::None;
        if (column.nameShown) GroupOf(c) = GroupOf(row);
    } else if (row.continues) {
        // A column that begins in the middle of a group says whose it is.
        GroupOf(c) = GroupOf(row);
        c.rule = Rule::None;
        column.lastName = full;
        column.nameShown = true;
    } else if (full != column.lastName) {
        GroupOf(c) = GroupOf(row);
        c.rule = Rule::Full;
        column.lastName = full;
        column.nameShown = true;
    } else {
        c.rule = Rule::Indented;
        column.nameShown = false;
    }
    entry = rowEntry;
    c.kind = row.wrapped ? Kind::Continuation : Kind::Normal;
    FinishCell(c, row, true);
    return c;
}

// The group name in a short column beside the entry: printed where the
// group begins and again, without a rule, on the first row of a page.
SongBookPrint::Cell SongBookPrint::FillShortLong(const LineRow& row, ColumnState& column, bool firstOnPage) {
    Cell c;
    std::string& entry = byArtist_ ? c.title : c.artist;
    const std::string& rowEntry = byArtist_ ? row.title : row.artist;
    auto sameAsLast = [&] { return fw::UPPER(fw::CLIP(GroupOf(row))) == fw::UPPER(column.lastName); };
    auto repeatedName = [&] {
        if (firstOnPage) {
            GroupOf(c) = GroupOf(row);
            c.rule = Rule::None;
        } else {
            c.rule = Rule::Indented;
        }
    };
    auto newName = [&] {
        GroupOf(c) = GroupOf(row);
        c.rule = Rule::Full;
        column.lastName = fw::CLIP(GroupOf(row));
    };
    if (fromSongQueue_ && !row.lineBreak && !row.wrapped) {
        sameAsLast() ? repeatedName() : newName();
        column.nameShown = !GroupOf(c).empty();
        entry = rowEntry;
        FinishCell(c, row, true);
        return c;
    }
    if (row.lineBreak) {
        column.afterFiller = true;
        return Filler(row, row.quiet ? Rule::None : Rule::Full);
    }
    const bool fresh = column.afterFiller || (row.top && !row.wrapped);
    column.afterFiller = false;
    if (row.wrapped) {
        c.kind = Kind::Continuation;
        c.rule = Rule::None;
        c.title = row.title;
        c.artist = row.artist;
        if (!column.nameShown) GroupOf(c).clear();
        FinishCell(c, row, true);
        return c;
    }
    if (fresh) {
        newName();
    } else if (row.line == 1) {
        sameAsLast() ? repeatedName() : newName();
    } else if (firstOnPage) {
        repeatedName();
    } else {
        c.rule = Rule::Indented;
    }
    column.nameShown = !GroupOf(c).empty();
    entry = rowEntry;
    FinishCell(c, row, true);
    return c;
}

void SongBookPrint::Apply(const Cell& cell, int column) {
    ColumnElements& e = elements_[column];
    e.title->text = cell.title;
    e.artist->text = cell.artist;
    e.songNo->text = cell.songNo;
    e.mfr->text = cell.mfr;
    if (traits_.banded) return;
    // The full rule spans the column, the indented one starts under the
    // entry text; the rule's text names it in the row log.
    const RuleTexts& rules = RulesOf(layout_);
    fw::report::Element& rule = *e.rule;
    rule.text = cell.rule == Rule::Full ? rules.full : cell.rule == Rule::Indented ? rules.indented : std::string();
    rule.hidden = cell.rule == Rule::None;
    const int columnX = column == 1 ? geometry_.rightColumnX : 0;
    const ColumnPlaces& places = places_;
    const int indent = cell.rule == Rule::Indented ? (byArtist_ ? places.title.x : places.artist.x) : 0;
    rule.rect.x = columnX + indent;
    rule.rect.w = geometry_.columnWidth - indent;
}

void SongBookPrint::PrintRow() {
    fw::report::Report& r = *report_;
    Apply(prepared_[0], 0);
    if (twoColumns_) Apply(prepared_[1], 1);
    if (traits_.banded) {
        // Plain rows have no band; shaded ones alternate, fillers leave the
        // alternation alone and a continuation keeps its entry's shade.
        bool box = false;
        if (plainRows_ != 1) {
            switch (prepared_[0].kind) {
                case Kind::Filler: break;
                case Kind::Continuation: box = bandShaded_; break;
                case Kind::Normal: box = bandShaded_ = !bandShaded_; break;
            }
        }
        r.Element("DETAILBOX").hidden = !box;
    } else if (!twoColumns_ && r.IsFirstRowOnPage()) {
        r.Element("LINE").text.clear();  // the first row of a page has no rule
        r.Element("LINE").hidden = true;
    }
    PrintBand();
}

void SongBookPrint::PrintBand() {
    fw::report::Report& r = *report_;
    std::string line = log_ ? LogLine() : std::string();
    r.Print("DETAIL");
    ++rowsOnPage_;
    if (log_) log_(line);
}

void SongBookPrint::PrintTrailingRows() {
    if (!report_ || !offsetPages_) return;
    fw::report::Report& r = *report_;
    const int blanks = 2 * lastPageRows_;
    for (int c = 0; c < (twoColumns_ ? 2 : 1); ++c) {
        Cell blank;
        Apply(blank, c);
    }
    if (traits_.banded) {
        r.Element("DETAILBOX").hidden = true;
        r.Element("SONGNO").text = " ";
    }
    for (int i = 0; i < blanks; ++i) PrintBand();
}

fw::report::PageList SongBookPrint::Finish() {
    if (!report_) return {};
    return report_->Finish();
}

// DETAIL with each field: texts quoted, the rule as full, indented or
// none, the band box on or off, "-" for a hidden field.
std::string SongBookPrint::LogLine() const {
    const fw::report::ReportDefinition& def = report_->Definition();
    const RuleTexts& rules = RulesOf(layout_);
    std::string line = "DETAIL";
    for (const fw::report::Band& band : def.bands) {
        if (band.name != "DETAIL") continue;
        for (const fw::report::Element& e : band.elements) {
            line += " " + e.name + "=";
            if (e.kind == fw::report::ElementKind::Box) {
                line += e.hidden ? "off" : "on";
            } else if (e.name.starts_with("LINE") && e.text.empty()) {
                line += "none";
            } else if (e.hidden) {
                line += "-";
            } else if (e.name.starts_with("LINE")) {
                line += e.text == rules.full ? "full" : e.text == rules.indented ? "indented"
                        : e.text.empty()     ? "none"
                                             : "\"" + e.text + "\"";
            } else {
                line += "\"" + e.text + "\"";
            }
        }
    }
    return line;
}

}  // namespace printing
