#include "platform/ui/widgets/paged_list_widget.h"

#include "platform/text/codepage.h"
#include "platform/text/numbers.h"
#include "platform/text/picture.h"
#include "platform/text/strings.h"
#include "platform/ui/widgets/color.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace fw::ui {
namespace {

constexpr int kCellPadding = 2;  // pixels left and right of a cell's text
constexpr int kLongText = 20;    // a text picture this long makes a flexible column

char PictureKind(const std::string& picture) {
    return picture.size() >= 2 ? static_cast<char>(std::toupper(static_cast<unsigned char>(picture[1]))) : 0;
}

// Long text columns (titles, names) share the width the others leave.
bool Flexible(const ListColumn& c) {
    return PictureKind(c.picture) == 'S' && NumericValue(c.picture.substr(2)) >= kLongText;
}

Qt::Alignment AlignmentOf(Justify j) {
    switch (j) {
        case Justify::Center: return Qt::AlignHCenter;
        case Justify::Right:
        case Justify::Decimal: return Qt::AlignRight;
        case Justify::Left: break;
    }
    return Qt::AlignLeft;
}

// A colour field of a row: -1 (default) when absent, empty or not a number.
std::int32_t ColorField(const ListRow& row, int field) {
    if (field < 1 || field > static_cast<int>(row.size())) return -1;
    const std::string& t = row[static_cast<size_t>(field - 1)];
    if (t.empty()) return -1;
    char* end = nullptr;
    const long long v = std::strtoll(t.c_str(), &end, 10);
    if (end == t.c_str()) return -1;
    return static_cast<std::int32_t>(v);
}

QColor FirstValid(std::initializer_list<QColor> colors) {
    for (const auto& c : colors)
        if (c.isValid()) return c;
    return {};
}

}  // namespace

PagedListWidget::PagedListWidget(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    // Columns wider than the list scroll across; rows never scroll by Qt.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int x) {
        header_->setOffset(x);
        viewport()->update();
        PlaceEditor();
    });
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setRange(0, 100);
    verticalScrollBar()->setPageStep(10);
    verticalScrollBar()->installEventFilter(this);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &PagedListWidget::OnScrollAction);
    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, &PagedListWidget::OnThumbReleased);

    headerModel_ = new QStandardItemModel(this);
    header_ = new QHeaderView(Qt::Horizontal, this);
    header_->setModel(headerModel_);
    header_->setSectionsClickable(false);
    header_->setSectionsMovable(false);
    header_->setHighlightSections(false);
    header_->setStretchLastSection(false);
    header_->setMinimumSectionSize(0);
    header_->hide();
    connect(header_, &QHeaderView::sectionResized, this, [this](int index, int, int size) {
        if (!applyingColumns_ && index >= 0 && index < columnCount())
            format_.columns[static_cast<size_t>(index)].width =
                static_cast<int>(std::lround(size / std::max(unitWidth_, 0.01)));
        viewport()->update();
        PlaceEditor();
    });
    viewport()->setAutoFillBackground(false);
}

PagedListWidget::~PagedListWidget() = default;

// ---- columns -------------------------------------------------------------

void PagedListWidget::setDialogUnitWidth(double pixelsPerUnit) {
    unitWidth_ = pixelsPerUnit > 0 ? pixelsPerUnit : 1.0;
    ApplyColumns();
}

void PagedListWidget::setFormat(const ListFormat& format) {
    format_ = format;
    format_.ResolveFields();
    ApplyColumns();
}

bool PagedListWidget::setFormatText(std::string_view text, std::string* error) {
    auto f = ListFormat::Parse(text, error);
    if (!f) return false;
    setFormat(*f);
    return true;
}

ListFormat PagedListWidget::format() const { return format_; }

int PagedListWidget::ColumnPixels(int dialogUnits) const {
    return static_cast<int>(std::lround(dialogUnits * unitWidth_));
}

// The width a column needs to show its heading and its field's longest
// value in the list's font (not less than its format's width).
int PagedListWidget::NaturalPixels(const ListColumn& c) const {
    // A column one unit wide carries its field without showing it.
    if (c.width == 1) return ColumnPixels(c.width);
    return std::max(ColumnPixels(c.width), FieldPixels(c));
}

