// The list, sheet, tab, box, line, ellipse and image controls: the
// framework's own widgets (platform/ui/widgets) with their signals turned
// into the window's events and their state into properties.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

#include "platform/ui/controls/control_kinds.h"
#include "platform/ui/events.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/window.h"

namespace fw {

// -- list --

ListControl::ListControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    list_ = new ui::PagedListWidget;
    Adopt(list_);
    list_->setDialogUnitWidth(w.DuToPxX(1000) / 1000.0);
    list_->setMode(l.Has("paged") ? ui::ListMode::Paged : ui::ListMode::WholeQueue);
    ApplyFormat(l.format);
    if (l.items > 0) list_->setItems(l.items);
    if (l.Has("vscroll")) list_->setScrollBarOn(true);
    std::vector<ui::ListRow> rows;
    for (std::string& row : SplitRows(l.from)) rows.push_back({std::move(row)});
    list_->setRows(std::move(rows));
    ApplyListColors();
    auto queue = [this](int event) { return [this, event] { Queue(event); }; };
    QObject::connect(list_, &ui::PagedListWidget::scrollUp, list_, queue(Event::ScrollUp));
    QObject::connect(list_, &ui::PagedListWidget::scrollDown, list_, queue(Event::ScrollDown));
    QObject::connect(list_, &ui::PagedListWidget::pageUp, list_, queue(Event::PageUp));
    QObject::connect(list_, &ui::PagedListWidget::pageDown, list_, queue(Event::PageDown));
    QObject::connect(list_, &ui::PagedListWidget::scrollTop, list_, queue(Event::ScrollTop));
    QObject::connect(list_, &ui::PagedListWidget::scrollBottom, list_, queue(Event::ScrollBottom));
    QObject::connect(list_, &ui::PagedListWidget::scrollDrag, list_, queue(Event::ScrollDrag));
    QObject::connect(list_, &ui::PagedListWidget::newSelection, list_, queue(Event::NewSelection));
    QObject::connect(list_, &ui::PagedListWidget::accepted, list_, queue(Event::Accepted));
}

void ListControl::ApplyFormat(const std::string& format) {
    // A list without a FORMAT shows its rows' first field across its width.
    const std::string f = format.empty() ? std::to_string(std::max(1, layout_.at.w)) + "L" : format;
    if (list_->setFormatText(f)) layout_.format = format;
}

void ListControl::ApplyListColors() {
    list_->setListColors({ColorFromValue(fontColor_), ColorFromValue(color_), ColorFromValue(selectedColor_),
                          ColorFromValue(selectedFill_)});
}

void ListControl::SetRows(std::vector<ui::ListRow> rows) { list_->setRows(std::move(rows)); }

namespace {
// A press of the button on the row's first shown cell. A left click brings
// the row into view first; a right click lands on the row where it is shown.
bool PressOnRow(ui::PagedListWidget* list, int row, Qt::MouseButton button) {
    if (button == Qt::LeftButton) list->setSelected(row);
    int column = 1;
    while (column <= list->columnCount() && list->cellRect(row, column).isEmpty()) ++column;
    const QRect cell = list->cellRect(row, column);
    if (cell.isEmpty()) return false;
    QWidget* target = list->viewport();
    const QPointF at = cell.center();
    QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    return true;
}
}  // namespace

bool ListControl::UserChoose(int row) {
    if (!Usable() || row < 1 || row > list_->rowCount()) return false;
    return PressOnRow(list_, row, Qt::LeftButton);
}

bool ListControl::UserRightClick(int row) {
    if (!Usable() || row < 1 || row > list_->rowCount()) return false;
    return PressOnRow(list_, row, Qt::RightButton);
}

