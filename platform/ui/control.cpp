#include "platform/ui/control.h"

#include <QApplication>
#include <QColor>
#include <QStyle>
#include <QPalette>
#include <QWidget>

#include "platform/text/codepage.h"
#include "platform/ui/events.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/window.h"

namespace fw {

Control::Control(Window& window, const ControlLayout& layout, int number)
    : window_(window), layout_(layout), number_(number), text_(layout.text), font_(layout.font),
      fontColor_(layout.fontColor), color_(layout.color), alerts_(layout.alerts) {
    hidden_ = layout.Has("hide");
    disabled_ = layout.Has("disable");
    // Containers are declared before what they hold.
    if (!layout.parent.empty()) SetParentControl(window.Find(layout.parent));
}

Control::~Control() = default;

void Control::SetParentControl(Control* parent) {
    parent_ = parent;
    if (parent) parent->children_.push_back(this);
}

void Control::Adopt(QWidget* widget) {
    widget_ = widget;
    if (!widget) return;
    widget->setParent(window_.Content());
    widget->setProperty(kControlProperty, QVariant::fromValue<void*>(this));
    if (layout_.hasAt) {
        QRect at(window_.DuToPxX(layout_.at.x), window_.DuToPxY(layout_.at.y), window_.DuToPxX(layout_.at.w),
                 window_.DuToPxY(layout_.at.h));
        widget->setGeometry(KeptInsideFrame(at));
    }
    if (!layout_.tip.empty()) widget->setToolTip(TipText(layout_.tip));
    ApplyFont();
    ApplyColors();
}

// A control held by a framed group or option is kept clear of the frame's
// line, which our style draws thicker than the layouts allowed for.
QRect Control::KeptInsideFrame(QRect at) const {
    if (!parent_ || (parent_->Kind() != ControlKind::Group && parent_->Kind() != ControlKind::Option)) return at;
    const ControlLayout& frame = parent_->Layout();
    if (!frame.hasAt || frame.Has("noframe")) return at;
    const int inset = QApplication::style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2;
    const QRect inner = QRect(window_.DuToPxX(frame.at.x), window_.DuToPxY(frame.at.y), window_.DuToPxX(frame.at.w),
                              window_.DuToPxY(frame.at.h))
                            .adjusted(inset, inset, -inset, -inset);
    if (!inner.intersects(at)) return at;
    if (at.left() < inner.left()) at.moveLeft(inner.left());
    if (at.top() < inner.top()) at.moveTop(inner.top());
    return at.intersected(inner);
}

bool Control::EffectiveVisible() const {
    if (hidden_) return false;
    return parent_ ? parent_->ShowsChild(*this) : true;
}

bool Control::EffectiveEnabled() const {
    if (disabled_) return false;
    return parent_ ? parent_->EffectiveEnabled() : true;
}

bool Control::Usable() const {
    return window_.IsOpen() && !window_.CallDisabled() && EffectiveVisible() && EffectiveEnabled();
}

void Control::ApplyState() {
    if (!widget_) return;
    widget_->setVisible(EffectiveVisible());
    widget_->setEnabled(EffectiveEnabled());
}

void Control::SetText(const std::string& text) { text_ = text; }

void Control::ApplyFont() {
    if (!widget_) return;
    QFont f = widget_->font();
    if (!font_.name.empty()) f.setFamily(AnsiToQString(font_.name));
    if (font_.size > 0) f.setPointSize(font_.size);
    if (font_.style > 0) ApplyFontStyle(f, font_.style);
    widget_->setFont(f);
}

void Control::ApplyColors() {
    if (!widget_) return;
    QPalette p = widget_->palette();
    if (fontColor_ >= 0) {
        p.setColor(QPalette::WindowText, ColorFromValue(fontColor_));
        p.setColor(QPalette::Text, ColorFromValue(fontColor_));
        p.setColor(QPalette::ButtonText, ColorFromValue(fontColor_));
    }
    if (color_ >= 0) {
        p.setColor(QPalette::Window, ColorFromValue(color_));
        p.setColor(QPalette::Base, ColorFromValue(color_));
        widget_->setAutoFillBackground(true);
    }
    widget_->setPalette(p);
}

void Control::Queue(int event) { window_.Queue(event, number_); }

std::vector<std::string> Control::SplitRows(const std::string& text) {
    std::vector<std::string> rows;
    if (text.empty()) return rows;
    std::size_t start = 0;
    for (;;) {
        std::size_t bar = text.find('|', start);
        rows.push_back(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    return rows;
}

void Control::Set(Prop prop, const PropValue& value, int index) {
    (void)index;
    switch (prop) {
    case Prop::Text: SetText(value.Str()); break;
    case Prop::Hide:
        hidden_ = value.Bool();
        window_.ApplyStates();
        break;
    case Prop::Disable:
        disabled_ = value.Bool();
        window_.ApplyStates();
        break;
    case Prop::Xpos: case Prop::Ypos: case Prop::Width: case Prop::Height: {
        if (!widget_) break;
        QRect g = widget_->geometry();
        int v = value.Int();
        if (prop == Prop::Xpos) g.moveLeft(window_.DuToPxX(v));
        if (prop == Prop::Ypos) g.moveTop(window_.DuToPxY(v));
        if (prop == Prop::Width) g.setWidth(window_.DuToPxX(v));
        if (prop == Prop::Height) g.setHeight(window_.DuToPxY(v));
        widget_->setGeometry(g);
        break;
    }
    case Prop::FontName: font_.name = value.Str(); ApplyFont(); break;
    case Prop::FontSize: font_.size = value.Int(); ApplyFont(); break;
    case Prop::FontStyle: font_.style = value.Int(); ApplyFont(); break;
    case Prop::FontColor: fontColor_ = value.Int(); ApplyColors(); break;
    case Prop::Color: color_ = value.Int(); ApplyColors(); break;
    case Prop::Msg:
        layout_.msg = value.Str();
        // The focused control's message shows at once, not at the next focus.
        if (window_.Focus() == number_) window_.UpdateStatusMsg();
        break;
    case Prop::Tip:
        layout_.tip = value.Str();
        if (widget_) widget_->setToolTip(TipText(layout_.tip));
        break;
    case Prop::Cursor:
        if (widget_) widget_->setCursor(CursorFromName(value.Str()));
        break;
    default: break;
    }
}

PropValue Control::Get(Prop prop, int index) const {
    (void)index;
    switch (prop) {
    case Prop::Text: return Text();
    case Prop::Hide: return hidden_ ? 1 : 0;
    case Prop::Disable: return disabled_ ? 1 : 0;
    case Prop::Xpos: return widget_ ? window_.PxToDuX(widget_->x()) : layout_.at.x;
    case Prop::Ypos: return widget_ ? window_.PxToDuY(widget_->y()) : layout_.at.y;
    case Prop::Width: return widget_ ? window_.PxToDuX(widget_->width()) : layout_.at.w;
    case Prop::Height: return widget_ ? window_.PxToDuY(widget_->height()) : layout_.at.h;
    case Prop::FontName: return font_.name;
    case Prop::FontSize: return font_.size;
    case Prop::FontStyle: return font_.style;
    case Prop::FontColor: return fontColor_;
    case Prop::Color: return color_;
    case Prop::Msg: return layout_.msg;
    case Prop::Tip: return layout_.tip;
    case Prop::Icon: return layout_.icon;
    case Prop::Type: return ControlKindNumber(layout_.kind);
    case Prop::Picture: return layout_.picture;
    case Prop::Value: return use_ ? PropValue(use_.Get()) : PropValue();
    default: return {};
    }
}

}  // namespace fw
