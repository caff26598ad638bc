#pragma once
// The framework's sheet: tabs whose text colour, background colour and font
// weight can be set per tab at run time. A change of tab by the user (mouse,
// keys) is first announced by tabChanging; it happens at once unless the
// slot calls cancelTabChange(), or, with setConfirmTabChanges(true), only
// when confirmTabChange() is called later (for callers that answer after
// the signal has returned). After a user's change newSelection is raised.
// Changes made by calling setCurrentIndex() raise neither.
// Tabs are numbered from 0, as in QTabWidget.

#include <QColor>
#include <QTabBar>
#include <QTabWidget>
#include <vector>

namespace fw::ui {

struct TabStyle {
    QColor text;        // invalid = the style's
    QColor background;  // invalid = the style's
    int weight = 0;     // font weight 100..900 (400 normal, 700 bold); 0 = the sheet's
    bool operator==(const TabStyle&) const = default;
};

class SheetTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit SheetTabBar(QWidget* parent = nullptr);
    TabStyle tabStyle(int index) const;
    void setTabStyle(int index, const TabStyle& style);

signals:
    void tabRequested(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize tabSizeHint(int index) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void tabInserted(int index) override;
    void tabRemoved(int index) override;

private:
    QFont TabFont(int index) const;
    std::vector<TabStyle> styles_;
};

class SheetWidget : public QTabWidget {
    Q_OBJECT
public:
    explicit SheetWidget(QWidget* parent = nullptr);

    // A new tab with an empty page for its controls; returns its index.
    int addSheetTab(const QString& text);

    void setTabTextColor(int index, const QColor& color);
    void setTabBackgroundColor(int index, const QColor& color);
    void setTabFontWeight(int index, int weight);
    TabStyle tabStyle(int index) const { return bar_->tabStyle(index); }
    SheetTabBar* sheetTabBar() const { return bar_; }

    // What a user's click on the tab does (tabChanging, then the change).
    void requestTabChange(int index);
    void setConfirmTabChanges(bool on) { confirm_ = on; }
    int pendingTab() const { return pending_; }  // -1 when none
    void confirmTabChange();
    void cancelTabChange() { pending_ = -1; }

signals:
    void tabChanging(int from, int to);
    void newSelection(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int NextEnabled(int from, int step) const;

    SheetTabBar* bar_;
    bool confirm_ = false;
    int pending_ = -1;
};

}  // namespace fw::ui