bool ListControl::UserDoubleClick(int row, int column) {
    if (!Usable() || row < 1 || row > list_->rowCount()) return false;
    list_->setSelected(row);
    const QRect cell = list_->cellRect(row, column);
    if (cell.isEmpty()) return false;
    QWidget* target = list_->viewport();
    const QPointF at = cell.center();
    // As Qt delivers a double-click: press, release, double-click, release.
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent e(type, at, target->mapToGlobal(at), Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
    return true;
}

void ListControl::NoteAlertedPress(QWidget* receiver, const QPoint& pos) {
    QWidget* viewport = list_->viewport();
    if (!receiver || (receiver != viewport && !viewport->isAncestorOf(receiver) && receiver != list_)) return;
    list_->noteMouseDown(viewport->mapFromGlobal(receiver->mapToGlobal(pos)));
}

// The cell of the highlighted row in `column` opens for typing (0 closes
// it). The keys that end typing come back as EVENT:EditKey; Delete deletes
// a character, as in any entry. The list's PROP:ReadOnly makes the cell
// read-only, and an editable cell is bold.
ui::ListCellEditor* ListControl::Editor() {
    if (!editor_) {
        editor_ = new ui::ListCellEditor(list_->viewport());
        editor_->hide();
        editor_->setDeleteEdits(true);  // as in any entry
        // The list's picture (@s15) limits what the cell takes.
        const std::string& pic = layout_.picture;
        if (pic.size() > 2 && (pic[1] == 's' || pic[1] == 'S')) editor_->setMaxLength(std::atoi(pic.c_str() + 2));
        QObject::connect(editor_, &ui::ListCellEditor::editKey, editor_, [this](int) { Queue(Event::EditKey); });
    }
    return editor_;
}

void ListControl::OpenCell(int column) {
    if (column <= 0) {
        list_->setCellEditor(nullptr, 0);
        return;
    }
    ui::ListCellEditor* editor = Editor();
    editor->setReadOnly(editReadOnly_);
    QFont f = list_->font();
    f.setBold(!editReadOnly_);
    editor->setFont(f);
    list_->setCellEditor(editor, column);
    if (editor->isVisible() && Usable()) editor->setFocus();
}

QWidget* ListControl::KeyTarget() const {
    if (editor_ && list_->cellEditorColumn() > 0 && editor_->isVisible()) return editor_;
    return list_;
}

bool ListControl::KeepsKey(QWidget* receiver, int keyCode) const {
    if (!editor_ || receiver != editor_ || editor_->isReadOnly()) return false;
    if (keyCode & (KeyCode::Ctrl | KeyCode::Alt)) return false;
    switch (keyCode & 0xFF) {
    case KeyCode::Enter: case KeyCode::Esc: case KeyCode::Up: case KeyCode::Down: case KeyCode::PgUp:
    case KeyCode::PgDn: case KeyCode::Home: case KeyCode::End: case KeyCode::Left: case KeyCode::Right:
        return false;  // they end typing (EVENT:EditKey)
    default: return true;
    }
}

bool ListControl::UserType(const std::string& text) {
    if (!Usable() || !editor_ || list_->cellEditorColumn() == 0 || editor_->isReadOnly()) return false;
    editor_->setText(Q(text));
    return true;
}

bool ListControl::UserPress() {
    if (!Usable() || list_->selected() == 0) return false;
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(list_, &enter);
    return true;
}

std::vector<std::string> ListControl::Rows() const {
    std::vector<std::string> out;
    const ui::ListFormat f = list_->format();
    for (int r = 1; r <= list_->rowCount(); ++r) {
        std::string row;
        bool first = true;
        for (int c = 1; c <= list_->columnCount(); ++c) {
            if (f.columns[static_cast<std::size_t>(c - 1)].width <= 0) continue;
            if (!first) row += '|';
            row += A(list_->cellText(r, c));
            first = false;
        }
        out.push_back(std::move(row));
    }
    return out;
}

int ListControl::Highlight() const { return list_->selected(); }

std::string ListControl::Text() const {
    const int r = list_->selected();
    if (r < 1) return {};
    return Rows()[static_cast<std::size_t>(r - 1)];
}

void ListControl::Set(Prop prop, const PropValue& value, int index) {
    switch (prop) {
    case Prop::From: {
        std::vector<ui::ListRow> rows;
        for (std::string& row : SplitRows(value.Str())) rows.push_back({std::move(row)});
        list_->setRows(std::move(rows));
        return;
    }
    case Prop::Selected: list_->setSelected(value.Int()); return;
    case Prop::Items: list_->setItems(value.Int()); return;
    case Prop::VScroll: list_->setScrollBarOn(value.Bool()); return;
    case Prop::VScrollPos: list_->setScrollPosition(value.Int()); return;
    case Prop::Format: ApplyFormat(value.Str()); return;
    case Prop::MouseDownField: list_->setMouseDownColumn(value.Int()); return;
    case Prop::EditColumn: OpenCell(value.Int()); return;
    case Prop::EditText: Editor()->setText(Q(value.Str())); return;
    case Prop::ReadOnly:
        editReadOnly_ = value.Bool();
        if (list_->cellEditorColumn() > 0) OpenCell(list_->cellEditorColumn());
        return;
    case Prop::FontColor: fontColor_ = value.Int(); ApplyListColors(); return;
    case Prop::Color: color_ = value.Int(); ApplyListColors(); return;
    case Prop::SelectedColor: selectedColor_ = value.Int(); ApplyListColors(); return;
    case Prop::SelectedFill: selectedFill_ = value.Int(); ApplyListColors(); return;
    default: Control::Set(prop, value, index);
    }
}

PropValue ListControl::Get(Prop prop, int index) const {
    switch (prop) {
    case Prop::Selected: return list_->selected();
    case Prop::Items: return list_->items();
    case Prop::VScroll: return list_->scrollBarOn() ? 1 : 0;
    case Prop::VScrollPos: return list_->scrollPosition();
    case Prop::Format: return layout_.format.empty() ? std::string() : list_->formatText();
    case Prop::MouseDownRow: return list_->mouseDownRow();
    case Prop::MouseDownField: return list_->mouseDownColumn();
    case Prop::EditColumn: return list_->cellEditorColumn();
    case Prop::EditText: return editor_ ? A(editor_->text()) : std::string();
    case Prop::ReadOnly: return editReadOnly_ ? 1 : 0;
    case Prop::SelectedColor: return selectedColor_;
    case Prop::SelectedFill: return selectedFill_;
    default: return Control::Get(prop, index);
    }
}

// -- sheet and tabs --

SheetControl::SheetControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    tabs_ = new ui::SheetWidget;
    Adopt(tabs_);
    widget_->lower();
    // The change waits for the program's EVENT:TabChanging pass (PassEnded).
    tabs_->setConfirmTabChanges(true);
    QObject::connect(tabs_, &ui::SheetWidget::tabChanging, tabs_, [this](int, int) { Queue(Event::TabChanging); });
    QObject::connect(tabs_, &ui::SheetWidget::newSelection, tabs_, [this](int) {
        window_.ApplyStates();
        Queue(Event::NewSelection);
    });
}

