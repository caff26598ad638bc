#pragma once
// The framework's drawn shapes: a box (fill and border colour), a line and an
// ellipse (fill and border colour), all settable at run time. Shapes take no
// mouse input; clicks go to what lies beneath.

#include <QColor>
#include <QWidget>

namespace fw::ui {

enum class ShapeKind { Box, Line, Ellipse };
// Which diagonal a line that is neither horizontal nor vertical takes.
enum class LineSlope { Down, Up };  // top-left to bottom-right, bottom-left to top-right

class ShapeWidget : public QWidget {
    Q_OBJECT
public:
    explicit ShapeWidget(ShapeKind kind, QWidget* parent = nullptr);

    ShapeKind kind() const { return kind_; }
    // Invalid = not filled. A line ignores its fill.
    void setFillColor(const QColor& color);
    QColor fillColor() const { return fill_; }
    // The border of a box or ellipse, the colour of a line; invalid = none.
    void setBorderColor(const QColor& color);
    QColor borderColor() const { return border_; }
    void setLineWidth(int pixels);
    int lineWidth() const { return lineWidth_; }
    void setLineSlope(LineSlope slope);
    LineSlope lineSlope() const { return slope_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ShapeKind kind_;
    QColor fill_;
    QColor border_ = Qt::black;
    int lineWidth_ = 1;
    LineSlope slope_ = LineSlope::Down;
};

}  // namespace fw::ui