// The width of the heading and of the field's longest value. A short text
// field holds codes (disc IDs such as "PARTYTYME-12345"): capitals and
// digits, wider than the average letter of the long texts.
int PagedListWidget::FieldPixels(const ListColumn& c) const {
    const QFontMetrics fm(font());
    int need = 0;
    if (c.hasHeading) need = fm.horizontalAdvance(AnsiToQString(c.heading)) + 4 * kCellPadding;
    const char kind = PictureKind(c.picture);
    int field = 0;
    if (kind == 'S') {
        const int length = static_cast<int>(NumericValue(c.picture.substr(2)));
        static const QString kCode = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-");
        const double perChar = length < kLongText ? static_cast<double>(fm.horizontalAdvance(kCode)) / kCode.size()
                                                  : fm.averageCharWidth();
        field = static_cast<int>(std::ceil(length * perChar));
    } else if (kind == 'D' || kind == 'T') {
        field = fm.horizontalAdvance(AnsiToQString(CLIP(FORMAT(80000.0, c.picture)))) + fm.averageCharWidth();
    } else if (kind) {
        // A number's widest showing: its picture filled with wide digits.
        std::string widest = FORMAT(888888888.0, c.picture);
        std::replace(widest.begin(), widest.end(), '#', '8');
        field = fm.horizontalAdvance(AnsiToQString(CLIP(widest)));
    }
    if (field > 0) need = std::max(need, field + 2 * kCellPadding + ColumnPixels(c.indent.value_or(0)));
    return need;
}

// The least width a column is given: a long text column's (or the last
// one's) its heading and its field's longest value, the others' their
// natural width; nothing for a column carrying a field unseen.
int PagedListWidget::LeastPixels(const ListColumn& c, bool flexible) const {
    if (!flexible) return NaturalPixels(c);
    return c.width == 1 ? 0 : std::max(FieldPixels(c), 2 * kCellPadding);
}

// The shown columns, and which of them share the spare width: the long
// text columns, else the last one.
void PagedListWidget::ShownColumns(std::vector<int>& shown, std::vector<int>& flexible) const {
    for (int i = 0; i < columnCount(); ++i) {
        const ListColumn& c = format_.columns[static_cast<size_t>(i)];
        if (c.width <= 0) continue;
        shown.push_back(i);
        if (Flexible(c)) flexible.push_back(i);
    }
    if (flexible.empty() && !shown.empty()) flexible.push_back(shown.back());
}

int PagedListWidget::widthToShowColumns() const {
    std::vector<int> shown, flexible;
    ShownColumns(shown, flexible);
    int need = 0;
    for (int i : shown) {
        const bool flex = std::find(flexible.begin(), flexible.end(), i) != flexible.end();
        need += LeastPixels(format_.columns[static_cast<size_t>(i)], flex);
    }
    // The rows' area lies inside the frame, beside the scroll bar where one
    // is or may come (a list holding all its rows shows one when they
    // outgrow it).
    const bool bar = scrollBarOn_ || mode_ == ListMode::WholeQueue;
    return need + 2 * frameWidth() + (bar ? verticalScrollBar()->sizeHint().width() : 0);
}

// Every column as wide as it needs; the long text columns (else the last
// one) take what is left of the list's width, in the proportions of their
// formats, so no empty strip stays right of the last column, but never
// less than their longest value needs: a column whose share falls short
// has its need, and the others share the rest. When the columns are wider
// than the list, a horizontal scroll bar shows the rest.
void PagedListWidget::FitColumns() {
    std::vector<int> shown, flexible;
    ShownColumns(shown, flexible);
    if (shown.empty()) return;
    int fixed = 0;
    std::vector<int> widths(static_cast<size_t>(columnCount()), 0);
    for (int i : shown) {
        const ListColumn& c = format_.columns[static_cast<size_t>(i)];
        const bool flex = std::find(flexible.begin(), flexible.end(), i) != flexible.end();
        widths[static_cast<size_t>(i)] = flex ? ColumnPixels(c.width) : NaturalPixels(c);
        if (!flex) fixed += widths[static_cast<size_t>(i)];
    }
    const int room = viewport()->width();
    std::vector<int> sharing = flexible;
    int share = std::max(0, room - fixed);
    while (room > 0 && !sharing.empty()) {
        long long base = 0;
        for (int i : sharing) base += widths[static_cast<size_t>(i)];
        if (base <= 0) break;
        // The columns whose proportional share is less than they need take
        // their need first.
        std::vector<int> needy;
        for (int i : sharing) {
            const int floor = LeastPixels(format_.columns[static_cast<size_t>(i)], true);
            if (share * widths[static_cast<size_t>(i)] / base < floor) needy.push_back(i);
        }
        if (needy.empty()) {
            int given = 0;
            for (std::size_t k = 0; k < sharing.size(); ++k) {
                const auto i = static_cast<size_t>(sharing[k]);
                const int w = k + 1 == sharing.size() ? share - given : static_cast<int>(share * widths[i] / base);
                widths[i] = w;
                given += w;
            }
            break;
        }
        for (int i : needy) {
            const int floor = LeastPixels(format_.columns[static_cast<size_t>(i)], true);
            widths[static_cast<size_t>(i)] = floor;
            share = std::max(0, share - floor);
            sharing.erase(std::find(sharing.begin(), sharing.end(), i));
        }
    }
    const bool was = applyingColumns_;
    applyingColumns_ = true;
    for (int i : shown) header_->resizeSection(i, widths[static_cast<size_t>(i)]);
    applyingColumns_ = was;
    SyncHorizontalScroll();
}

