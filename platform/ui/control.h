#pragma once
// One control of an open window: its Qt widget (or menu action), its
// properties and its USE variable. Each kind is a subclass made in
// control_factory.cpp; widgets place themselves with absolute geometry in
// the window's content area, converted from dialog units.

#include <memory>
#include <optional>
#include <QRect>
#include <string>
#include <vector>

#include "platform/ui/layout.h"
#include "platform/ui/prop_value.h"
#include "platform/ui/props.h"
#include "platform/ui/use_var.h"

class QWidget;
class QPoint;
class QAction;
class QMenu;

namespace fw {

class Window;
class PickList;

class Control {
public:
    Control(Window& window, const ControlLayout& layout, int number);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    int Number() const { return number_; }
    const std::string& Equate() const { return layout_.equate; }
    ControlKind Kind() const { return layout_.kind; }
    const ControlLayout& Layout() const { return layout_; }
    Window& Owner() const { return window_; }
    Control* Parent() const { return parent_; }
    const std::vector<Control*>& Children() const { return children_; }

    // The widget placed in the content area (nullptr for menus, items, tabs).
    virtual QWidget* Widget() const { return widget_; }
    // The widget a key pressed on the control goes to (a list's open cell).
    virtual QWidget* KeyTarget() const { return Widget(); }
    // A menu's QMenu, for its items and sub-menus.
    virtual QMenu* AsMenu() { return nullptr; }

    // Properties; index is the array index some properties take (0: none).
    virtual void Set(Prop prop, const PropValue& value, int index);
    virtual PropValue Get(Prop prop, int index) const;

    void Bind(UseVar var) { use_ = std::move(var); Refresh(); }
    const UseVar& Use() const { return use_; }
    // DISPLAY: the USE variable shown again.
    virtual void Refresh() {}
    // The user's input stored in the USE variable, just before the program
    // sees the control's EVENT:Accepted.
    virtual void Update() {}
    // The end of a pass that handled one of this control's events (cycled:
    // the pass ended with CYCLE), for default actions of its own.
    virtual void PassEnded(int /*event*/, bool /*cycled*/) {}
    // Whether the accept-all pass sends this control EVENT:Accepted, and
    // whether its current input is valid (picture and range).
    virtual bool InAcceptAll() const { return false; }
    virtual bool Valid() const { return true; }
    // Why the current input is not valid, for the user (empty: it is).
    virtual std::string Refusal() const { return {}; }
    // The user's typing is still in the control, not taken because it is
    // not valid (an entry or spin box refused it).
    virtual bool TypingRefused() const { return false; }
    // Typing still in the control is taken as entered (its EVENT:Accepted
    // is queued), as moving the focus away would; used before a close.
    virtual void CommitTyping() {}
    // Whether a user's action can reach it: visible and enabled, its
    // containers too, and its window not inside a call.
    bool Usable() const;
    bool EffectiveVisible() const;
    bool EffectiveEnabled() const;
    bool OwnHidden() const { return hidden_; }
    bool OwnDisabled() const { return disabled_; }
    // Visibility of a child inside this container (a tab shows only its own).
    virtual bool ShowsChild(const Control& /*child*/) const { return EffectiveVisible(); }
    // Applies the effective visibility and enabled state to the widget.
    virtual void ApplyState();

    // What the test driver does as a user would; false when the kind does
    // not take that input.
    virtual bool UserPress() { return false; }
    virtual bool UserType(const std::string& /*text*/) { return false; }
    virtual bool UserChoose(int /*row*/) { return false; }  // from 1
    virtual bool UserCheck(bool /*on*/) { return false; }
    virtual bool UserRightClick(int /*row*/) { return false; }  // a right-button press on the row
    // A left double-click on a list's cell (row and column from 1).
    virtual bool UserDoubleClick(int /*row*/, int /*column*/) { return false; }
    // A mouse press the window takes as an alert key (the control never
    // sees it): a list still notes the row and column it landed on.
    virtual void NoteAlertedPress(QWidget* /*receiver*/, const QPoint& /*pos*/) {}
    // A key the widget receiving it keeps even when the control alerts it
    // (a list's open cell keeps the characters typed into it).
    virtual bool KeepsKey(QWidget* /*receiver*/, int /*keyCode*/) const { return false; }
    // State the driver reads.
    virtual std::string Text() const { return text_; }
    virtual std::vector<std::string> Rows() const { return {}; }
    virtual int Highlight() const { return 0; }

    // A drop list or combo whose rows are a pick list (window_api.h's
    // SetPickList); false for other kinds.
    virtual bool SetPickList(std::shared_ptr<const PickList> /*list*/) { return false; }

    const std::vector<int>& Alerts() const { return alerts_; }
    void AddAlert(int code) { alerts_.push_back(code); }

protected:
    friend class Window;
    // Sets the widget, its geometry, font, colours and tip from the layout.
    void Adopt(QWidget* widget);
    QRect KeptInsideFrame(QRect at) const;
    void SetParentControl(Control* parent);
    virtual void SetText(const std::string& text);
    void ApplyFont();
    void ApplyColors();
    void Queue(int event);
    // Rows of a "a|b|c" text.
    static std::vector<std::string> SplitRows(const std::string& text);

    Window& window_;
    ControlLayout layout_;
    int number_;
    QWidget* widget_ = nullptr;
    Control* parent_ = nullptr;
    std::vector<Control*> children_;
    UseVar use_;
    std::string text_;
    bool hidden_ = false;
    bool disabled_ = false;
    FontPlan font_;
    long fontColor_ = -1, color_ = -1;
    std::vector<int> alerts_;
};

// Makes the control for a layout entry; the one place that maps each kind
// to its class.
std::unique_ptr<Control> CreateControl(Window& window, const ControlLayout& layout, int number);

}  // namespace fw
