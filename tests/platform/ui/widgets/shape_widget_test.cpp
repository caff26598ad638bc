#include "platform/ui/widgets/shape_widget.h"

#include "platform/ui/widgets/color.h"

#include <gtest/gtest.h>

namespace fw::ui {
namespace {

QImage Draw(ShapeWidget& s, int w, int h) {
    s.resize(w, h);
    return s.grab().toImage();
}

TEST(Shape, BoxFillsInsideItsBorder) {
    ShapeWidget box(ShapeKind::Box);
    box.setFillColor(ColorFromBgr(0x008000));
    box.setBorderColor(ColorFromBgr(0x800000));
    QImage img = Draw(box, 20, 10);
    for (const QPoint corner : {QPoint(0, 0), QPoint(19, 0), QPoint(0, 9), QPoint(19, 9)})
        EXPECT_EQ(img.pixelColor(corner), ColorFromBgr(0x800000)) << corner.x() << "," << corner.y();
    EXPECT_EQ(img.pixelColor(10, 5), ColorFromBgr(0x008000));

    box.setFillColor(ColorFromBgr(0x00FFFF));  // changed at run time
    box.setLineWidth(3);
    img = Draw(box, 20, 10);
    EXPECT_EQ(img.pixelColor(2, 2), ColorFromBgr(0x800000));
    EXPECT_EQ(img.pixelColor(10, 5), ColorFromBgr(0x00FFFF));
    EXPECT_TRUE(box.testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST(Shape, BoxWithoutFillOrBorderLeavesTheBackground) {
    ShapeWidget box(ShapeKind::Box);
    box.setBorderColor(QColor());
    const QImage img = Draw(box, 10, 10);
    const QColor background = box.palette().color(QPalette::Window);
    EXPECT_EQ(img.pixelColor(0, 0), background);
    EXPECT_EQ(img.pixelColor(5, 5), background);
}

TEST(Shape, EllipseFillsItsMiddleNotItsCorners) {
    ShapeWidget ellipse(ShapeKind::Ellipse);
    ellipse.setFillColor(ColorFromBgr(0x0000FF));
    const QImage img = Draw(ellipse, 30, 30);
    EXPECT_EQ(img.pixelColor(15, 15), ColorFromBgr(0x0000FF));
    EXPECT_EQ(img.pixelColor(1, 1), ellipse.palette().color(QPalette::Window));
}

TEST(Shape, LinesRunAlongTheirRectangle) {
    struct Case {
        int w, h;
        LineSlope slope;
        QPoint on, off;
    } cases[] = {
        {40, 1, LineSlope::Down, {20, 0}, {20, 0}},  // horizontal: only row 0 exists
        {1, 40, LineSlope::Down, {0, 20}, {0, 20}},
        {40, 40, LineSlope::Down, {20, 20}, {35, 4}},
        {40, 40, LineSlope::Up, {4, 35}, {4, 4}},
    };
    for (const auto& c : cases) {
        ShapeWidget line(ShapeKind::Line);
        line.setLineSlope(c.slope);
        line.setBorderColor(ColorFromBgr(0xFF0000));
        const QImage img = Draw(line, c.w, c.h);
        EXPECT_EQ(img.pixelColor(c.on), ColorFromBgr(0xFF0000)) << c.w << "x" << c.h;
        if (c.on != c.off) {
            EXPECT_NE(img.pixelColor(c.off), ColorFromBgr(0xFF0000)) << c.w << "x" << c.h;
        }
    }
}

}  // namespace
}  // namespace fw::ui