void PagedListWidget::SyncHorizontalScroll() {
    QScrollBar* bar = horizontalScrollBar();
    bar->setRange(0, std::max(0, header_->length() - viewport()->width()));
    bar->setPageStep(std::max(1, viewport()->width()));
    bar->setSingleStep(std::max(1, QFontMetrics(font()).averageCharWidth() * 4));
    header_->setOffset(bar->value());
}

int PagedListWidget::HeaderHeight() const {
    return header_->isHidden() ? 0 : header_->sizeHint().height();
}

void PagedListWidget::ApplyColumns() {
    applyingColumns_ = true;
    const int n = columnCount();
    headerModel_->setColumnCount(n);
    bool anyHeading = false;
    for (int i = 0; i < n; ++i) {
        const ListColumn& c = format_.columns[static_cast<size_t>(i)];
        auto* item = new QStandardItem(AnsiToQString(c.heading));
        item->setTextAlignment(AlignmentOf(c.EffectiveHeadingJustify()) | Qt::AlignVCenter);
        headerModel_->setHorizontalHeaderItem(i, item);
        anyHeading = anyHeading || c.hasHeading;
        header_->setSectionHidden(i, c.width <= 0);
        header_->setSectionResizeMode(i, c.resizable ? QHeaderView::Interactive : QHeaderView::Fixed);
    }
    FitColumns();
    header_->setVisible(anyHeading);
    applyingColumns_ = false;
    setViewportMargins(0, HeaderHeight(), 0, 0);
    LayoutHeader();
    EnsureVisible();
    SyncScrollBar();
    PlaceEditor();
    viewport()->update();
}

void PagedListWidget::LayoutHeader() {
    const QRect vg = viewport()->geometry();
    const int h = HeaderHeight();
    header_->setGeometry(vg.left(), vg.top() - h, vg.width(), h);
}

void PagedListWidget::setMode(ListMode mode) {
    mode_ = mode;
    SyncScrollBar();
}

void PagedListWidget::setListColors(const CellColors& colors) {
    listColors_ = colors;
    viewport()->update();
}

// ---- rows ----------------------------------------------------------------

void PagedListWidget::setRows(std::vector<ListRow> rows) {
    rows_ = std::move(rows);
    const int n = rowCount();
    if (n == 0)
        selected_ = 0;
    else
        selected_ = std::clamp(selected_, 1, n);
    EnsureVisible();
    SyncScrollBar();
    PlaceEditor();
    viewport()->update();
}

QString PagedListWidget::cellText(int row, int column) const {
    if (row < 1 || row > rowCount() || column < 1 || column > columnCount()) return {};
    const ListColumn& c = format_.columns[static_cast<size_t>(column - 1)];
    const ListRow& r = rows_[static_cast<size_t>(row - 1)];
    if (c.field < 1 || c.field > static_cast<int>(r.size())) return {};
    return AnsiToQString(c.Show(r[static_cast<size_t>(c.field - 1)]));
}

CellColors PagedListWidget::FieldColors(const ListRow& row, const ListColumn& column) const {
    CellColors out;
    if (!column.colored) return out;
    out.fg = ColorFromBgr(ColorField(row, column.field + 1));
    out.bg = ColorFromBgr(ColorField(row, column.field + 2));
    out.selectedFg = ColorFromBgr(ColorField(row, column.field + 3));
    out.selectedBg = ColorFromBgr(ColorField(row, column.field + 4));
    return out;
}