int SheetControl::AddTab(TabControl* tab, const std::string& text) {
    QSignalBlocker block(tabs_);
    tabList_.push_back(tab);
    return tabs_->addSheetTab(Q(text));
}

int SheetControl::IndexOf(const TabControl* tab) const {
    auto it = std::find(tabList_.begin(), tabList_.end(), tab);
    return it == tabList_.end() ? -1 : static_cast<int>(it - tabList_.begin());
}

void SheetControl::SetTabText(TabControl* tab, const std::string& text) {
    if (int i = IndexOf(tab); i >= 0) tabs_->setTabText(i, Q(text));
}

void SheetControl::StyleTab(TabControl* tab, long fontColor, long color, int fontStyle) {
    const int i = IndexOf(tab);
    if (i < 0) return;
    tabs_->setTabTextColor(i, ColorFromValue(fontColor));
    tabs_->setTabBackgroundColor(i, ColorFromValue(color));
    tabs_->setTabFontWeight(i, fontStyle & 0xFFF);
}

TabControl* SheetControl::Current() const {
    int i = tabs_->currentIndex();
    return i >= 0 && i < static_cast<int>(tabList_.size()) ? tabList_[i] : nullptr;
}

bool SheetControl::UserChoose(int tab) {
    if (!Usable() || tab < 1 || tab > tabs_->count()) return false;
    tabs_->requestTabChange(tab - 1);
    return true;
}

void SheetControl::PassEnded(int event, bool cycled) {
    if (event != Event::TabChanging) return;
    if (cycled)
        tabs_->cancelTabChange();
    else
        tabs_->confirmTabChange();
}

int SheetControl::Highlight() const { return tabs_->currentIndex() + 1; }

std::vector<std::string> SheetControl::Rows() const {
    std::vector<std::string> out;
    for (int i = 0; i < tabs_->count(); ++i) out.push_back(A(tabs_->tabText(i)));
    return out;
}

void SheetControl::Set(Prop prop, const PropValue& value, int index) {
    if (prop == Prop::Selected) {
        QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(value.Int() - 1);
        window_.ApplyStates();
        return;
    }
    if (prop == Prop::ChoiceFEQ) {
        for (std::size_t i = 0; i < tabList_.size(); ++i)
            if (tabList_[i]->Number() == value.Int()) Set(Prop::Selected, static_cast<int>(i + 1), 0);
        return;
    }
    Control::Set(prop, value, index);
}

PropValue SheetControl::Get(Prop prop, int index) const {
    if (prop == Prop::Selected) return tabs_->currentIndex() + 1;
    if (prop == Prop::ChoiceFEQ) return Current() ? Current()->Number() : 0;
    return Control::Get(prop, index);
}

TabControl::TabControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    if (parent_ && parent_->Kind() == ControlKind::Sheet) {
        sheet_ = static_cast<SheetControl*>(parent_);
        sheet_->AddTab(this, l.text);
        if (fontColor_ >= 0 || color_ >= 0 || font_.style > 0) sheet_->StyleTab(this, fontColor_, color_, font_.style);
    }
    text_ = l.text;
}

