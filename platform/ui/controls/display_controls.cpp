// Prompts, strings, groups, panels, progress bars, menus, items and the
// tool bar: controls that show things or hold other controls.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolBar>

#include "platform/text/numbers.h"
#include "platform/ui/controls/control_kinds.h"
#include "platform/ui/events.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/window.h"

namespace fw {

// -- prompt and string --

LabelControl::LabelControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    label_ = new QLabel;
    Adopt(label_);
    Qt::Alignment align = Qt::AlignLeft;
    if (l.Has("center")) align = Qt::AlignHCenter;
    if (l.Has("right")) align = Qt::AlignRight;
    label_->setAlignment(align | (l.at.h >= 16 ? Qt::AlignTop : Qt::AlignVCenter));
    label_->setWordWrap(l.at.h >= 16);
    // Never rich text: a prompt keeps its "&" mnemonic, a string shows
    // what it is given as it stands.
    label_->setTextFormat(Qt::PlainText);
    SetText(l.text);
}

void LabelControl::SetText(const std::string& text) {
    text_ = text;
    QString shown = Q(text);
    if (layout_.kind == ControlKind::String) shown.replace('|', '\n');
    label_->setText(shown);
}

void LabelControl::SetBuddy(QWidget* buddy) { label_->setBuddy(buddy); }

void LabelControl::Refresh() {
    if (use_) SetText(ShowThroughPicture(use_.Get(), layout_.picture));
}

std::string LabelControl::Text() const { return text_; }

// -- group and panel --

FrameControl::FrameControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    if (l.kind == ControlKind::Group) {
        auto* box = new QGroupBox;
        if (l.Has("noframe")) box->setFlat(true), box->setStyleSheet("QGroupBox{border:0}");
        Adopt(box);
    } else {
        auto* panel = new QFrame;
        panel->setFrameStyle(QFrame::StyledPanel | (l.Has("raised") ? QFrame::Raised : QFrame::Sunken));
        Adopt(panel);
    }
    widget_->lower();
    SetText(l.text);
}

void FrameControl::SetText(const std::string& text) {
    text_ = text;
    if (auto* box = qobject_cast<QGroupBox*>(widget_)) box->setTitle(Q(text));
}

// -- progress --

ProgressControl::ProgressControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    bar_ = new QProgressBar;
    Adopt(bar_);
    bar_->setTextVisible(false);
    bar_->setRange(static_cast<int>(l.rangeLow.value_or(0)), static_cast<int>(l.rangeHigh.value_or(100)));
    bar_->setValue(bar_->minimum());
}

void ProgressControl::Refresh() {
    if (use_) bar_->setValue(static_cast<int>(NumericValue(use_.Get())));
}

std::string ProgressControl::Text() const { return NumberText(static_cast<long long>(bar_->value())); }

void ProgressControl::Set(Prop prop, const PropValue& value, int index) {
    switch (prop) {
    case Prop::RangeLow: bar_->setMinimum(value.Int()); return;
    case Prop::RangeHigh: bar_->setMaximum(value.Int()); return;
    case Prop::Value: case Prop::Text: bar_->setValue(value.Int()); return;
    default: Control::Set(prop, value, index);
    }
}

PropValue ProgressControl::Get(Prop prop, int index) const {
    switch (prop) {
    case Prop::RangeLow: return bar_->minimum();
    case Prop::RangeHigh: return bar_->maximum();
    case Prop::Value: return bar_->value();
    default: return Control::Get(prop, index);
    }
}

// -- tool bar --

ToolbarControl::ToolbarControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    bar_ = w.ToolBar();
    widget_ = bar_;
}

void ToolbarControl::ApplyState() {
    bar_->setVisible(EffectiveVisible());
    bar_->setEnabled(EffectiveEnabled() && !window_.CallDisabled());
}

// -- menus and items --

MenuControl::MenuControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    QMenu* parentMenu = parent_ ? parent_->AsMenu() : nullptr;
    if (parentMenu) menu_ = parentMenu->addMenu(Q(l.text));
    else menu_ = w.MenuBar()->addMenu(Q(l.text));
    menu_->setProperty(kControlProperty, QVariant::fromValue<void*>(this));
    if (!l.msg.empty()) menu_->menuAction()->setStatusTip(Q(l.msg));
    text_ = l.text;
}

void MenuControl::SetText(const std::string& text) {
    text_ = text;
    menu_->setTitle(Q(text));
}

void MenuControl::ApplyState() {
    menu_->menuAction()->setVisible(EffectiveVisible());
    menu_->menuAction()->setEnabled(EffectiveEnabled());
}

bool MenuControl::UserPress() { return false; }

ItemControl::ItemControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    QMenu* parentMenu = parent_ ? parent_->AsMenu() : nullptr;
    if (l.Has("separator")) {
        action_ = parentMenu ? parentMenu->addSeparator() : w.MenuBar()->addSeparator();
        return;
    }
    action_ = parentMenu ? parentMenu->addAction(Q(l.text)) : w.MenuBar()->addAction(Q(l.text));
    text_ = l.text;
    if (!l.msg.empty()) action_->setStatusTip(Q(l.msg));
    if (!l.icon.empty()) action_->setIcon(IconFromName(l.icon));
    QObject::connect(action_, &QAction::triggered, action_, [this] { Queue(Event::Accepted); });
}

void ItemControl::SetText(const std::string& text) {
    text_ = text;
    action_->setText(Q(text));
}

void ItemControl::ApplyState() {
    action_->setVisible(EffectiveVisible());
    action_->setEnabled(EffectiveEnabled());
}

bool ItemControl::UserPress() {
    if (!Usable() || layout_.Has("separator")) return false;
    action_->trigger();
    return true;
}

void ItemControl::Set(Prop prop, const PropValue& value, int index) {
    if (prop == Prop::Msg) {
        layout_.msg = value.Str();
        action_->setStatusTip(Q(layout_.msg));
        return;
    }
    Control::Set(prop, value, index);
}

}  // namespace fw
