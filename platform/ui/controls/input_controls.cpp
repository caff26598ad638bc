// Buttons, entries, checks, options with radios, spins, drop lists and
// combos: the controls the user gives input with.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QToolBar>
#include <QToolButton>

#include <QApplication>
#include <QFocusEvent>

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/text/clock.h"
#include "platform/text/codepage.h"
#include "platform/text/numbers.h"
#include "platform/text/picture.h"
#include "platform/text/strings.h"
#include "platform/ui/controls/control_kinds.h"
#include "platform/ui/controls/number_rule.h"
#include "platform/ui/controls/popup_click.h"
#include "platform/ui/controls/storable_text.h"
#include "platform/ui/events.h"
#include "platform/ui/pick_list.h"
#include "platform/ui/widgets/pick_list_model.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/window.h"

namespace fw {
namespace {

bool IsTextPicture(const std::string& picture) {
    return picture.size() >= 2 && (picture[1] == 's' || picture[1] == 'S');
}

int PictureLength(const std::string& picture) {
    if (!IsTextPicture(picture)) return 0;
    return static_cast<int>(NumericValue(picture.substr(2)));
}

bool SameValue(const UseVar& var, const std::string& a, const std::string& b) {
    if (var.Numeric() && IsNumericText(a) && IsNumericText(b)) return NumericValue(a) == NumericValue(b);
    return CLIP(a) == CLIP(b);
}

std::string WithoutMnemonic(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            out += text[++i];
            continue;
        }
        out += text[i];
    }
    return out;
}

// Notes why the widget last lost the focus, for the editingFinished that
// follows: a refusal is said only when the user moved on inside the window.
class FocusOutWatch : public QObject {
public:
    explicit FocusOutWatch(QWidget* watched) : QObject(watched) { watched->installEventFilter(this); }
    // The focus-out being handled now (none: the typing was committed
    // otherwise, by Enter, a close or the test driver).
    bool leaving = false;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent*>(e)->reason();
            leaving = true;
            goneElsewhere = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        } else if (e->type() == QEvent::FocusIn) {
            leaving = false;
        }
        return false;
    }

public:
    bool goneElsewhere = false;
};

// Whether typing the control cannot take is refused now: not when the user
// is leaving the window (or cancelling it), only when moving on inside it,
// pressing Enter or OK.
bool RefuseNow(const Window& window, FocusOutWatch* watch) {
    if (window.Cancelling()) return false;
    if (!watch || !watch->leaving) return true;
    watch->leaving = false;
    return !watch->goneElsewhere && window.RefusesWhenFocusGoesTo(QApplication::focusWidget());
}

// A spin box that shows its value through the control's picture and keeps
// what was typed until the control's rule takes or refuses it (Qt would
// put the last value back, or the nearest end of the range, without a word).
class PictureSpinBox : public QSpinBox {
public:
    std::string picture;
    std::function<void()> stepped;
    std::function<bool()> typingRefused;  // the text is not one the control takes
    std::function<void()> refuse;         // focus leaving with such a text

protected:
    QString textFromValue(int value) const override {
        if (picture.empty()) return QSpinBox::textFromValue(value);
        return Q(CLIP(FORMAT(static_cast<double>(value), picture))).trimmed();
    }
    int valueFromText(const QString& text) const override {
        const std::string t = A(text);
        if (!picture.empty() && !IsNumberPicture(picture)) return static_cast<int>(DeformatValue(t, picture));
        double v = 0;
        return ReadPictureNumber(t, picture, v) ? static_cast<int>(v) : value();
    }
    QValidator::State validate(QString&, int&) const override { return QValidator::Acceptable; }
    void keyPressEvent(QKeyEvent* e) override {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && typingRefused && typingRefused()) {
            if (enterRefused) enterRefused();
            return;
        }
        QSpinBox::keyPressEvent(e);
    }

public:
    std::function<void()> enterRefused;  // Enter with such a text
    QLineEdit* Edit() const { return lineEdit(); }
    QString Shown(int v) const { return textFromValue(v); }

protected:
    void focusOutEvent(QFocusEvent* e) override {
        if (typingRefused && typingRefused()) {
            QWidget::focusOutEvent(e);
            if (refuse) refuse();
            return;
        }
        QSpinBox::focusOutEvent(e);
    }
    void stepBy(int steps) override {
        if (typingRefused && typingRefused()) return;  // nothing to step from
        QSpinBox::stepBy(steps);
        if (stepped) stepped();
    }
};

}  // namespace