CellColors PagedListWidget::cellColors(int row, int column) const {
    CellColors e;
    const QPalette& pal = palette();
    CellColors cell, def;
    if (column >= 1 && column <= columnCount()) {
        const ListColumn& c = format_.columns[static_cast<size_t>(column - 1)];
        if (row >= 1 && row <= rowCount()) cell = FieldColors(rows_[static_cast<size_t>(row - 1)], c);
        if (c.hasDefaultColors) {
            auto pick = [&](size_t i) { return c.defaultColors[i] ? ColorFromBgr(*c.defaultColors[i]) : QColor(); };
            def = {pick(0), pick(1), pick(2), pick(3)};
        }
    }
    e.fg = FirstValid({cell.fg, def.fg, listColors_.fg, pal.color(QPalette::Text)});
    e.bg = FirstValid({cell.bg, def.bg, listColors_.bg, pal.color(QPalette::Base)});
    e.selectedFg = FirstValid({cell.selectedFg, def.selectedFg, listColors_.selectedFg, pal.color(QPalette::HighlightedText)});
    e.selectedBg = FirstValid({cell.selectedBg, def.selectedBg, listColors_.selectedBg, pal.color(QPalette::Highlight)});
    return e;
}

// ---- page and highlight ---------------------------------------------------

int PagedListWidget::rowHeight() const { return fontMetrics().height() + 2; }

int PagedListWidget::items() const {
    const int body = height() - 2 * frameWidth() - HeaderHeight();
    return std::max(0, body / rowHeight());
}

void PagedListWidget::setItems(int count) {
    count = std::max(1, count);
    resize(width(), count * rowHeight() + HeaderHeight() + 2 * frameWidth());
}

void PagedListWidget::setSelected(int row) {
    selected_ = rowCount() == 0 ? 0 : std::clamp(row, 0, rowCount());
    EnsureVisible();
    SyncScrollBar();
    PlaceEditor();
    viewport()->update();
}

void PagedListWidget::EnsureVisible() {
    const int page = std::max(1, items());
    top_ = std::clamp(top_, 0, std::max(0, rowCount() - page));
    if (selected_ < 1) return;
    const int idx = selected_ - 1;
    if (idx < top_) top_ = idx;
    if (idx >= top_ + page) top_ = idx - page + 1;
}

// ---- scroll bar ------------------------------------------------------------

void PagedListWidget::setScrollBarOn(bool on) {
    scrollBarOn_ = on;
    setVerticalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    LayoutHeader();
    PlaceEditor();
}

void PagedListWidget::setScrollPosition(int thumb) {
    thumb_ = std::clamp(thumb, 0, 100);
    const QSignalBlocker block(verticalScrollBar());
    verticalScrollBar()->setValue(thumb_);
    verticalScrollBar()->setSliderPosition(thumb_);
}

int PagedListWidget::scrollPosition() const { return verticalScrollBar()->sliderPosition(); }

void PagedListWidget::SyncScrollBar() {
    if (mode_ != ListMode::WholeQueue) return;
    const int n = rowCount();
    if (scrollBarOn_ != (n > items())) setScrollBarOn(n > items());
    setScrollPosition(n <= 1 || selected_ < 1 ? 0 : (selected_ - 1) * 100 / (n - 1));
}

void PagedListWidget::OnScrollAction(int action) {
    Move move;
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub: move = Move::Up; break;
        case QAbstractSlider::SliderSingleStepAdd: move = Move::Down; break;
        case QAbstractSlider::SliderPageStepSub: move = Move::PageUp; break;
        case QAbstractSlider::SliderPageStepAdd: move = Move::PageDown; break;
        case QAbstractSlider::SliderToMinimum: move = Move::Top; break;
        case QAbstractSlider::SliderToMaximum: move = Move::Bottom; break;
        default: return;  // the thumb is being dragged: reported when let go
    }
    // The thumb stays where the program (or the highlight) put it.
    verticalScrollBar()->setSliderPosition(thumb_);
    Request(move);
}

void PagedListWidget::OnThumbReleased() {
    const int p = verticalScrollBar()->sliderPosition();
    if (mode_ == ListMode::Paged) {
        thumb_ = p;
        emit scrollDrag(p);
        return;
    }
    const int n = rowCount();
    if (n == 0) {
        SyncScrollBar();
        return;
    }
    MoveHighlight(p <= 1 ? 1 : p >= 100 ? n : std::clamp(n * p / 100, 1, n));
    SyncScrollBar();
}