bool TabControl::ShowsChild(const Control& /*child*/) const {
    return EffectiveVisible() && (!sheet_ || sheet_->Current() == this);
}

void TabControl::SetText(const std::string& text) {
    text_ = text;
    if (sheet_) sheet_->SetTabText(this, text);
}

void TabControl::Set(Prop prop, const PropValue& value, int index) {
    switch (prop) {
    case Prop::FontColor: fontColor_ = value.Int(); break;
    case Prop::Color: color_ = value.Int(); break;
    case Prop::FontStyle: font_.style = value.Int(); break;
    default: Control::Set(prop, value, index); return;
    }
    if (sheet_) sheet_->StyleTab(this, fontColor_, color_, font_.style);
}

// -- box, line, ellipse --

namespace {
ui::ShapeKind ShapeKindOf(ControlKind kind) {
    if (kind == ControlKind::Line) return ui::ShapeKind::Line;
    if (kind == ControlKind::Ellipse) return ui::ShapeKind::Ellipse;
    return ui::ShapeKind::Box;
}
}  // namespace

ShapeControl::ShapeControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    shape_ = new ui::ShapeWidget(ShapeKindOf(l.kind));
    Adopt(shape_);
    // The colour is the shape's border (a line's colour), not a background.
    shape_->setPalette(QPalette());
    shape_->setAutoFillBackground(false);
    fill_ = l.fill;
    // A layout's "color c" (its first colour) is the border; PROP:Color sets it later.
    if (color_ < 0) color_ = l.fontColor;
    fontColor_ = -1;
    shape_->setFillColor(ColorFromValue(fill_));
    shape_->setBorderColor(color_ >= 0 ? ColorFromValue(color_) : QColor(Qt::black));
}

void ShapeControl::Set(Prop prop, const PropValue& value, int index) {
    if (prop == Prop::Fill) {
        fill_ = value.Int();
        shape_->setFillColor(ColorFromValue(fill_));
        return;
    }
    if (prop == Prop::Color) {
        color_ = value.Int();
        shape_->setBorderColor(color_ >= 0 ? ColorFromValue(color_) : QColor(Qt::black));
        return;
    }
    Control::Set(prop, value, index);
}

PropValue ShapeControl::Get(Prop prop, int index) const {
    if (prop == Prop::Fill) return fill_;
    return Control::Get(prop, index);
}

// -- image --

ImageControl::ImageControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    image_ = new ui::ImageWidget;
    Adopt(image_);
    // Without a size of its own in the layout it takes the picture's.
    image_->setStretch(l.hasAt && l.at.w > 0 && l.at.h > 0);
    SetText(l.text.empty() ? l.icon : l.text);
}

void ImageControl::SetText(const std::string& text) {
    text_ = text;
    image_->setFile(QString::fromStdString(ImagePath(text)));
    if (!image_->stretch() && image_->hasImage()) image_->resize(image_->naturalSize());
}

void ImageControl::Set(Prop prop, const PropValue& value, int index) {
    switch (prop) {
    case Prop::HScroll: hscroll_ = value.Bool(); image_->setScrollBars(hscroll_, vscroll_); return;
    case Prop::VScroll: vscroll_ = value.Bool(); image_->setScrollBars(hscroll_, vscroll_); return;
    case Prop::HScrollPos: image_->setHorizontalPosition(value.Int()); return;
    case Prop::VScrollPos: image_->setVerticalPosition(value.Int()); return;
    case Prop::MaxWidth: image_->setMaximumImageWidth(window_.DuToPxX(value.Int())); return;
    case Prop::MaxHeight: image_->setMaximumImageHeight(window_.DuToPxY(value.Int())); return;
    default: Control::Set(prop, value, index);
    }
}

PropValue ImageControl::Get(Prop prop, int index) const {
    switch (prop) {
    case Prop::HScroll: return hscroll_ ? 1 : 0;
    case Prop::VScroll: return vscroll_ ? 1 : 0;
    case Prop::HScrollPos: return image_->horizontalPosition();
    case Prop::VScrollPos: return image_->verticalPosition();
    case Prop::MaxWidth: return window_.PxToDuX(image_->maximumImageWidth());
    case Prop::MaxHeight: return window_.PxToDuY(image_->maximumImageHeight());
    case Prop::NaturalWidth: return window_.PxToDuX(image_->naturalSize().width());
    case Prop::NaturalHeight: return window_.PxToDuY(image_->naturalSize().height());
    default: return Control::Get(prop, index);
    }
}

}  // namespace fw