std::string ShowThroughPicture(const std::string& value, const std::string& picture) {
    if (picture.empty()) return CLIP(value);
    if (IsTextPicture(picture)) return CLIP(FORMAT(std::string_view(value), picture));
    return FORMAT(NumericValue(value), picture);
}

// -- button --

ButtonControl::ButtonControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    auto* bar = parent_ && parent_->Kind() == ControlKind::Toolbar ? static_cast<ToolbarControl*>(parent_) : nullptr;
    if (bar) {
        auto* tb = new QToolButton;
        tb->setToolButtonStyle(l.icon.empty() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
        button_ = tb;
        toolAction_ = bar->Bar()->addWidget(tb);
        widget_ = tb;
        tb->setProperty(kControlProperty, QVariant::fromValue<void*>(this));
        if (!l.tip.empty()) tb->setToolTip(TipText(l.tip));
    } else {
        auto* pb = new QPushButton;
        pb->setDefault(l.Has("default"));
        pb->setAutoDefault(false);
        button_ = pb;
        Adopt(pb);
    }
    button_->setFocusPolicy(Qt::StrongFocus);
    SetText(l.text);
    if (!l.icon.empty()) button_->setIcon(IconFromName(l.icon));
    // A picture button without a text shows its picture as large as the
    // button holds, up to the 32 pixels the pictures are drawn for.
    if (!l.icon.empty() && l.text.empty() && l.hasAt) {
        const int room = std::min(window_.DuToPxX(l.at.w), window_.DuToPxY(l.at.h)) - 8;
        const int side = std::clamp(room, 16, 32);
        button_->setIconSize({side, side});
    }
    QObject::connect(button_, &QAbstractButton::clicked, button_, [this] { Queue(Event::Accepted); });
}

void ButtonControl::SetText(const std::string& text) {
    text_ = text;
    // "|" breaks a button's text into lines.
    QString shown = Q(text);
    shown.replace('|', '\n');
    button_->setText(shown);
}

void ButtonControl::Set(Prop prop, const PropValue& value, int index) {
    if (prop == Prop::Icon) {
        layout_.icon = value.Str();
        button_->setIcon(IconFromName(layout_.icon));
        return;
    }
    if (prop == Prop::Default) {
        if (auto* pb = qobject_cast<QPushButton*>(button_)) pb->setDefault(value.Bool());
        return;
    }
    Control::Set(prop, value, index);
}

PropValue ButtonControl::Get(Prop prop, int index) const {
    if (prop == Prop::Default) {
        auto* pb = qobject_cast<QPushButton*>(button_);
        return pb && pb->isDefault() ? 1 : 0;
    }
    return Control::Get(prop, index);
}

bool ButtonControl::UserPress() {
    if (!Usable()) return false;
    button_->click();
    return true;
}

void ButtonControl::ApplyState() {
    if (toolAction_) {
        toolAction_->setVisible(EffectiveVisible());
        button_->setEnabled(EffectiveEnabled());
        return;
    }
    Control::ApplyState();
}

// -- entry --

EntryControl::EntryControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    edit_ = new QLineEdit;
    edit_->setValidator(new StorableTextValidator(edit_));
    Adopt(edit_);
    if (int len = PictureLength(l.picture); len > 0) edit_->setMaxLength(len);
    edit_->setReadOnly(l.Has("readonly"));
    if (l.Has("password")) edit_->setEchoMode(QLineEdit::Password);
    if (l.Has("right")) edit_->setAlignment(Qt::AlignRight);
    SetText(l.text);
    auto* watch = new FocusOutWatch(edit_);
    QObject::connect(edit_, &QLineEdit::editingFinished, edit_, [this, watch] {
        if (!edit_->isModified()) {
            watch->leaving = false;
            return;
        }
        if (!Valid()) {
            // Refused: EVENT:Rejected, its reason said and the text kept
            // selected; the typing stays unsaved until it is put right.
            if (RefuseNow(window_, watch)) Queue(Event::Accepted);
            return;
        }
        watch->leaving = false;
        edit_->setModified(false);
        touched_ = true;
        Queue(Event::Accepted);
    });
}

