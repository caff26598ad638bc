// Plain Qt stand-ins for the list, sheet, tab, box, line, ellipse and image
// until the framework's own widgets replace them in control_factory.cpp.
// They give the events and properties the window layer relies on.
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

#include "platform/ui/controls/control_kinds.h"
#include "platform/ui/events.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/window.h"

namespace fw {

// -- list --

ListControl::ListControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    list_ = new QListWidget;
    Adopt(list_);
    items_ = l.items;
    vscroll_ = l.Has("vscroll");
    for (const std::string& row : SplitRows(l.from)) list_->addItem(Q(row));
    QObject::connect(list_, &QListWidget::currentRowChanged, list_, [this](int) { Queue(Event::NewSelection); });
    QObject::connect(list_, &QListWidget::itemActivated, list_, [this] { Queue(Event::Accepted); });
}

bool ListControl::UserChoose(int row) {
    if (!Usable() || row < 1 || row > list_->count()) return false;
    list_->setCurrentRow(row - 1);
    return true;
}

bool ListControl::UserPress() {
    if (!Usable() || !list_->currentItem()) return false;
    emit list_->itemActivated(list_->currentItem());
    return true;
}

std::vector<std::string> ListControl::Rows() const {
    std::vector<std::string> out;
    for (int i = 0; i < list_->count(); ++i) out.push_back(A(list_->item(i)->text()));
    return out;
}

int ListControl::Highlight() const { return list_->currentRow() + 1; }

std::string ListControl::Text() const { return list_->currentItem() ? A(list_->currentItem()->text()) : std::string(); }

void ListControl::Set(Prop prop, const PropValue& value, int index) {
    switch (prop) {
    case Prop::From: {
        QSignalBlocker block(list_);
        list_->clear();
        for (const std::string& row : SplitRows(value.Str())) list_->addItem(Q(row));
        return;
    }
    case Prop::Selected: {
        QSignalBlocker block(list_);
        list_->setCurrentRow(value.Int() - 1);
        return;
    }
    case Prop::Items: items_ = value.Int(); return;
    case Prop::VScroll: vscroll_ = value.Bool(); return;
    case Prop::VScrollPos: thumb_ = std::clamp<int>(value.Int(), 0, 100); return;
    case Prop::Format: layout_.format = value.Str(); return;
    default: Control::Set(prop, value, index);
    }
}

PropValue ListControl::Get(Prop prop, int index) const {
    switch (prop) {
    case Prop::Selected: return list_->currentRow() + 1;
    case Prop::Items: {
        if (items_ > 0) return items_;
        int rowHeight = std::max(1, list_->fontMetrics().height() + 2);
        return std::max(1, list_->height() / rowHeight);
    }
    case Prop::VScroll: return vscroll_ ? 1 : 0;
    case Prop::VScrollPos: return thumb_;
    case Prop::Format: return layout_.format;
    default: return Control::Get(prop, index);
    }
}

// -- sheet and tabs --

SheetControl::SheetControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    tabs_ = new QTabWidget;
    Adopt(tabs_);
    widget_->lower();
    QObject::connect(tabs_, &QTabWidget::currentChanged, tabs_, [this](int) {
        window_.ApplyStates();
        Queue(Event::TabChanging);
        Queue(Event::NewSelection);
    });
}

int SheetControl::AddTab(TabControl* tab, const std::string& text) {
    QSignalBlocker block(tabs_);
    tabList_.push_back(tab);
    return tabs_->addTab(new QWidget, Q(text));
}

void SheetControl::SetTabText(TabControl* tab, const std::string& text) {
    auto it = std::find(tabList_.begin(), tabList_.end(), tab);
    if (it != tabList_.end()) tabs_->setTabText(static_cast<int>(it - tabList_.begin()), Q(text));
}

TabControl* SheetControl::Current() const {
    int i = tabs_->currentIndex();
    return i >= 0 && i < static_cast<int>(tabList_.size()) ? tabList_[i] : nullptr;
}

bool SheetControl::UserChoose(int tab) {
    if (!Usable() || tab < 1 || tab > tabs_->count()) return false;
    tabs_->setCurrentIndex(tab - 1);
    return true;
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

// -- box, line, ellipse --

ShapeControl::ShapeControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    auto* frame = new QFrame;
    Adopt(frame);
    fill_ = l.fill;
    if (l.kind == ControlKind::Line) frame->setFrameShape(l.at.w >= l.at.h ? QFrame::HLine : QFrame::VLine);
    Restyle();
}

void ShapeControl::Restyle() {
    if (layout_.kind == ControlKind::Line) return;
    QString css = "QFrame{";
    QColor border = ColorFromValue(color_ >= 0 ? color_ : 0);
    css += "border:1px solid " + border.name() + ";";
    if (fill_ >= 0) css += "background:" + ColorFromValue(fill_).name() + ";";
    if (layout_.kind == ControlKind::Ellipse)
        css += QString("border-radius:%1px;").arg(std::min(widget_->width(), widget_->height()) / 2);
    css += "}";
    widget_->setStyleSheet(css);
}

void ShapeControl::Set(Prop prop, const PropValue& value, int index) {
    if (prop == Prop::Fill) { fill_ = value.Int(); Restyle(); return; }
    if (prop == Prop::Color) { color_ = value.Int(); Restyle(); return; }
    Control::Set(prop, value, index);
}

PropValue ShapeControl::Get(Prop prop, int index) const {
    if (prop == Prop::Fill) return fill_;
    return Control::Get(prop, index);
}

// -- image --

ImageControl::ImageControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    label_ = new QLabel;
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Adopt(label_);
    SetText(l.text.empty() ? l.icon : l.text);
}

void ImageControl::SetText(const std::string& text) {
    text_ = text;
    label_->setPixmap(PixmapFromName(text));
}

}  // namespace fw