void PagedListWidget::Request(Move move) {
    if (mode_ == ListMode::Paged) {
        switch (move) {
            case Move::Up: emit scrollUp(); break;
            case Move::Down: emit scrollDown(); break;
            case Move::PageUp: emit pageUp(); break;
            case Move::PageDown: emit pageDown(); break;
            case Move::Top: emit scrollTop(); break;
            case Move::Bottom: emit scrollBottom(); break;
        }
        return;
    }
    const int page = std::max(1, items());
    switch (move) {
        case Move::Up: MoveHighlight(selected_ - 1); break;
        case Move::Down: MoveHighlight(selected_ + 1); break;
        case Move::PageUp: MoveHighlight(selected_ - page); break;
        case Move::PageDown: MoveHighlight(selected_ + page); break;
        case Move::Top: MoveHighlight(1); break;
        case Move::Bottom: MoveHighlight(rowCount()); break;
    }
}

void PagedListWidget::MoveHighlight(int row) {
    if (rowCount() == 0) return;
    row = std::clamp(row, 1, rowCount());
    if (row == selected_) return;
    setSelected(row);
    emit newSelection();
}

// ---- input -----------------------------------------------------------------

bool PagedListWidget::moveByKey(int key) {
    switch (key) {
        case Qt::Key_Up: Request(Move::Up); return true;
        case Qt::Key_Down: Request(Move::Down); return true;
        case Qt::Key_PageUp: Request(Move::PageUp); return true;
        case Qt::Key_PageDown: Request(Move::PageDown); return true;
        case Qt::Key_Home: Request(Move::Top); return true;
        case Qt::Key_End: Request(Move::Bottom); return true;
        default: return false;
    }
}

void PagedListWidget::keyPressEvent(QKeyEvent* event) {
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool plain = mods == Qt::NoModifier;
    const bool ctrlOnly = mods == Qt::ControlModifier;
    const int key = event->key();
    const bool homeOrEnd = key == Qt::Key_Home || key == Qt::Key_End;
    if ((plain || (ctrlOnly && homeOrEnd)) && moveByKey(key)) return;
    if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        emit accepted();
        return;
    }
    event->ignore();
}

void PagedListWidget::wheelEvent(QWheelEvent* event) {
    wheelRest_ += event->angleDelta().y();
    while (wheelRest_ >= 120) {
        wheelRest_ -= 120;
        Request(Move::Up);
    }
    while (wheelRest_ <= -120) {
        wheelRest_ += 120;
        Request(Move::Down);
    }
    event->accept();
}