void EntryControl::SetText(const std::string& text) {
    text_ = text;
    edit_->setText(Q(text));
}

void EntryControl::Refresh() {
    if (use_) edit_->setText(Q(ShowThroughPicture(use_.Get(), layout_.picture)));
}

void EntryControl::Update() {
    if (!use_) return;
    std::string typed = A(edit_->text());
    if (IsNumberEntry(layout_.picture, use_)) {
        // Valid() has read it: exactly that number is stored.
        const std::optional<double> v = Rule().Read(typed);
        if (!v) return;
        use_.Set(NumberText(*v));
    } else {
        use_.Set(typed);
    }
    Refresh();
}

bool EntryControl::Valid() const {
    if (!IsNumberEntry(layout_.picture, use_)) return true;
    return Rule().Read(A(edit_->text())).has_value();
}

std::string EntryControl::Refusal() const {
    if (Valid()) return {};
    return Rule().Refusal();
}

bool EntryControl::TypingRefused() const { return edit_->isModified() && !Valid(); }

NumberRule EntryControl::Rule() const { return NumberRuleFor(layout_.picture, layout_.rangeLow, layout_.rangeHigh, use_); }

void EntryControl::CommitTyping() { emit edit_->editingFinished(); }

bool EntryControl::UserType(const std::string& text) {
    if (!Usable() || edit_->isReadOnly()) return false;
    edit_->setFocus(Qt::OtherFocusReason);
    edit_->setText(Q(text));
    edit_->setModified(true);
    emit edit_->editingFinished();
    return true;
}

std::string EntryControl::Text() const { return A(edit_->text()); }

void EntryControl::Set(Prop prop, const PropValue& value, int index) {
    if (prop == Prop::ReadOnly) { edit_->setReadOnly(value.Bool()); return; }
    if (prop == Prop::Touched) { touched_ = value.Bool(); return; }
    if (prop == Prop::Picture) { layout_.picture = value.Str(); Refresh(); return; }
    Control::Set(prop, value, index);
}

PropValue EntryControl::Get(Prop prop, int index) const {
    if (prop == Prop::ReadOnly) return edit_->isReadOnly() ? 1 : 0;
    if (prop == Prop::Touched) return touched_ ? 1 : 0;
    return Control::Get(prop, index);
}

// -- check --

CheckControl::CheckControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    box_ = new QCheckBox;
    Adopt(box_);
    SetText(l.text);
    QObject::connect(box_, &QAbstractButton::clicked, box_, [this] { Queue(Event::Accepted); });
}

void CheckControl::SetText(const std::string& text) {
    text_ = text;
    box_->setText(Q(text));
}

bool CheckControl::Checked() const { return box_->isChecked(); }

void CheckControl::Refresh() {
    if (use_) box_->setChecked(SameValue(use_, use_.Get(), layout_.trueValue));
}

void CheckControl::Update() {
    if (use_) use_.Set(box_->isChecked() ? layout_.trueValue : layout_.falseValue);
}

bool CheckControl::UserPress() {
    if (!Usable()) return false;
    box_->click();
    return true;
}

bool CheckControl::UserCheck(bool on) {
    if (!Usable()) return false;
    if (box_->isChecked() != on) box_->click();
    return true;
}

void CheckControl::Set(Prop prop, const PropValue& value, int index) {
    if (prop == Prop::TrueValue) { layout_.trueValue = value.Str(); return; }
    if (prop == Prop::FalseValue) { layout_.falseValue = value.Str(); return; }
    Control::Set(prop, value, index);
}

PropValue CheckControl::Get(Prop prop, int index) const {
    if (prop == Prop::TrueValue) return layout_.trueValue;
    if (prop == Prop::FalseValue) return layout_.falseValue;
    if (prop == Prop::Selected) return box_->isChecked() ? 1 : 0;
    return Control::Get(prop, index);
}

// -- option and radio --

OptionControl::OptionControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    auto* frame = new QGroupBox;
    if (l.Has("noframe")) frame->setFlat(true), frame->setStyleSheet("QGroupBox{border:0}");
    Adopt(frame);
    SetText(l.text);
    group_ = new QButtonGroup(frame);
    group_->setExclusive(true);
}

