#include "printing/page_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "platform/report/renderer.h"

namespace printing {

namespace {

constexpr std::int64_t kCacheBytes = 192LL * 1024 * 1024;
constexpr int kGap = 3;  // between cells

std::function<void()>& FirstPaintHook() {
    static std::function<void()> hook;
    return hook;
}

}  // namespace

void PageView::SetFirstPaintHook(std::function<void()> hook) { FirstPaintHook() = std::move(hook); }

double PageView::NaturalWidth(const fw::report::Page& page) { return page.width * 96.0 / 1000.0; }

PageView::PageView(QWidget* host, const fw::report::PageList& pages) : QAbstractScrollArea(host), pages_(pages) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    if (!pages_.Empty()) {
        fw::report::Page first = pages_.Load(0);
        natural_ = NaturalWidth(first);
        aspect_ = static_cast<double>(first.height) / std::max(1, first.width);
    }
    setGeometry(host->rect());
    host->installEventFilter(this);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    show();
}

bool PageView::eventFilter(QObject* o, QEvent* e) {
    if (o == parentWidget() && e->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return false;
}

void PageView::ShowCells(int across, int down, std::vector<int> pages) {
    zoomed_ = false;
    across_ = across;
    down_ = down;
    cellPages_ = std::move(pages);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->update();
}

void PageView::ShowZoomed(int page, double factor, bool hscroll) {
    bool wasZoomed = zoomed_;
    int h = horizontalScrollBar()->value(), v = verticalScrollBar()->value();
    zoomed_ = true;
    zoomPage_ = page;
    factor_ = factor;
    hscroll_ = hscroll;
    cellPages_ = {page};
    setHorizontalScrollBarPolicy(hscroll ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    UpdateScrollBars();
    if (wasZoomed) {  // the scroll positions stay where they were
        horizontalScrollBar()->setValue(h);
        verticalScrollBar()->setValue(v);
    }
    viewport()->update();
}

void PageView::ScrollBy(int dx, int dy) {
    if (!zoomed_) return;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
    verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
}

void PageView::Forget(const std::string& file) {
    for (auto it = cache_.begin(); it != cache_.end();) {
        if (it->first.first == file) {
            cachedBytes_ -= it->second.image.sizeInBytes();
            lru_.erase(it->second.use);
            it = cache_.erase(it);
        } else {
            ++it;
        }
    }
}

QSize PageView::ZoomedSize() const {
    int w = std::max(1, static_cast<int>(natural_ * factor_));
    return {w, std::max(1, static_cast<int>(w * aspect_))};
}

void PageView::UpdateScrollBars() {
    QSize s = ZoomedSize(), v = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, s.width() - v.width()));
    verticalScrollBar()->setRange(0, std::max(0, s.height() - v.height()));
    horizontalScrollBar()->setPageStep(v.width());
    verticalScrollBar()->setPageStep(v.height());
}

void PageView::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    if (zoomed_) UpdateScrollBars();
}

std::vector<QRect> PageView::CellRects() const {
    std::vector<QRect> rects;
    int sepX = (across_ - 1) * kGap + 2, sepY = (down_ - 1) * kGap + 2;
    int w = (viewport()->width() - sepX) / across_;
    int h = (viewport()->height() - sepY) / down_;
    if (w <= 0 || h <= 0) return rects;
    if (static_cast<double>(h) / w >= aspect_) h = static_cast<int>(w * aspect_);
    else w = static_cast<int>(h / aspect_);
    for (int row = 0; row < down_; ++row)
        for (int col = 0; col < across_; ++col) rects.emplace_back(1 + col * (w + kGap), 1 + row * (h + kGap), w, h);
    return rects;
}

const QImage& PageView::Image(int page, int width) {
    const std::string& file = pages_.At(page - 1).file;
    auto key = std::make_pair(file, width);
    auto it = cache_.find(key);
    if (it != cache_.end()) {
        lru_.splice(lru_.begin(), lru_, it->second.use);
        return it->second.image;
    }
    QImage image;
    try {
        image = fw::report::RenderPageImage(pages_.Load(page - 1), pages_.PageCount(), width);
    } catch (const std::exception&) {
        image = QImage(width, std::max(1, static_cast<int>(width * aspect_)), QImage::Format_RGB32);
        image.fill(Qt::lightGray);
    }
    ++renders_;
    while (cachedBytes_ + image.sizeInBytes() > kCacheBytes && !lru_.empty()) {
        auto last = cache_.find(lru_.back());
        cachedBytes_ -= last->second.image.sizeInBytes();
        cache_.erase(last);
        lru_.pop_back();
    }
    lru_.push_front(key);
    cachedBytes_ += image.sizeInBytes();
    return cache_.emplace(key, Cached{std::move(image), lru_.begin()}).first->second.image;
}

void PageView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Mid));
    bool painted = false;
    if (pages_.Empty()) return;
    if (zoomed_ && zoomPage_ <= pages_.Count()) {
        QSize s = ZoomedSize();
        QPoint at(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
        if (s.width() < viewport()->width()) at.setX((viewport()->width() - s.width()) / 2);
        painter.drawImage(at, Image(zoomPage_, s.width()));
        painted = true;
    } else {
        std::vector<QRect> rects = CellRects();
        for (std::size_t k = 0; k < rects.size() && k < cellPages_.size(); ++k) {
            if (cellPages_[k] < 1 || cellPages_[k] > pages_.Count()) continue;  // a hidden cell
            const QRect& r = rects[k];
            painter.drawImage(r.topLeft(), Image(cellPages_[k], r.width()));
            painter.setPen(Qt::black);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r.adjusted(0, 0, -1, -1));
            painted = true;
        }
    }
    if (painted && FirstPaintHook()) {
        auto hook = std::move(FirstPaintHook());
        FirstPaintHook() = nullptr;
        hook();
    }
}

void PageView::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !onClick) return;
    if (zoomed_) {
        onClick(0);
        return;
    }
    std::vector<QRect> rects = CellRects();
    for (std::size_t k = 0; k < rects.size(); ++k)
        if (rects[k].contains(e->position().toPoint()) && k < cellPages_.size() && cellPages_[k] != 0) {
            onClick(static_cast<int>(k) + 1);
            return;
        }
}

}  // namespace printing
