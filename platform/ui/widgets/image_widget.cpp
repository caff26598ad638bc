#include "platform/ui/widgets/image_widget.h"

#include <QImageReader>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace fw::ui {

ImageWidget::ImageWidget(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

bool ImageWidget::setFile(const QString& path) {
    file_ = path;
    error_.clear();
    pixmap_ = QPixmap();
    scalable_ = false;
    rendered_ = QPixmap();
    bool ok = true;
    if (!path.isEmpty()) {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        const QImage image = reader.read();
        if (image.isNull()) {
            error_ = reader.errorString();
            ok = false;
        } else {
            pixmap_ = QPixmap::fromImage(image);
            scalable_ = reader.format() == "svg";
        }
    }
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    UpdateRanges();
    viewport()->update();
    return ok;
}

void ImageWidget::setStretch(bool on) {
    stretch_ = on;
    UpdateRanges();
    viewport()->update();
}

void ImageWidget::setMaximumImageWidth(int pixels) {
    maxWidth_ = std::max(0, pixels);
    UpdateRanges();
    viewport()->update();
}

void ImageWidget::setMaximumImageHeight(int pixels) {
    maxHeight_ = std::max(0, pixels);
    UpdateRanges();
    viewport()->update();
}

QSize ImageWidget::shownSize() const {
    if (pixmap_.isNull()) return {};
    const QSize n = pixmap_.size();
    if (maxWidth_ > 0 || maxHeight_ > 0) {
        int w = maxWidth_, h = maxHeight_;
        if (w == 0) w = std::max(1, n.width() * h / std::max(1, n.height()));
        if (h == 0) h = std::max(1, n.height() * w / std::max(1, n.width()));
        return {w, h};
    }
    if (!stretch_) return n;
    // A drawing keeps its proportions inside the control; a bitmap fills it.
    return scalable_ ? n.scaled(viewport()->size(), Qt::KeepAspectRatio) : viewport()->size();
}

QPixmap ImageWidget::Rendered(const QSize& size) const {
    if (!scalable_ || size.isEmpty()) return pixmap_;
    // Drawings are rendered afresh at the size shown, so they stay sharp.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size * ratio;
    if (rendered_.size() != pixels) {
        QImageReader reader(file_);
        reader.setScaledSize(pixels);
        rendered_ = QPixmap::fromImage(reader.read());
        rendered_.setDevicePixelRatio(ratio);
    }
    return rendered_.isNull() ? pixmap_ : rendered_;
}

void ImageWidget::setScrollBars(bool horizontal, bool vertical) {
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    UpdateRanges();
}

int ImageWidget::horizontalPosition() const { return horizontalScrollBar()->value(); }
int ImageWidget::verticalPosition() const { return verticalScrollBar()->value(); }
void ImageWidget::setHorizontalPosition(int pixels) { horizontalScrollBar()->setValue(pixels); }
void ImageWidget::setVerticalPosition(int pixels) { verticalScrollBar()->setValue(pixels); }

void ImageWidget::UpdateRanges() {
    // The viewport's size depends on which scroll bars show; ranges follow it.
    const QSize shown = shownSize();
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, shown.width() - view.width()));
    verticalScrollBar()->setRange(0, std::max(0, shown.height() - view.height()));
    horizontalScrollBar()->setPageStep(std::max(1, view.width()));
    verticalScrollBar()->setPageStep(std::max(1, view.height()));
}

void ImageWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateRanges();
}

void ImageWidget::scrollContentsBy(int, int) { viewport()->update(); }

void ImageWidget::paintEvent(QPaintEvent*) {
    if (pixmap_.isNull()) return;
    QPainter p(viewport());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize shown = shownSize();
    QPoint origin(-horizontalPosition(), -verticalPosition());
    if (scalable_ && stretch_ && maxWidth_ == 0 && maxHeight_ == 0)
        origin += QPoint((viewport()->width() - shown.width()) / 2, (viewport()->height() - shown.height()) / 2);
    p.drawPixmap(QRect(origin, shown), Rendered(shown));
}

}  // namespace fw::ui