void OptionControl::SetText(const std::string& text) {
    text_ = text;
    static_cast<QGroupBox*>(widget_)->setTitle(Q(text));
}

void OptionControl::AddRadio(RadioControl* radio) {
    radios_.push_back(radio);
    group_->addButton(radio->Button(), static_cast<int>(radios_.size()));
    QObject::connect(radio->Button(), &QAbstractButton::clicked, widget_, [this] { Queue(Event::Accepted); });
}

void OptionControl::Refresh() {
    if (!use_) return;
    std::string v = use_.Get();
    for (RadioControl* r : radios_)
        if (SameValue(use_, v, r->Value())) { r->Button()->setChecked(true); return; }
}

void OptionControl::Update() {
    if (!use_) return;
    for (RadioControl* r : radios_)
        if (r->Button()->isChecked()) { use_.Set(r->Value()); return; }
}

bool OptionControl::UserChoose(int row) {
    if (row < 1 || row > static_cast<int>(radios_.size())) return false;
    return radios_[row - 1]->UserPress();
}

std::string OptionControl::Text() const {
    for (RadioControl* r : radios_)
        if (r->Button()->isChecked()) return r->Value();
    return {};
}

int OptionControl::Highlight() const {
    for (std::size_t i = 0; i < radios_.size(); ++i)
        if (radios_[i]->Button()->isChecked()) return static_cast<int>(i + 1);
    return 0;
}

std::vector<std::string> OptionControl::Rows() const {
    std::vector<std::string> out;
    for (RadioControl* r : radios_) out.push_back(r->Text());
    return out;
}

RadioControl::RadioControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    button_ = new QRadioButton;
    Adopt(button_);
    SetText(l.text);
    if (parent_ && parent_->Kind() == ControlKind::Option) static_cast<OptionControl*>(parent_)->AddRadio(this);
}

void RadioControl::SetText(const std::string& text) {
    text_ = text;
    button_->setText(Q(text));
}

std::string RadioControl::Value() const { return layout_.value.empty() ? WithoutMnemonic(layout_.text) : layout_.value; }

bool RadioControl::UserPress() {
    if (!Usable()) return false;
    button_->click();
    return true;
}

PropValue RadioControl::Get(Prop prop, int index) const {
    if (prop == Prop::Value) return Value();
    if (prop == Prop::Selected) return button_->isChecked() ? 1 : 0;
    return Control::Get(prop, index);
}

// -- spin --

SpinControl::SpinControl(Window& w, const ControlLayout& l, int n) : Control(w, l, n) {
    auto* spin = new PictureSpinBox;
    spin->picture = l.picture;
    spin_ = spin;
    Adopt(spin_);
    spin_->setRange(static_cast<int>(l.rangeLow.value_or(0)), static_cast<int>(l.rangeHigh.value_or(1000000)));
    spin_->setSingleStep(std::max(1, static_cast<int>(l.step)));
    spin->stepped = [this] { Queue(Event::NewSelection); };
    spin->typingRefused = [this] { return !Valid(); };
    auto* watch = new FocusOutWatch(spin_);
    spin->refuse = [this, watch] {
        if (RefuseNow(window_, watch)) Queue(Event::Accepted);
    };
    spin->enterRefused = [this] { Queue(Event::Accepted); };
    spin_->setKeyboardTracking(false);
    QObject::connect(spin_, &QAbstractSpinBox::editingFinished, spin_, [this, watch] {
        watch->leaving = false;
        Queue(Event::Accepted);
    });
}

NumberRule SpinControl::Rule() const {
    return NumberRuleFor(layout_.picture, static_cast<double>(spin_->minimum()), static_cast<double>(spin_->maximum()),
                         use_);
}

void SpinControl::Refresh() {
    if (use_) {
        QSignalBlocker block(spin_);
        spin_->setValue(static_cast<int>(NumericValue(use_.Get())));
        // setValue leaves a text it takes to be the same number alone.
        auto* spin = static_cast<PictureSpinBox*>(spin_);
        spin->Edit()->setText(spin->Shown(spin->value()));
    }
}

