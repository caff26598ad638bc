#pragma once
// What the preview window shows, without the window: the zoom rows, the
// page cells, paging, marks and the page texts. The window applies it.

#include <string>
#include <vector>

namespace printing {

struct ZoomRow {
    std::string text;
    double factor;  // 0: whole pages in cells
    bool hscroll;
};

inline constexpr const char* kNoZoom = "No Zoom";
inline constexpr const char* kPageWidth = "Page Width";

// The seven rows, "Page Width" with the factor taken when the window opens.
std::vector<ZoomRow> BuildZoomList(double pageWidthFactor);

class PreviewModel {
public:
    PreviewModel(int pageCount, double pageWidthFactor);

    int PageCount() const { return count_; }
    int CurrentPage() const { return current_; }
    int Across() const { return across_; }
    int Down() const { return down_; }
    int Cells() const { return zoomed() ? 1 : across_ * down_; }
    const std::vector<ZoomRow>& ZoomRows() const { return zooms_; }
    const ZoomRow& Zoom() const { return zooms_[zoom_]; }
    bool zoomed() const { return zooms_[zoom_].factor != 0; }

    // Chooses the zoom row by its text (unknown texts are ignored).
    void SelectZoom(const std::string& text);
    void SetLayout(int across, int down);
    void SetCurrentPage(int page);  // kept within 1..PageCount

    void PreviousPages();
    void NextPages();
    void FirstPage() { SetCurrentPage(1); PreviousPages(); }
    void LastPage() { SetCurrentPage(count_); NextPages(); }
    // A click on cell k (from 1): that page at Page Width; on the zoomed
    // page: back to the cells.
    void ClickCell(int cell);

    // The page in cell k (from 1), 0 when the cell is hidden.
    int PageInCell(int cell) const;
    // "Page 3 of 10" or "Pages 5-8 of 10".
    std::string PageText() const;
    bool PreviousEnabled() const { return current_ > 1; }
    bool NextEnabled() const;
    bool LastEnabled() const;
    // Mark, Delete and Print Current act on one page only.
    bool SinglePageActions() const { return Cells() == 1; }

    bool Marked(int page) const { return marks_.at(page - 1); }
    bool CurrentMarked() const { return Marked(current_); }
    void ToggleMark() { marks_.at(current_ - 1) = !marks_.at(current_ - 1); }
    const std::vector<bool>& Marks() const { return marks_; }
    // The current page is gone: its mark goes too and the view goes one
    // page back unless on page 1.
    void DeleteCurrent();

private:
    int count_;
    int current_ = 1;
    int across_ = 1, down_ = 1;
    std::size_t zoom_ = 0;
    std::vector<ZoomRow> zooms_;
    std::vector<bool> marks_;
};

}  // namespace printing
