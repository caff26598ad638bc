#include "platform/ui/widgets/shape_widget.h"

#include <QPainter>
#include <algorithm>

namespace fw::ui {

ShapeWidget::ShapeWidget(ShapeKind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void ShapeWidget::setFillColor(const QColor& color) {
    fill_ = color;
    update();
}

void ShapeWidget::setBorderColor(const QColor& color) {
    border_ = color;
    update();
}

void ShapeWidget::setLineWidth(int pixels) {
    lineWidth_ = std::max(1, pixels);
    update();
}

void ShapeWidget::setLineSlope(LineSlope slope) {
    slope_ = slope;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = lineWidth_;
    QPen pen = border_.isValid() ? QPen(border_, w) : QPen(Qt::NoPen);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::FlatCap);
    const QRectF r = QRectF(rect());
    if (kind_ == ShapeKind::Line) {
        if (!border_.isValid()) return;
        p.setPen(pen);
        const double half = w / 2.0;
        if (height() <= w)
            p.drawLine(QPointF(0, half), QPointF(r.width(), half));
        else if (width() <= w)
            p.drawLine(QPointF(half, 0), QPointF(half, r.height()));
        else {
            p.setRenderHint(QPainter::Antialiasing);
            if (slope_ == LineSlope::Down)
                p.drawLine(r.topLeft(), r.bottomRight());
            else
                p.drawLine(r.bottomLeft(), r.topRight());
        }
        return;
    }
    // The border lies inside the shape's rectangle.
    const double inset = border_.isValid() ? w / 2.0 : 0.0;
    const QRectF inner = r.adjusted(inset, inset, -inset, -inset);
    p.setPen(pen);
    p.setBrush(fill_.isValid() ? QBrush(fill_) : QBrush(Qt::NoBrush));
    if (kind_ == ShapeKind::Box) {
        p.drawRect(inner);
    } else {
        p.setRenderHint(QPainter::Antialiasing);
        p.drawEllipse(inner);
    }
}

}  // namespace fw::ui
