#include "printing/song_book_print.h"

#include <algorithm>

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
    lines_ = lines > 0 ? lines
                       : LinesPerColumn(traits_.family, paperType_, static_cast<int>(settings.SetFonts),
                                        static_cast<int>(settings.PAGEBREAKOFFSET));
}

SongBookPrint::~SongBookPrint() = default;

void SongBookPrint::AddDisc(std::string_view unqDiskId, std::string_view altDiskId) {
    altDiskIds_.emplace(DiscKey(unqDiskId), fw::CLIP(altDiskId));
}

void SongBookPrint::Lay(long records) {
    std::vector<SongQueueEntry> queue = std::move(loader_).Sorted();
    progressBase_ = twoColumns_ ? static_cast<long>(queue.size()) : records;
    if (traits_.grouped || settings_.WordWrap == 0) {
        rows_ = BuildLineQueue(queue, layout_, lines_, WrapWidthsFor(layout_, static_cast<int>(settings_.SetFonts)));
    } else {
        fromSongQueue_ = true;
        rows_.reserve(queue.size());
        for (SongQueueEntry& e : queue) {
            LineRow row;
            row.index = static_cast<std::int32_t>(rows_.size() + 1);
            row.title = std::move(e.title);
            row.artist = std::move(e.artist);
            row.fullGroup = byArtist_ ? row.artist : row.title;
            row.diskTrackNo = std::move(e.diskTrackNo);
            row.unqDiskId = std::move(e.unqDiskId);
            row.makeId = std::move(e.makeId);
            rows_.push_back(std::move(row));
        }
    }
    if (!rows_.empty()) SetUpReport();
}

void SongBookPrint::SetUpReport() {
    const PrintSetup& s = settings_;
    // The line count decides the breaks: L rows to a page, each a pitch of
    // the detail area's height over L.
    geometry_ = GeometryFor(traits_.family, paperType_);
    const int pitch = geometry_.detailHeight / std::max(1, lines_);
    report_ = std::make_unique<fw::report::Report>(SongBookDefinition(layout_, paperType_, pitch));
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
    const int bodySize = twoColumns_ ? (s.SetFonts == 1 ? 8 : 10) : (s.SetFonts == 1 ? 8 : s.SetFonts == 2 ? 10 : 12);
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

    offsetPages_ = s.OffsetPages == 1;
    offset_ = static_cast<int>(s.Offset);
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
    prepared_[0] = Fill(rows_[pointer_], columns_[0], firstOnPage);
    if (twoColumns_) {
        const std::size_t right = pointer_ + static_cast<std::size_t>(lines_);
        if (right < rows_.size()) {
            prepared_[1] = Fill(rows_[right], columns_[1], firstOnPage);
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
        auto disc = altDiskIds_.find(DiscKey(row.unqDiskId));
        const std::string alt = disc == altDiskIds_.end() ? std::string() : disc->second;
        cell.songNo = SongNumberText(row.unqDiskId, row.diskTrackNo, alt, traits_.banded);
        cell.mfr = settings_.ShowMake == 1 ? fw::CLIP(row.makeId) : std::string();
    }
    if (!twoColumns_ && settings_.CaseStyle == 2) {
        cell.title = fw::UPPER(cell.title);
        cell.artist = fw::UPPER(cell.artist);
    }
    // The artist field's width; a continued heading keeps its " (cont.)".
    const std::size_t chars = ArtistFieldChars(layout_);
    if (cell.artist.size() > chars) {
        static constexpr std::string_view kContinued = " (cont.)";
        const bool continued = cell.artist.ends_with(kContinued);
        cell.artist = fw::CLIP(cell.artist.substr(0, chars - (continued ? kContinued.size() : 0)));
        if (continued) cell.artist += kContinued;
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
    if (row.field == 'X') return Filler(row, Rule::Full);
    Cell c;
    const char heading = byArtist_ ? 'A' : 'T';
    if (row.field == heading) {
        c.rule = Rule::Full;
        GroupOf(c) = GroupOf(row);
        FinishCell(c, row, false);
    } else {
        c.rule = Rule::Indented;
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
    FinishCell(c, row, !row.wrapped);
    return c;
}

// Each column by itself: the group name only where it changes within the
// column, remembered across pages.
SongBookPrint::Cell SongBookPrint::FillTwoColumnFlat(const LineRow& row, ColumnState& column) {
    Cell c;
    std::string& entry = byArtist_ ? c.title : c.artist;
    const std::string& rowEntry = byArtist_ ? row.title : row.artist;
    if (fromSongQueue_) {
        const std::string name = fw::CLIP(GroupOf(row));
        if (name != column.lastName) {
            GroupOf(c) = GroupOf(row);
            c.rule = Rule::Full;
            column.lastName = name;
        } else {
            c.rule = Rule::Indented;
        }
        entry = rowEntry;
        FinishCell(c, row, true);
        return c;
    }
    if (row.lineBreak) return Filler(row, Rule::Full);
    const std::string full = fw::CLIP(row.fullGroup);
    if (full != column.lastName) {
        GroupOf(c) = GroupOf(row);
        c.rule = Rule::Full;
        column.lastName = full;
    } else if (row.wrapped) {
        c.rule = Rule::None;
        if (row.line == 2 || row.top) GroupOf(c) = GroupOf(row);
    } else {
        c.rule = Rule::Indented;
    }
    entry = rowEntry;
    c.kind = row.wrapped ? Kind::Continuation : Kind::Normal;
    FinishCell(c, row, !row.wrapped);
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
    if (fromSongQueue_) {
        sameAsLast() ? repeatedName() : newName();
        entry = rowEntry;
        FinishCell(c, row, true);
        return c;
    }
    if (row.lineBreak) {
        column.afterFiller = true;
        return Filler(row, Rule::Full);
    }
    const bool fresh = column.afterFiller || (row.top && !row.wrapped);
    column.afterFiller = false;
    if (row.wrapped) {
        c.kind = Kind::Continuation;
        c.rule = Rule::None;
        c.title = row.title;
        c.artist = row.artist;
        if (row.line > 2 && !row.top) GroupOf(c).clear();
        FinishCell(c, row, false);
        return c;
    }
    if (fresh) {
        newName();
    } else if (row.line == 1) {
        sameAsLast() ? repeatedName() : newName();
    } else {
        c.rule = Rule::Indented;
    }
    entry = rowEntry;
    FinishCell(c, row, true);
    return c;
}

void SongBookPrint::Apply(const Cell& cell, int column) {
    fw::report::Report& r = *report_;
    const ColumnNames names = ColumnNamesFor(twoColumns_ ? column + 1 : 0);
    r.Element(names.title).text = cell.title;
    r.Element(names.artist).text = cell.artist;
    r.Element(names.songNo).text = cell.songNo;
    r.Element(names.mfr).text = cell.mfr;
    if (traits_.banded) return;
    const RuleTexts& rules = RulesOf(layout_);
    r.Element(names.rule).text = cell.rule == Rule::Full ? rules.full : cell.rule == Rule::Indented ? rules.indented
                                                                                                      : std::string();
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
