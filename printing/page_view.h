#pragma once
// The preview's page area: one widget of our own that paints the page
// cells (1 x 1 up to 10 x 10) or one zoomed page with scroll bars. Only the
// pages in view are read from their files and rendered; rendered images
// are kept in a cache of limited size.

#include <QAbstractScrollArea>
#include <QImage>

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "platform/report/page_files.h"

namespace printing {

class PageView : public QAbstractScrollArea {
public:
    // Fills `host` (a panel of the preview window) and follows its size.
    PageView(QWidget* host, const fw::report::PageList& pages);

    // Page width in pixels at 100 % (a page drawn at 96 dots an inch).
    static double NaturalWidth(const fw::report::Page& page);

    // Cells: `pages` holds the page number (from 1) of each cell, 0 for a
    // hidden cell.
    void ShowCells(int across, int down, std::vector<int> pages);
    // One page at a factor of its natural size.
    void ShowZoomed(int page, double factor, bool hscroll);
    void ScrollBy(int dx, int dy);
    // The cache holds images by page file; a deleted page's go with it.
    void Forget(const std::string& file);

    // A click: the cell (from 1), or 0 on the zoomed page.
    std::function<void(int cell)> onClick;
    // Called after the first page has been painted (for timing).
    static void SetFirstPaintHook(std::function<void()> hook);

    // What it shows (for tests).
    bool Zoomed() const { return zoomed_; }
    double Factor() const { return factor_; }
    const std::vector<int>& CellPages() const { return cellPages_; }
    std::vector<QRect> CellRects() const;
    int Renders() const { return renders_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    const QImage& Image(int page, int width);
    QSize ZoomedSize() const;
    void UpdateScrollBars();

    const fw::report::PageList& pages_;
    double aspect_ = 11.0 / 8.5;
    double natural_ = 816;
    bool zoomed_ = false;
    int across_ = 1, down_ = 1;
    std::vector<int> cellPages_;
    int zoomPage_ = 1;
    double factor_ = 1;
    bool hscroll_ = true;
    int renders_ = 0;

    struct Cached {
        QImage image;
        std::list<std::pair<std::string, int>>::iterator use;
    };
    std::map<std::pair<std::string, int>, Cached> cache_;
    std::list<std::pair<std::string, int>> lru_;
    std::int64_t cachedBytes_ = 0;
};

}  // namespace printing
