#include "printing/preview_model.h"

#include <algorithm>

namespace printing {

std::vector<ZoomRow> BuildZoomList(double pageWidthFactor) {
    return {
        {kNoZoom, 0, false},          {kPageWidth, pageWidthFactor, false}, {"Zoom (50%)", 0.5, true},
        {"Zoom (75%)", 0.75, true},   {"Zoom (100%)", 1.0, true},           {"Zoom (200%)", 2.0, true},
        {"Zoom (300%)", 3.0, true},
    };
}

PreviewModel::PreviewModel(int pageCount, double pageWidthFactor)
    : count_(pageCount), zooms_(BuildZoomList(pageWidthFactor)), marks_(static_cast<std::size_t>(pageCount), false) {}

void PreviewModel::SelectZoom(const std::string& text) {
    for (std::size_t i = 0; i < zooms_.size(); ++i)
        if (zooms_[i].text == text) zoom_ = i;
}

void PreviewModel::SetLayout(int across, int down) {
    across_ = std::clamp(across, 1, 10);
    down_ = std::clamp(down, 1, 10);
}

void PreviewModel::SetCurrentPage(int page) { current_ = std::clamp(page, 1, std::max(1, count_)); }

void PreviewModel::PreviousPages() {
    if (zoomed()) {
        if (current_ > 1) --current_;
    } else {
        current_ = std::max(1, current_ - Cells());
    }
}

void PreviewModel::NextPages() {
    if (zoomed()) {
        if (current_ < count_) ++current_;
    } else if (current_ + Cells() <= count_) {
        current_ += Cells();
    }
}

void PreviewModel::ClickCell(int cell) {
    if (zoomed()) {
        SelectZoom(kNoZoom);
        return;
    }
    if (PageInCell(cell) == 0) return;
    current_ += cell - 1;
    SelectZoom(kPageWidth);
}

int PreviewModel::PageInCell(int cell) const {
    int page = current_ + cell - 1;
    return cell >= 1 && cell <= Cells() && page <= count_ ? page : 0;
}

std::string PreviewModel::PageText() const {
    std::string of = " of " + std::to_string(count_);
    if (Cells() == 1 || current_ >= count_) return "Page " + std::to_string(current_) + of;
    int last = std::min(current_ + Cells() - 1, count_);
    return "Pages " + std::to_string(current_) + "-" + std::to_string(last) + of;
}

bool PreviewModel::NextEnabled() const {
    return zoomed() ? current_ < count_ : current_ + Cells() <= count_;
}

bool PreviewModel::LastEnabled() const { return zoomed() ? current_ < count_ : true; }

void PreviewModel::DeleteCurrent() {
    if (count_ <= 1) return;
    marks_.erase(marks_.begin() + (current_ - 1));
    --count_;
    if (current_ > 1) --current_;
}

}  // namespace printing
