#pragma once
// The control classes, one per kind (CreateControl in control_factory.cpp
// picks them). List, sheet, box, line, ellipse and image wrap the
// framework's own widgets of platform/ui/widgets.

#include <QPointer>

#include <memory>

#include "platform/ui/control.h"
#include "platform/ui/controls/number_rule.h"
#include "platform/ui/widgets/image_widget.h"
#include "platform/ui/widgets/list_cell_editor.h"
#include "platform/ui/widgets/paged_list_widget.h"
#include "platform/ui/widgets/shape_widget.h"
#include "platform/ui/widgets/sheet_widget.h"

class QAbstractItemModel;
class QAction;
class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QSpinBox;
class QTabWidget;
class QToolBar;

namespace fw {

// The text a USE variable shows through a picture (none: as it stands).
std::string ShowThroughPicture(const std::string& value, const std::string& picture);

class ButtonControl : public Control {
public:
    ButtonControl(Window& w, const ControlLayout& l, int n);
    void Set(Prop prop, const PropValue& value, int index) override;
    PropValue Get(Prop prop, int index) const override;
    bool UserPress() override;
    void ApplyState() override;

private:
    void SetText(const std::string& text) override;
    QAbstractButton* button_ = nullptr;
    QAction* toolAction_ = nullptr;  // when it sits on a tool bar
};

class ToolbarControl : public Control {
public:
    ToolbarControl(Window& w, const ControlLayout& l, int n);
    QToolBar* Bar() const { return bar_; }
    void ApplyState() override;

private:
    QToolBar* bar_ = nullptr;
};

class LabelControl : public Control {  // prompt and string
public:
    LabelControl(Window& w, const ControlLayout& l, int n);
    void Refresh() override;
    std::string Text() const override;
    void SetBuddy(QWidget* buddy);

private:
    void SetText(const std::string& text) override;
    QLabel* label_ = nullptr;
};

class EntryControl : public Control {
public:
    EntryControl(Window& w, const ControlLayout& l, int n);
    void Refresh() override;
    void Update() override;
    bool InAcceptAll() const override { return true; }
    bool Valid() const override;
    std::string Refusal() const override;
    bool TypingRefused() const override;
    void CommitTyping() override;
    bool UserType(const std::string& text) override;
    std::string Text() const override;
    void Set(Prop prop, const PropValue& value, int index) override;
    PropValue Get(Prop prop, int index) const override;

private:
    void SetText(const std::string& text) override;
    NumberRule Rule() const;  // number, date and time entries
    QLineEdit* edit_ = nullptr;
    bool touched_ = false;
};

class CheckControl : public Control {
public:
    CheckControl(Window& w, const ControlLayout& l, int n);
    void Refresh() override;
    void Update() override;
    bool InAcceptAll() const override { return true; }
    bool UserPress() override;
    bool UserCheck(bool on) override;
    void Set(Prop prop, const PropValue& value, int index) override;
    PropValue Get(Prop prop, int index) const override;
    bool Checked() const;

private:
    void SetText(const std::string& text) override;
    QAbstractButton* box_ = nullptr;
};

class RadioControl;

class OptionControl : public Control {
public:
    OptionControl(Window& w, const ControlLayout& l, int n);
    void AddRadio(RadioControl* radio);
    void Refresh() override;
    void Update() override;
    bool InAcceptAll() const override { return true; }
    bool UserChoose(int row) override;
    std::string Text() const override;
    int Highlight() const override;
    std::vector<std::string> Rows() const override;

private:
    void SetText(const std::string& text) override;
    QButtonGroup* group_ = nullptr;
    std::vector<RadioControl*> radios_;
};

class RadioControl : public Control {
public:
    RadioControl(Window& w, const ControlLayout& l, int n);
    std::string Value() const;
    QAbstractButton* Button() const { return button_; }
    bool UserPress() override;
    PropValue Get(Prop prop, int index) const override;

private:
    void SetText(const std::string& text) override;
    QAbstractButton* button_ = nullptr;
};

class SpinControl : public Control {
public:
    SpinControl(Window& w, const ControlLayout& l, int n);
    void Refresh() override;
    void Update() override;
    bool InAcceptAll() const override { return true; }
    bool Valid() const override;
    std::string Refusal() const override;
    bool TypingRefused() const override;
    void CommitTyping() override;
    bool UserType(const std::string& text) override;
    bool UserChoose(int steps) override;  // steps up (negative: down)
    std::string Text() const override;
    void Set(Prop prop, const PropValue& value, int index) override;
    PropValue Get(Prop prop, int index) const override;

private:
    NumberRule Rule() const;
    QSpinBox* spin_ = nullptr;
};

class ChoiceControl : public Control {  // drop list and combo
public:
    ChoiceControl(Window& w, const ControlLayout& l, int n, bool editable);
    void Refresh() override;
    void Update() override;
    bool InAcceptAll() const override { return true; }
    bool UserChoose(int row) override;
    bool UserType(const std::string& text) override;
    std::string Text() const override;
    std::vector<std::string> Rows() const override;
    int Highlight() const override;
    void Set(Prop prop, const PropValue& value, int index) override;
    PropValue Get(Prop prop, int index) const override;
    bool SetPickList(std::shared_ptr<const PickList> list) override;

private:
    void Fill(const std::string& from);
    void ReplaceModel(QAbstractItemModel* model);
    QComboBox* combo_ = nullptr;
    bool editable_;
    std::vector<std::string> values_;
    std::shared_ptr<const PickList> pickList_;  // rows from a model instead of values_
};

class FrameControl : public Control {  // group and panel
public:
    FrameControl(Window& w, const ControlLayout& l, int n);

private:
    void SetText(const std::string& text) override;
};

class ProgressControl : public Control {
public:
    ProgressControl(Window& w, const ControlLayout& l, int n);
    void Refresh() override;
    std::string Text() const override;
    void Set(Prop prop, const PropValue& value, int index) override;
    PropValue Get(Prop prop, int index) const override;

private:
    QProgressBar* bar_ = nullptr;
};

class MenuControl : public Control {
public:
    MenuControl(Window& w, const ControlLayout& l, int n);
    QMenu* AsMenu() override { return menu_; }
    void ApplyState() override;
    bool UserPress() override;  // opens nothing; menus only hold items

private:
    void SetText(const std::string& text) override;
    QMenu* menu_ = nullptr;
};

class ItemControl : public Control {
public:
    ItemControl(Window& w, const ControlLayout& l, int n);
    void ApplyState() override;
    bool UserPress() override;
    void Set(Prop prop, const PropValue& value, int index) override;

private:
    void SetText(const std::string& text) override;
    QAction* action_ = nullptr;
};

// -- the framework's own widgets (platform/ui/widgets) --

class ListControl : public Control {
public:
    ListControl(Window& w, const ControlLayout& l, int n);
    // The rows as queue entries: field n of a row is row[n - 1] (a row of
    // FROM is one field).
    void SetRows(std::vector<ui::ListRow> rows);
    ui::PagedListWidget* List() const { return list_; }
    QWidget* KeyTarget() const override;
    bool KeepsKey(QWidget* receiver, int keyCode) const override;  // characters typed into the cell
    bool UserType(const std::string& text) override;  // into the open cell
    bool UserChoose(int row) override;  // a click on the row
    bool UserPress() override;          // Enter on the highlight
    bool UserRightClick(int row) override;
    bool UserDoubleClick(int row, int column) override;
    void NoteAlertedPress(QWidget* receiver, const QPoint& pos) override;
    std::vector<std::string> Rows() const override;  // shown columns joined by "|"
    int Highlight() const override;
    std::string Text() const override;
    void Set(Prop prop, const PropValue& value, int index) override;
    PropValue Get(Prop prop, int index) const override;

private:
    void ApplyFormat(const std::string& format);
    void ApplyListColors();
    ui::ListCellEditor* Editor();  // made when first needed
    void OpenCell(int column);
    ui::PagedListWidget* list_ = nullptr;
    ui::ListCellEditor* editor_ = nullptr;
    bool editReadOnly_ = false;
    long selectedColor_ = -1, selectedFill_ = -1;
};

class TabControl;

class SheetControl : public Control {
public:
    SheetControl(Window& w, const ControlLayout& l, int n);
    int AddTab(TabControl* tab, const std::string& text);
    void SetTabText(TabControl* tab, const std::string& text);
    void StyleTab(TabControl* tab, long fontColor, long color, int fontStyle);
    TabControl* Current() const;
    bool UserChoose(int tab) override;  // a click on the tab
    int Highlight() const override;
    std::vector<std::string> Rows() const override;
    void Set(Prop prop, const PropValue& value, int index) override;
    PropValue Get(Prop prop, int index) const override;
    // The change announced by EVENT:TabChanging happens unless the pass cycled.
    void PassEnded(int event, bool cycled) override;

private:
    int IndexOf(const TabControl* tab) const;
    ui::SheetWidget* tabs_ = nullptr;
    std::vector<TabControl*> tabList_;
};

class TabControl : public Control {
public:
    TabControl(Window& w, const ControlLayout& l, int n);
    bool ShowsChild(const Control& child) const override;
    void ApplyState() override {}
    // Text colour (PROP:FontColor), background (PROP:Color) and weight
    // (PROP:FontStyle) of the tab itself.
    void Set(Prop prop, const PropValue& value, int index) override;

private:
    void SetText(const std::string& text) override;
    SheetControl* sheet_ = nullptr;
};

class ShapeControl : public Control {  // box, line, ellipse
public:
    ShapeControl(Window& w, const ControlLayout& l, int n);
    void Set(Prop prop, const PropValue& value, int index) override;
    PropValue Get(Prop prop, int index) const override;
    ui::ShapeWidget* Shape() const { return shape_; }

private:
    ui::ShapeWidget* shape_ = nullptr;
    long fill_ = -1;
};

class ImageControl : public Control {
public:
    ImageControl(Window& w, const ControlLayout& l, int n);
    void Set(Prop prop, const PropValue& value, int index) override;
    PropValue Get(Prop prop, int index) const override;
    ui::ImageWidget* Image() const { return image_; }

private:
    void SetText(const std::string& text) override;
    ui::ImageWidget* image_ = nullptr;
    bool hscroll_ = false, vscroll_ = false;
};

}  // namespace fw
