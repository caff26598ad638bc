#include "platform/ui/widgets/image_widget.h"

#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace fw::ui {
namespace {

// A 1x1 GIF (Qt reads GIF but cannot write it).
const unsigned char kGif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0xFF, 0xFF,
                              0xFF, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00,
                              0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};

class ImageTest : public ::testing::Test {
protected:
    QString Picture(const QString& name, QSize size, QColor color = Qt::red, const char* format = nullptr) {
        QImage img(size, QImage::Format_RGB32);
        img.fill(color);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(img.save(path, format)) << name.toStdString();
        return path;
    }
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QTemporaryDir dir;
    ImageWidget image;
};

TEST_F(ImageTest, ReadsEachPictureFormatAtItsNaturalSize) {
    struct Case {
        QString path;
        QSize size;
    } cases[] = {
        {Picture("splash.bmp", {7, 5}), {7, 5}},
        {Picture("logo.png", {8, 6}), {8, 6}},
        {Picture("logo.jpg", {9, 7}), {9, 7}},
        {Picture("book.ico", {16, 16}), {16, 16}},
        {Write("time005.gif", QByteArray(reinterpret_cast<const char*>(kGif), sizeof kGif)), {1, 1}},
        // The content decides, not the name.
        {Picture("really_png.bmp", {4, 3}, Qt::red, "PNG"), {4, 3}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(image.setFile(c.path)) << c.path.toStdString() << ": " << image.errorString().toStdString();
        EXPECT_EQ(image.naturalSize(), c.size) << c.path.toStdString();
        EXPECT_EQ(image.file(), c.path);
    }
}

TEST_F(ImageTest, AFileThatCannotBeReadLeavesItBlank) {
    ASSERT_TRUE(image.setFile(Picture("a.png", {5, 5})));
    EXPECT_FALSE(image.setFile(Write("broken.bmp", "not a picture")));
    EXPECT_FALSE(image.hasImage());
    EXPECT_EQ(image.naturalSize(), QSize(0, 0));
    EXPECT_FALSE(image.errorString().isEmpty());
    EXPECT_FALSE(image.setFile(dir.filePath("missing.gif")));
    EXPECT_TRUE(image.setFile(QString()));  // clearing is not an error
    EXPECT_FALSE(image.hasImage());
}

TEST_F(ImageTest, FillsTheControlOrShowsTheNaturalSize) {
    image.resize(40, 30);
    image.setFile(Picture("a.png", {10, 10}, Qt::blue));
    image.show();
    EXPECT_EQ(image.shownSize(), QSize(40, 30));
    EXPECT_EQ(image.grab().toImage().pixelColor(35, 25), QColor(Qt::blue));
    image.setStretch(false);
    EXPECT_EQ(image.shownSize(), QSize(10, 10));
    EXPECT_NE(image.grab().toImage().pixelColor(35, 25), QColor(Qt::blue));
}

TEST_F(ImageTest, ZoomScrollsWithinTheControl) {
    image.resize(100, 80);
    image.setFile(Picture("page.png", {50, 40}));
    image.setScrollBars(true, true);
    image.setMaximumImageWidth(300);
    image.setMaximumImageHeight(240);
    image.show();
    EXPECT_EQ(image.shownSize(), QSize(300, 240));
    const QSize view = image.viewport()->size();
    EXPECT_EQ(image.horizontalScrollBar()->maximum(), 300 - view.width());
    EXPECT_EQ(image.verticalScrollBar()->maximum(), 240 - view.height());
    image.setHorizontalPosition(50);
    image.setVerticalPosition(1000);  // kept within the picture
    EXPECT_EQ(image.horizontalPosition(), 50);
    EXPECT_EQ(image.verticalPosition(), 240 - view.height());

    image.setMaximumImageHeight(0);  // the other side keeps the proportions
    EXPECT_EQ(image.shownSize(), QSize(300, 240));
    image.setMaximumImageWidth(0);
    image.setMaximumImageHeight(120);
    EXPECT_EQ(image.shownSize(), QSize(150, 120));

    image.setFile(Picture("next.png", {50, 40}));  // a new file starts at the top left
    EXPECT_EQ(image.horizontalPosition(), 0);
    EXPECT_EQ(image.verticalPosition(), 0);
}

}  // namespace
}  // namespace fw::ui
