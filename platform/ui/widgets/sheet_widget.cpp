#include "platform/ui/widgets/sheet_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <algorithm>

namespace fw::ui {

// ---- tab bar ---------------------------------------------------------------

SheetTabBar::SheetTabBar(QWidget* parent) : QTabBar(parent) {}

TabStyle SheetTabBar::tabStyle(int index) const {
    if (index < 0 || index >= static_cast<int>(styles_.size())) return {};
    return styles_[static_cast<size_t>(index)];
}

void SheetTabBar::setTabStyle(int index, const TabStyle& style) {
    if (index < 0 || index >= static_cast<int>(styles_.size())) return;
    const bool resize = styles_[static_cast<size_t>(index)].weight != style.weight;
    styles_[static_cast<size_t>(index)] = style;
    if (resize) {
        // Tab sizes are cached by QTabBar; a text change recomputes them.
        const QString t = tabText(index);
        setTabText(index, t + QLatin1Char(' '));
        setTabText(index, t);
    }
    update();
}

void SheetTabBar::tabInserted(int index) {
    styles_.insert(styles_.begin() + index, TabStyle{});
    QTabBar::tabInserted(index);
}

void SheetTabBar::tabRemoved(int index) {
    if (index >= 0 && index < static_cast<int>(styles_.size())) styles_.erase(styles_.begin() + index);
    QTabBar::tabRemoved(index);
}

QFont SheetTabBar::TabFont(int index) const {
    QFont f = font();
    const int weight = tabStyle(index).weight;
    if (weight > 0) f.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
    return f;
}

QSize SheetTabBar::tabSizeHint(int index) const {
    QSize s = QTabBar::tabSizeHint(index);
    if (tabStyle(index).weight > 0) {
        const QString t = tabText(index);
        s.rwidth() += QFontMetrics(TabFont(index)).horizontalAdvance(t) - fontMetrics().horizontalAdvance(t);
    }
    return s;
}

void SheetTabBar::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    const int current = currentIndex();
    auto paintTab = [&](int i) {
        QStyleOptionTab opt;
        initStyleOption(&opt, i);
        const TabStyle& st = styles_[static_cast<size_t>(i)];
        if (st.background.isValid()) {
            opt.palette.setColor(QPalette::Button, st.background);
            opt.palette.setColor(QPalette::Window, st.background);
        }
        if (st.text.isValid()) {
            opt.palette.setColor(QPalette::WindowText, st.text);
            opt.palette.setColor(QPalette::ButtonText, st.text);
        }
        p.drawControl(QStyle::CE_TabBarTabShape, opt);
        if (st.background.isValid()) p.fillRect(opt.rect.adjusted(2, 2, -2, -2), st.background);
        p.setFont(TabFont(i));
        p.drawControl(QStyle::CE_TabBarTabLabel, opt);
    };
    for (int i = 0; i < count(); ++i)
        if (i != current) paintTab(i);
    if (current >= 0) paintTab(current);  // the current tab overlaps its neighbours
}

void SheetTabBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QTabBar::mousePressEvent(event);
    const int i = tabAt(event->position().toPoint());
    if (i >= 0 && i != currentIndex() && isTabEnabled(i)) emit tabRequested(i);
    event->accept();
}

void SheetTabBar::keyPressEvent(QKeyEvent* event) {
    int step = 0;
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Up) step = -1;
    if (event->key() == Qt::Key_Right || event->key() == Qt::Key_Down) step = 1;
    if (step == 0) return QTabBar::keyPressEvent(event);
    for (int i = currentIndex() + step; i >= 0 && i < count(); i += step) {
        if (isTabEnabled(i) && isTabVisible(i)) {
            emit tabRequested(i);
            break;
        }
    }
    event->accept();
}

void SheetTabBar::wheelEvent(QWheelEvent* event) {
    // The wheel does not flip tabs: every change goes through a request.
    event->ignore();
}

// ---- sheet -----------------------------------------------------------------

SheetWidget::SheetWidget(QWidget* parent) : QTabWidget(parent), bar_(new SheetTabBar(this)) {
    setTabBar(bar_);
    connect(bar_, &SheetTabBar::tabRequested, this, &SheetWidget::requestTabChange);
}

int SheetWidget::addSheetTab(const QString& text) { return addTab(new QWidget, text); }

void SheetWidget::setTabTextColor(int index, const QColor& color) {
    TabStyle s = bar_->tabStyle(index);
    s.text = color;
    bar_->setTabStyle(index, s);
}

void SheetWidget::setTabBackgroundColor(int index, const QColor& color) {
    TabStyle s = bar_->tabStyle(index);
    s.background = color;
    bar_->setTabStyle(index, s);
}

void SheetWidget::setTabFontWeight(int index, int weight) {
    TabStyle s = bar_->tabStyle(index);
    s.weight = weight;
    bar_->setTabStyle(index, s);
}

void SheetWidget::requestTabChange(int index) {
    if (index < 0 || index >= count() || index == currentIndex() || !isTabEnabled(index)) return;
    pending_ = index;
    emit tabChanging(currentIndex(), index);
    if (!confirm_ && pending_ == index) confirmTabChange();
}

void SheetWidget::confirmTabChange() {
    if (pending_ < 0 || pending_ >= count()) {
        pending_ = -1;
        return;
    }
    const int index = pending_;
    pending_ = -1;
    setCurrentIndex(index);
    emit newSelection(index);
}

int SheetWidget::NextEnabled(int from, int step) const {
    const int n = count();
    for (int k = 1; k < n; ++k) {
        const int i = ((from + step * k) % n + n) % n;
        if (isTabEnabled(i) && isTabVisible(i)) return i;
    }
    return -1;
}

void SheetWidget::keyPressEvent(QKeyEvent* event) {
    // Ctrl+Tab and Ctrl+PgDn go to the next tab, Ctrl+Shift+Tab and Ctrl+PgUp back.
    int step = 0;
    if (event->modifiers() & Qt::ControlModifier) {
        switch (event->key()) {
            case Qt::Key_Tab: step = (event->modifiers() & Qt::ShiftModifier) ? -1 : 1; break;
            case Qt::Key_Backtab: step = -1; break;
            case Qt::Key_PageDown: step = 1; break;
            case Qt::Key_PageUp: step = -1; break;
            default: break;
        }
    }
    if (step == 0) return QTabWidget::keyPressEvent(event);
    const int i = NextEnabled(currentIndex(), step);
    if (i >= 0) requestTabChange(i);
    event->accept();
}

}  // namespace fw::ui