void SpinControl::Update() {
    if (!use_) return;
    const std::optional<double> v = Rule().Read(A(spin_->text()));
    if (!v) return;
    {
        QSignalBlocker block(spin_);
        spin_->setValue(static_cast<int>(*v));
    }
    use_.Set(NumberText(static_cast<long long>(spin_->value())));
}

bool SpinControl::Valid() const { return Rule().Read(A(spin_->text())).has_value(); }

std::string SpinControl::Refusal() const { return Valid() ? std::string() : Rule().Refusal(); }

bool SpinControl::TypingRefused() const {
    auto* spin = static_cast<PictureSpinBox*>(spin_);
    return spin->text() != spin->Shown(spin->value()) && !Valid();
}

void SpinControl::CommitTyping() {
    auto* spin = static_cast<PictureSpinBox*>(spin_);
    if (!Valid()) {
        if (!window_.Cancelling()) Queue(Event::Accepted);  // refused, and said so
    } else if (spin->text() != spin->Shown(spin->value())) {
        Queue(Event::Accepted);
    }
}

bool SpinControl::UserType(const std::string& text) {
    if (!Usable()) return false;
    spin_->setFocus(Qt::OtherFocusReason);
    static_cast<PictureSpinBox*>(spin_)->Edit()->setText(Q(text));
    // As a user leaving it: taken, or refused with its reason.
    Queue(Event::Accepted);
    return true;
}

bool SpinControl::UserChoose(int steps) {
    if (!Usable()) return false;
    spin_->stepBy(steps);
    return true;
}

std::string SpinControl::Text() const { return A(spin_->text()); }

void SpinControl::Set(Prop prop, const PropValue& value, int index) {
    switch (prop) {
    case Prop::RangeLow: spin_->setMinimum(value.Int()); return;
    case Prop::RangeHigh: spin_->setMaximum(value.Int()); return;
    case Prop::Step: spin_->setSingleStep(std::max(1L, value.Int())); return;
    default: Control::Set(prop, value, index);
    }
}

PropValue SpinControl::Get(Prop prop, int index) const {
    switch (prop) {
    case Prop::RangeLow: return spin_->minimum();
    case Prop::RangeHigh: return spin_->maximum();
    case Prop::Step: return spin_->singleStep();
    default: return Control::Get(prop, index);
    }
}

// -- drop list and combo --

ChoiceControl::ChoiceControl(Window& w, const ControlLayout& l, int n, bool editable)
    : Control(w, l, n), editable_(editable) {
    combo_ = new QComboBox;
    combo_->setEditable(editable);
    if (editable) combo_->setValidator(new StorableTextValidator(combo_));
    combo_->setInsertPolicy(QComboBox::NoInsert);
    // The geometry is the layout's: never measure every row for a size hint.
    combo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo_->setMinimumContentsLength(1);
    if (auto* view = qobject_cast<QListView*>(combo_->view())) view->setUniformItemSizes(true);
    Adopt(combo_);
    Fill(l.from);
    PassOutsideClicks(combo_);
    QObject::connect(combo_, &QComboBox::activated, combo_, [this] { Queue(Event::Accepted); });
    if (editable) {
        QObject::connect(combo_->lineEdit(), &QLineEdit::editingFinished, combo_, [this] {
            if (!combo_->lineEdit()->isModified()) return;
            combo_->lineEdit()->setModified(false);
            Queue(Event::Accepted);
        });
    }
}

// "a|b|c", where "#v" right after a row gives that row's value.
void ChoiceControl::Fill(const std::string& from) {
    QSignalBlocker block(combo_);
    if (pickList_) {
        // Back from a pick list to rows of its own.
        pickList_.reset();
        ReplaceModel(new QStandardItemModel(combo_));
        if (editable_) {
            QPointer<QCompleter> previous = combo_->completer();
            auto* completer = new QCompleter(combo_->model(), combo_);
            completer->setCaseSensitivity(Qt::CaseInsensitive);
            combo_->setCompleter(completer);
            if (previous) previous->deleteLater();
            PassOutsideClicks(combo_);
        }
    }
    combo_->clear();
    values_.clear();
    for (const std::string& row : SplitRows(from)) {
        if (!row.empty() && row[0] == '#' && !values_.empty()) {
            values_.back() = row.substr(1);
            continue;
        }
        combo_->addItem(Q(row));
        values_.push_back(row);
    }
    layout_.from = from;
    Refresh();
}

