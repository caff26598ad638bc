#include "platform/report/report.h"

#include <stdexcept>

#include "platform/report/report_fonts.h"

namespace fw::report {

std::string FormatPageNumber(std::string_view picture, int number) {
    std::size_t end = picture.find_last_of("<#");
    if (end == std::string_view::npos) return std::string(picture);
    std::size_t begin = end;
    while (begin > 0 && (picture[begin - 1] == '<' || picture[begin - 1] == '#')) --begin;
    std::string digits = std::to_string(number);
    std::string run;
    std::size_t places = end - begin + 1;
    for (std::size_t i = 0; i < places; ++i) {
        std::size_t fromRight = places - 1 - i;
        char slot = picture[begin + i];
        if (fromRight < digits.size()) run += digits[digits.size() - 1 - fromRight];
        else if (slot == '#') run += '0';
    }
    if (digits.size() > places) run = digits;
    return std::string(picture.substr(0, begin)) + run + std::string(picture.substr(end + 1));
}

int SizeThatFits(const TextFont& font, std::string_view text, int width) {
    // Room for the rounding of pixel sizes at other resolutions.
    const double room = width * 0.985 - 2;
    TextFont f = font;
    while (f.size > kSmallestShrunkSize && MeasureFor(f, kTextUnitsPerInch).Width(text) > room) --f.size;
    return f.size;
}

namespace {

std::string ReplaceAll(std::string s, std::string_view what, std::string_view with) {
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + with.size()))
        s.replace(at, what.size(), with);
    return s;
}

}  // namespace

Report::Report(ReportDefinition definition) : def_(std::move(definition)), folder_(std::make_shared<PageFolder>()) {}

Report::~Report() = default;

report::Element& Report::Element(std::string_view name) {
    for (report::Band& b : def_.bands)
        for (report::Element& e : b.elements)
            if (e.name == name) return e;
    throw std::out_of_range("the report has no element " + std::string(name));
}

report::Band& Report::Band(std::string_view name) {
    for (report::Band& b : def_.bands)
        if (b.name == name) return b;
    throw std::out_of_range("the report has no band " + std::string(name));
}

const report::Band* Report::FindBand(std::string_view name) const {
    for (const report::Band& b : def_.bands)
        if (b.name == name) return &b;
    return nullptr;
}

bool Report::Fits(const report::Band& band) const {
    if (def_.flow == Flow::Grid) return rows_ < def_.grid.across * def_.grid.down;
    if (rowsPerPage_ > 0) return rows_ < rowsPerPage_;
    return rows_ == 0 || cursorY_ + band.height <= def_.detailArea.y + def_.detailArea.h;
}

bool Report::StartsPage(std::string_view name) const {
    const report::Band* band = FindBand(name);
    if (!band) throw std::out_of_range("the report has no band " + std::string(name));
    return !open_ || rows_ == 0 || !Fits(*band);
}

bool Report::IsFirstRowOnPage() const {
    if (!open_ || rows_ == 0) return true;
    if (def_.flow == Flow::Grid) return rows_ >= def_.grid.across * def_.grid.down;
    return rowsPerPage_ > 0 && rows_ >= rowsPerPage_;
}

void Report::StartPage() {
    ++seq_;
    int number = startingNumber_ + seq_ - 1;
    if (onPageStart_) onPageStart_(seq_, number);
    page_ = Page{};
    page_.seq = seq_;
    page_.number = number;
    page_.width = def_.paper.Width();
    page_.height = def_.paper.Height();
    page_.landscape = def_.paper.landscape;
    open_ = true;
    rows_ = 0;
    cursorY_ = def_.detailArea.y;
    for (const report::Band& b : def_.bands)
        if (b.role == BandRole::Form) PlaceBand(b, b.x, b.y);
    for (const report::Band& b : def_.bands)
        if (b.role == BandRole::Header) PlaceBand(b, b.x, b.y);
}

void Report::Print(std::string_view name) {
    if (finished_) throw std::logic_error("the report has finished");
    const report::Band* band = FindBand(name);
    if (!band) throw std::out_of_range("the report has no band " + std::string(name));
    if (band->role != BandRole::Detail) throw std::invalid_argument("only detail bands are printed: " + std::string(name));
    if (open_ && !Fits(*band)) EndPage();
    if (!open_) StartPage();
    if (def_.flow == Flow::Grid) {
        const Grid& g = def_.grid;
        int col = rows_ % g.across, row = rows_ / g.across;
        PlaceBand(*band, g.x + col * g.pitchX + band->x, g.y + row * g.pitchY + band->y);
    } else {
        PlaceBand(*band, def_.detailArea.x + band->x, cursorY_ + band->y);
        cursorY_ += band->height;
    }
    ++rows_;
}

void Report::EndPage() {
    if (!open_) return;
    for (const report::Band& b : def_.bands)
        if (b.role == BandRole::Footer) PlaceBand(b, b.x, b.y);
    std::string file = folder_->Write(page_);
    // A page that cannot be written ends the report's pages (the folder
    // has told the user and removed the others).
    if (file.empty()) pages_.clear();
    else pages_.push_back({std::move(file), page_.seq, page_.number});
    page_ = Page{};
    open_ = false;
}

bool Report::Failed() const { return folder_->Failed(); }

PageList Report::Finish() {
    EndPage();
    finished_ = true;
    int count = static_cast<int>(pages_.size());
    return PageList(folder_, pages_, count);
}

void Report::PlaceBand(const report::Band& band, int originX, int originY) {
    page_.Add(OpKind::Band, band.name);
    for (const report::Element& e : band.elements)
        if (!e.hidden) PlaceElement(e, originX, originY);
}

void Report::PlaceElement(const report::Element& e, int originX, int originY) {
    Rect r{originX + e.rect.x, originY + e.rect.y, e.rect.w, e.rect.h};
    switch (e.kind) {
    case ElementKind::Text: {
        std::string text;
        switch (e.source) {
        case TextSource::Literal: text = e.text; break;
        case TextSource::PageNumber: text = FormatPageNumber(e.text, page_.number); break;
        case TextSource::PageOfCount:
            text = ReplaceAll(ReplaceAll(ReplaceAll(e.text, "{page}", std::to_string(page_.seq)), "{number}",
                                         std::to_string(page_.number)),
                              "{pages}", std::string(1, kPageCountToken));
            break;
        }
        std::uint16_t font = 0;
        if (e.shrinkToFit && !text.empty()) {
            TextFont f = e.font;
            f.size = SizeThatFits(f, text, e.rect.w);
            font = page_.InternFont(f);
        } else {
            font = page_.InternFont(e.font);
        }
        Op& op = page_.Add(OpKind::Text, text);
        op.rect = r;
        op.font = font;
        op.color = e.font.color;
        op.align = static_cast<std::uint8_t>(e.align);
        op.clip = e.clip;
        break;
    }
    case ElementKind::Box:
    case ElementKind::Ellipse:
    case ElementKind::Line: {
        Op& op = page_.Add(e.kind == ElementKind::Box ? OpKind::Box : e.kind == ElementKind::Ellipse ? OpKind::Ellipse : OpKind::Line);
        op.rect = r;
        op.color = e.border;
        op.width = e.borderWidth;
        op.fill = e.kind == ElementKind::Line ? kNoColor : e.fill;
        break;
    }
    case ElementKind::Image: {
        Op& op = page_.Add(OpKind::Image, e.file);
        op.rect = r;
        break;
    }
    }
}

}  // namespace fw::report
