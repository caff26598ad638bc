#pragma once
// The framework's image control: shows a picture file (BMP, GIF, ICO, PNG,
// JPEG, SVG: whatever Qt's image plugins read; the first frame of an
// animation). An SVG drawing is rendered at the size shown and keeps its
// proportions when it fills the control.
// The file can be changed at run time. Without a maximum size the picture
// fills the control (or, with setStretch(false), is shown at its natural
// size); a maximum width and height show it at that size instead (zoom), a
// missing one keeping the picture's proportions. Optional scroll bars move
// over a picture larger than the control; positions are in pixels.

#include <QAbstractScrollArea>
#include <QPixmap>
#include <QString>

namespace fw::ui {

class ImageWidget : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ImageWidget(QWidget* parent = nullptr);

    // Shows the file; an empty name clears the picture. A file that cannot
    // be read leaves the control blank and returns false (errorString says why).
    // Scroll positions go back to 0.
    bool setFile(const QString& path);
    QString file() const { return file_; }
    QString errorString() const { return error_; }
    bool hasImage() const { return !pixmap_.isNull(); }
    QSize naturalSize() const { return pixmap_.size(); }

    void setStretch(bool on);
    bool stretch() const { return stretch_; }
    // 0 = none.
    void setMaximumImageWidth(int pixels);
    void setMaximumImageHeight(int pixels);
    int maximumImageWidth() const { return maxWidth_; }
    int maximumImageHeight() const { return maxHeight_; }
    // The size the picture is drawn at.
    QSize shownSize() const;

    void setScrollBars(bool horizontal, bool vertical);
    int horizontalPosition() const;
    int verticalPosition() const;
    void setHorizontalPosition(int pixels);
    void setVerticalPosition(int pixels);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateRanges();
    QPixmap Rendered(const QSize& size) const;

    QString file_;
    QString error_;
    QPixmap pixmap_;
    mutable QPixmap rendered_;  // a drawing at the size last shown
    bool scalable_ = false;
    bool stretch_ = true;
    int maxWidth_ = 0;
    int maxHeight_ = 0;
};

}  // namespace fw::ui