// The combo deletes a model it made itself; one of ours goes here.
void ChoiceControl::ReplaceModel(QAbstractItemModel* model) {
    QPointer<QAbstractItemModel> old = dynamic_cast<ui::PickListModel*>(combo_->model());
    combo_->setModel(model);
    if (old) old->deleteLater();
}

bool ChoiceControl::SetPickList(std::shared_ptr<const PickList> list) {
    if (!list) list = std::make_shared<const PickList>();
    QSignalBlocker block(combo_);
    ReplaceModel(new ui::PickListModel(list, combo_));
    values_.clear();
    layout_.from.clear();
    pickList_ = list;
    if (editable_) {
        QPointer<QCompleter> previous = dynamic_cast<ui::PickListCompleter*>(combo_->completer());
        auto* completer = new ui::PickListCompleter(list, combo_);
        QLineEdit* edit = combo_->lineEdit();
        combo_->setCompleter(completer);
        if (previous) previous->deleteLater();
        // Narrowed before the line edit asks the completer to show its pop-up.
        QObject::connect(edit, &QLineEdit::textEdited, completer, &ui::PickListCompleter::Narrow);
        PassOutsideClicks(combo_);
    }
    Refresh();
    return true;
}

void ChoiceControl::Refresh() {
    if (!use_) return;
    QSignalBlocker block(combo_);
    std::string v = use_.Get();
    if (pickList_) {
        const std::size_t i = pickList_->Find(v);
        combo_->setCurrentIndex(i != PickList::npos ? static_cast<int>(i) : -1);
        if (editable_) combo_->setEditText(Q(CLIP(v)));
        return;
    }
    for (std::size_t i = 0; i < values_.size(); ++i)
        if (SameValue(use_, v, values_[i])) {
            combo_->setCurrentIndex(static_cast<int>(i));
            return;
        }
    if (editable_) combo_->setEditText(Q(CLIP(v)));
    else combo_->setCurrentIndex(-1);
}

void ChoiceControl::Update() {
    if (!use_) return;
    int i = combo_->currentIndex();
    if (pickList_) {
        if (editable_) use_.Set(A(combo_->currentText()));
        else if (i >= 0 && static_cast<std::size_t>(i) < pickList_->Size()) use_.Set(pickList_->At(static_cast<std::size_t>(i)));
        return;
    }
    if (editable_) {
        std::string typed = A(combo_->currentText());
        if (i >= 0 && typed == A(combo_->itemText(i))) use_.Set(values_[i]);
        else use_.Set(typed);
    } else if (i >= 0 && i < static_cast<int>(values_.size())) {
        use_.Set(values_[i]);
    }
}

bool ChoiceControl::UserChoose(int row) {
    if (!Usable() || row < 1 || row > combo_->count()) return false;
    combo_->setCurrentIndex(row - 1);
    emit combo_->activated(row - 1);
    return true;
}

bool ChoiceControl::UserType(const std::string& text) {
    if (!Usable() || !editable_) return false;
    combo_->setEditText(Q(text));
    combo_->lineEdit()->setModified(true);
    emit combo_->lineEdit()->editingFinished();
    return true;
}

std::string ChoiceControl::Text() const { return A(combo_->currentText()); }

std::vector<std::string> ChoiceControl::Rows() const {
    std::vector<std::string> out;
    for (int i = 0; i < combo_->count(); ++i) out.push_back(A(combo_->itemText(i)));
    return out;
}

int ChoiceControl::Highlight() const { return combo_->currentIndex() + 1; }

void ChoiceControl::Set(Prop prop, const PropValue& value, int index) {
    if (prop == Prop::From) { Fill(value.Str()); return; }
    if (prop == Prop::Selected) {
        QSignalBlocker block(combo_);
        combo_->setCurrentIndex(value.Int() - 1);
        return;
    }
    if (prop == Prop::Text && editable_) { combo_->setEditText(Q(value.Str())); return; }
    Control::Set(prop, value, index);
}

PropValue ChoiceControl::Get(Prop prop, int index) const {
    if (prop == Prop::From) return layout_.from;
    if (prop == Prop::Selected) return combo_->currentIndex() + 1;
    if (prop == Prop::Items) return combo_->count();
    return Control::Get(prop, index);
}

}  // namespace fw