bool PagedListWidget::eventFilter(QObject* watched, QEvent* event) {
    // The wheel over the scroll bar scrolls like the wheel over the rows
    // (not while the list is disabled: filters see events Qt then drops).
    if (watched == verticalScrollBar() && event->type() == QEvent::Wheel) {
        if (!isEnabled()) return false;
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void PagedListWidget::PressOnRows(QMouseEvent* event, bool doubleClick) {
    const QPoint pos = event->position().toPoint();
    mouseDownRow_ = rowAt(pos);
    mouseDownColumn_ = columnAt(pos.x());
    const Qt::MouseButton button = event->button();
    emit mouseDown(mouseDownRow_, mouseDownColumn_, button, doubleClick);
    if (mouseDownRow_ > 0 && (button == Qt::LeftButton || button == Qt::RightButton)) {
        setSelected(mouseDownRow_);
        emit newSelection();
        if (doubleClick && button == Qt::LeftButton) emit accepted();
    }
}

void PagedListWidget::noteMouseDown(const QPoint& pos) {
    mouseDownRow_ = rowAt(pos);
    mouseDownColumn_ = columnAt(pos.x());
}

void PagedListWidget::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    PressOnRows(event, false);
}

void PagedListWidget::mouseDoubleClickEvent(QMouseEvent* event) { PressOnRows(event, true); }

void PagedListWidget::scrollContentsBy(int, int) {
    // The scroll bar never moves the rows: the list or its program does.
}

bool PagedListWidget::viewportEvent(QEvent* event) {
    // The viewport's events come through a filter, also while the list is
    // disabled: a disabled list takes no wheel.
    if (event->type() == QEvent::Wheel && isEnabled()) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

bool PagedListWidget::event(QEvent* event) {
    // A press sent to the list itself (not to its rows' viewport) counts
    // where it lands on the rows. Not while the list is disabled (its
    // window blocked by a dialog, say): the viewport ignores the press and
    // Qt hands it back to the list, so passing it on again would never
    // end. A press handed back while one is being passed on stays here too.
    if ((event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) && isEnabled() &&
        !forwardingPress_) {
        auto* m = static_cast<QMouseEvent*>(event);
        const QPointF at = viewport()->mapFrom(this, m->position());
        if (viewport()->rect().contains(at.toPoint())) {
            QMouseEvent mapped(m->type(), at, m->globalPosition(), m->button(), m->buttons(), m->modifiers());
            forwardingPress_ = true;
            QApplication::sendEvent(viewport(), &mapped);
            forwardingPress_ = false;
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void PagedListWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    FitColumns();
    LayoutHeader();
    EnsureVisible();
    SyncScrollBar();
    PlaceEditor();
}

void PagedListWidget::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    // A new font changes the row height and the heading's.
    if (event->type() == QEvent::FontChange) {
        header_->setFont(font());
        ApplyColumns();
    }
}

// ---- geometry and painting --------------------------------------------------

int PagedListWidget::rowAt(const QPoint& pos) const {
    if (pos.y() < 0) return 0;
    const int r = top_ + pos.y() / rowHeight();
    return r < rowCount() ? r + 1 : 0;
}

int PagedListWidget::columnPixels(int column) const {
    if (column < 1 || column > columnCount() || header_->isSectionHidden(column - 1)) return 0;
    return header_->sectionSize(column - 1);
}

int PagedListWidget::columnAt(int x) const {
    if (columnCount() == 0) return 0;
    return header_->logicalIndexAt(x) + 1;
}

QRect PagedListWidget::cellRect(int row, int column) const {
    if (row <= top_ || row > rowCount() || column < 1 || column > columnCount()) return {};
    if (header_->isSectionHidden(column - 1)) return {};
    const int rh = rowHeight();
    const int y = (row - 1 - top_) * rh;
    if (y >= viewport()->height() && viewport()->height() > 0) return {};
    return {header_->sectionViewportPosition(column - 1), y, header_->sectionSize(column - 1), rh};
}

void PagedListWidget::setCellEditor(QWidget* editor, int column) {
    if (editor_ && editor_ != editor) editor_->hide();
    editor_ = editor;
    editorColumn_ = editor ? column : 0;
    if (editor_) editor_->setParent(viewport());
    PlaceEditor();
}

void PagedListWidget::PlaceEditor() {
    if (!editor_) return;
    const QRect r = cellRect(selected_, editorColumn_);
    if (r.isEmpty()) {
        editor_->hide();
        return;
    }
    editor_->setGeometry(r);
    editor_->show();
}

void PagedListWidget::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const QRect area = viewport()->rect();
    const QColor background = FirstValid({listColors_.bg, palette().color(QPalette::Base)});
    p.fillRect(area, background);
    const int rh = rowHeight();
    const int n = columnCount();
    for (int r = top_, y = 0; r < rowCount() && y < area.height(); ++r, y += rh) {
        const int row = r + 1;
        const bool sel = row == selected_;
        if (sel)
            p.fillRect(QRect(0, y, area.width(), rh),
                       FirstValid({listColors_.selectedBg, palette().color(QPalette::Highlight)}));
        for (int i = 0; i < n; ++i) {
            if (header_->isSectionHidden(i)) continue;
            const ListColumn& c = format_.columns[static_cast<size_t>(i)];
            const QRect cell(header_->sectionViewportPosition(i), y, header_->sectionSize(i), rh);
            const CellColors colors = cellColors(row, i + 1);
            p.fillRect(cell, sel ? colors.selectedBg : colors.bg);
            p.setPen(sel ? colors.selectedFg : colors.fg);
            const int indent = kCellPadding + ColumnPixels(c.indent.value_or(0));
            p.drawText(cell.adjusted(indent, 0, -kCellPadding, 0),
                       static_cast<int>(AlignmentOf(c.justify) | Qt::AlignVCenter) | Qt::TextSingleLine,
                       cellText(row, i + 1));
        }
    }
    // Right borders run the list's full height.
    p.setPen(palette().color(QPalette::Mid));
    for (int i = 0; i < n; ++i) {
        if (header_->isSectionHidden(i) || !format_.columns[static_cast<size_t>(i)].rightBorder) continue;
        const int x = header_->sectionViewportPosition(i) + header_->sectionSize(i) - 1;
        p.drawLine(x, 0, x, area.height());
    }
    if (hasFocus() && selected_ > top_) {
        QRect focus(0, (selected_ - 1 - top_) * rh, area.width(), rh);
        p.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
        p.drawRect(focus.adjusted(0, 0, -1, -1));
    }
}

}  // namespace fw::ui
