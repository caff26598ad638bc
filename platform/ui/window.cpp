#include "platform/ui/window.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "platform/runtime/scheduler.h"
#include "platform/text/codepage.h"
#include "platform/ui/controls/control_kinds.h"
#include "platform/ui/events.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/text_fit.h"
#include "platform/ui/ui_state.h"

namespace fw {

void ShowPrinterSetup();  // common_dialogs.cpp

namespace {
std::vector<Window*>& Registry() {
    static std::vector<Window*> windows;
    return windows;
}

QFont WindowFont(const FontPlan& desc) {
    QFont f(Q(desc.name.empty() ? "MS Sans Serif" : desc.name));
    f.setPointSize(desc.size > 0 ? desc.size : 8);
    if (desc.style > 0) ApplyFontStyle(f, desc.style);
    return f;
}
}  // namespace

const std::vector<Window*>& OpenWindows() { return Registry(); }

Window* TopWindow(int thread) {
    auto& r = Registry();
    for (auto it = r.rbegin(); it != r.rend(); ++it)
        if ((*it)->Thread() == thread) return *it;
    return nullptr;
}

Window* FrameWindow() {
    for (Window* w : Registry())
        if (w->IsFrame()) return w;
    return nullptr;
}

void DialogUnitBase(const FontPlan& font, int& charWidth, int& charHeight) {
    QFontMetrics fm(WindowFont(font));
    charWidth = (fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) / 2;
    charHeight = fm.height();
    if (charWidth <= 0) charWidth = 6;
    if (charHeight <= 0) charHeight = 13;
}

// Qt's side of a window: close box, activation, size and state changes.
class WindowEvents : public QObject {
public:
    explicit WindowEvents(Window& w) : w_(w) {}
    bool opening = false;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == w_.content_ && w_.callDisabled_) {
            // A window inside a call takes no mouse: what its disabled
            // controls ignore must not go on to the MDI sub-window or area
            // around it, which would activate or rearrange the children.
            switch (e->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::ContextMenu:
                e->accept();
                return true;
            default: break;
            }
        }
        if (watched == w_.content_ && e->type() == QEvent::KeyPress) {
            // Keys the focused control left alone, as a dialog takes them.
            auto* k = static_cast<QKeyEvent*>(e);
            if (k->modifiers() & ~(Qt::KeypadModifier)) return false;
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) return w_.PressKeyButton(false);
            if (k->key() == Qt::Key_Escape) return w_.PressKeyButton(true);
            return false;
        }
        if (watched != w_.root_) return false;
        switch (e->type()) {
        case QEvent::Close:
            e->ignore();
            w_.RequestClose();
            return true;
        case QEvent::WindowActivate:
            if (w_.IsFrame()) w_.FrameActivated();
            else if (!w_.sub_) ActivateWindow(&w_);
            break;
        case QEvent::Resize:
            if (!opening && w_.open_) {
                if (w_.IsFrame()) w_.Queue(Event::Size, 0, true);
                w_.Queue(Event::Sized, 0, true);
            }
            break;
        case QEvent::WindowStateChange: {
            if (opening || !w_.open_) break;
            auto* sc = static_cast<QWindowStateChangeEvent*>(e);
            Qt::WindowStates now = static_cast<QWidget*>(watched)->windowState();
            if (!w_.IsFrame()) break;
            if (now & Qt::WindowMaximized) w_.Queue(Event::Maximize, 0);
            else if (now & Qt::WindowMinimized) w_.Queue(Event::Iconize, 0);
            else if (sc->oldState() & (Qt::WindowMaximized | Qt::WindowMinimized)) w_.Queue(Event::Restore, 0);
            break;
        }
        default: break;
        }
        return false;
    }

private:
    Window& w_;
};

Window::Window(std::string_view label) : Window(LoadLayout(label)) {}

Window::Window(WindowLayout layout) : layout_(std::move(layout)) {
    EnsureUiInstalled();
    alerts_ = layout_.alerts;
    minW_ = layout_.minWidth;
    minH_ = layout_.minHeight;
    timerHundredths_ = layout_.timer;
    Build();
}

Window::~Window() {
    Close();
    controls_.clear();
    if (sub_) delete sub_;
    else if (root_) delete root_.data();
}

void Window::Build() {
    int charW = 0, charH = 0;
    DialogUnitBase(layout_.font, charW, charH);
    unitX_ = charW / 4.0;
    unitY_ = charH / 8.0;
    QFont font = WindowFont(layout_.font);
    GrowToFitTexts(font);
    WidenForLists(font);
    events_ = std::make_unique<WindowEvents>(*this);
    if (IsFrame()) {
        frame_ = new QMainWindow;
        root_ = frame_;
        mdi_ = new QMdiArea;
        frame_->setCentralWidget(mdi_);
        statusBar_ = frame_->statusBar();
        content_ = new QWidget(frame_);
        content_->hide();
        frame_->setFont(font);
        frame_->resize(DuToPxX(layout_.at.w), DuToPxY(layout_.at.h));
        QObject::connect(mdi_, &QMdiArea::subWindowActivated, frame_, [](QMdiSubWindow* sub) {
            if (!sub) return;
            QVariant v = sub->property(kWindowProperty);
            if (v.isValid()) ActivateWindow(static_cast<Window*>(v.value<void*>()));
        });
    } else {
        container_ = new QWidget;
        auto* box = new QVBoxLayout(container_);
        box->setContentsMargins(0, 0, 0, 0);
        box->setSpacing(0);
        content_ = new QWidget;
        content_->setFont(font);
        container_->setFont(font);
        QSize size(DuToPxX(layout_.at.w), DuToPxY(layout_.at.h));
        if (layout_.Has("resize")) {
            content_->setMinimumSize(DuToPxX(minW_), DuToPxY(minH_));
            content_->resize(size);
        } else {
            content_->setFixedSize(size);
            box->setSizeConstraint(QLayout::SetFixedSize);
        }
        box->addWidget(content_, 1);
        if (!layout_.statusZones.empty()) {
            statusBar_ = new QStatusBar;
            statusBar_->setSizeGripEnabled(layout_.Has("resize"));
            box->addWidget(statusBar_);
        }
        Window* frame = FrameWindow();
        if (layout_.kind == WindowKind::MdiChild && frame) {
            sub_ = frame->MdiArea()->addSubWindow(container_);
            if (layout_.Has("nocaption")) sub_->setWindowFlags(Qt::SubWindow | Qt::FramelessWindowHint);
            sub_->setAttribute(Qt::WA_DeleteOnClose, false);
            sub_->setProperty(kWindowProperty, QVariant::fromValue<void*>(this));
            root_ = sub_;
        } else {
            Qt::WindowFlags flags = frame ? Qt::Dialog : Qt::Window;
            if (layout_.Has("nocaption")) flags |= Qt::FramelessWindowHint;
            if (frame) container_->setParent(frame->Root(), flags);
            else container_->setWindowFlags(flags);
            root_ = container_;
        }
        if (layout_.Has("resize")) root_->resize(root_->sizeHint().expandedTo(size));
    }
    for (std::size_t i = 0; i < layout_.statusZones.size(); ++i) {
        auto* zone = new QLabel;
        int width = layout_.statusZones[i];
        if (width > 0) zone->setFixedWidth(DuToPxX(width));
        statusBar_->addWidget(zone, width > 0 ? 0 : 1);
        statusZones_.push_back(zone);
    }
    SetCaption(layout_.caption);
    if (!layout_.icon.empty()) root_->setWindowIcon(IconFromName(layout_.icon));
    root_->setProperty(kWindowProperty, QVariant::fromValue<void*>(this));
    content_->setProperty(kWindowProperty, QVariant::fromValue<void*>(this));
    root_->installEventFilter(events_.get());
    content_->installEventFilter(events_.get());
    BuildControls();
    built_ = true;
}

void Window::BuildControls() {
    controls_.reserve(layout_.controls.size());
    for (std::size_t i = 0; i < layout_.controls.size(); ++i)
        controls_.push_back(CreateControl(*this, layout_.controls[i], static_cast<int>(i + 1)));
    // Groups and panels lie behind the other controls, and sheets behind
    // them, so a group drawn on a tab stays in sight.
    for (const auto& c : controls_)
        if (c->Kind() == ControlKind::Sheet && c->Widget()) c->Widget()->lower();
    // A prompt's mnemonic moves the focus to the control after it.
    for (std::size_t i = 0; i + 1 < controls_.size(); ++i)
        if (controls_[i]->Kind() == ControlKind::Prompt && controls_[i + 1]->Widget())
            static_cast<LabelControl*>(controls_[i].get())->SetBuddy(controls_[i + 1]->Widget());
    ApplyStates();
}

QWidget* Window::Root() const { return root_; }

QMenuBar* Window::MenuBar() {
    if (menuBar_) return menuBar_;
    if (frame_) {
        menuBar_ = frame_->menuBar();
    } else {
        menuBar_ = new QMenuBar;
        static_cast<QVBoxLayout*>(container_->layout())->setMenuBar(menuBar_);
    }
    return menuBar_;
}

QToolBar* Window::ToolBar() {
    if (toolBar_) return toolBar_;
    toolBar_ = new QToolBar;
    toolBar_->setMovable(false);
    if (frame_) frame_->addToolBar(toolBar_);
    else static_cast<QVBoxLayout*>(container_->layout())->insertWidget(0, toolBar_);
    return toolBar_;
}

int Window::DuToPxX(int du) const { return static_cast<int>(std::lround(du * unitX_)); }
int Window::DuToPxY(int du) const { return static_cast<int>(std::lround(du * unitY_)); }
int Window::PxToDuX(int px) const { return static_cast<int>(std::lround(px / unitX_)); }
int Window::PxToDuY(int px) const { return static_cast<int>(std::lround(px / unitY_)); }

// The layouts were drawn for a font whose texts are narrower than some of
// ours: a window whose texts (or title) do not fit at its designed size
// grows, its dialog units widened (or heightened) until the text that needs
// it most fits, so every control keeps its place relative to the others.
void Window::GrowToFitTexts(const QFont& font) {
    constexpr double kMostGrowth = 1.5;  // a text needing more is a fault of its layout
    double growX = 1, growY = 1;
    const auto need = [&](double needed, int du, double unit, double& grow) {
        if (du <= 0 || needed <= 0) return;
        grow = std::max(grow, std::min(kMostGrowth, needed / (du * unit)));
    };
    for (const ControlLayout& c : layout_.controls) {
        if (!c.hasAt) continue;
        const std::optional<QSize> text = TextNeeds(c, ControlFont(font, c.font), DuToPxX(c.at.w));
        if (!text) continue;
        need(text->width(), c.at.w, unitX_, growX);
        need(text->height(), c.at.h, unitY_, growY);
    }
    if (!IsFrame() && !layout_.Has("nocaption")) need(CaptionNeeds(layout_.caption), layout_.at.w, unitX_, growX);
    unitX_ *= growX;
    unitY_ *= growY;
}

// A list narrower than its columns (their headings and their fields'
// longest values) widens by what it lacks, as far as the room on the
// screen allows: a strip that wide is put in at its right edge, across
// the whole window. What lies right of the edge moves right by it, what
// spans the edge (a sheet, a group, a list beside) widens by it, the rest
// keeps its place. The rightmost lists are widened first, so a strip
// never moves a list still to be measured.
void Window::WidenForLists(const QFont& font) {
    if (IsFrame() || layout_.at.w <= 0) return;
    const int room = PxToDuX(RoomAcross());
    std::vector<ControlLayout*> lists;
    for (ControlLayout& c : layout_.controls)
        if (c.hasAt && c.kind == ControlKind::List && !c.format.empty()) lists.push_back(&c);
    std::stable_sort(lists.begin(), lists.end(),
                     [](const ControlLayout* a, const ControlLayout* b) { return a->at.x + a->at.w > b->at.x + b->at.w; });
    for (ControlLayout* list : lists) {
        const std::optional<int> needs = ListNeeds(*list, ControlFont(font, list->font), unitX_);
        if (!needs) continue;
        int strip = 0;
        while (DuToPxX(list->at.w + strip) < *needs && layout_.at.w + strip < room) ++strip;
        if (strip == 0) continue;
        const int edge = list->at.x + list->at.w;
        for (ControlLayout& c : layout_.controls) {
            if (!c.hasAt) continue;
            const bool holds = c.kind == ControlKind::List || c.kind == ControlKind::Sheet ||
                               c.kind == ControlKind::Tab || c.kind == ControlKind::Group ||
                               c.kind == ControlKind::Option || c.kind == ControlKind::Panel ||
                               c.kind == ControlKind::Box;
            if (c.at.x >= edge) c.at.x += strip;
            else if (c.at.x + c.at.w > edge || (holds && c.at.x + c.at.w == edge)) c.at.w += strip;
        }
        layout_.at.w += strip;
    }
}

// The widest client area the window can be given: its frame's MDI area
// for a child of a shown frame, else its screen's available width, less
// the sides of the window's own frame.
int Window::RoomAcross() const {
    const int sides = 2 * QApplication::style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    Window* frame = FrameWindow();
    if (layout_.kind == WindowKind::MdiChild && frame && frame->Root()->isVisible())
        if (const int area = frame->MdiArea()->viewport()->width(); area > 0) return area - sides;
    QScreen* screen = frame && frame->Root()->isVisible() ? frame->Root()->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().width() - sides : 1 << 16;
}

Control* Window::Find(std::string_view equate) const {
    std::string key = UpperText(equate);
    for (const auto& c : controls_)
        if (c->Equate() == key) return c.get();
    return nullptr;
}

Control* Window::Find(int number) const {
    if (number < 1 || number > static_cast<int>(controls_.size())) return nullptr;
    return controls_[number - 1].get();
}

int Window::Feq(std::string_view equate) const {
    Control* c = Find(equate);
    return c ? c->Number() : 0;
}

void Window::Use(std::string_view equate, UseVar var) {
    if (Control* c = Find(equate)) c->Bind(std::move(var));
    else throw LayoutError("window " + layout_.label + " has no control " + std::string(equate));
}

void Window::ApplyStates() {
    for (const auto& c : controls_) c->ApplyState();
}

void Window::SetCallDisabled(bool disabled) {
    if (callDisabled_ == disabled) return;
    callDisabled_ = disabled;
    // Only the window's own parts: a frame's MDI children of other threads
    // stay usable.
    content_->setEnabled(!disabled);
    if (menuBar_) menuBar_->setEnabled(!disabled);
    if (toolBar_) toolBar_->setEnabled(!disabled);
}

void Window::Open() {
    if (open_) return;
    thread_ = THREAD();
    // A dialog's owner: the window of its thread that calls it, else the frame.
    Window* owner = TopWindow(thread_);
    if (!owner) owner = FrameWindow();
    for (Window* w : Registry())
        if (w->thread_ == thread_) w->SetCallDisabled(true);
    Registry().push_back(this);
    open_ = true;
    painted_ = false;
    closeDownSent_ = false;
    queue_.clear();
    events_->opening = true;
    if (!layout_.centered) {
        root_->move(DuToPxX(layout_.at.x), DuToPxY(layout_.at.y));
    } else if (!sub_) {
        PlaceOverOwner(root_, IsFrame() ? nullptr : owner);
    }
    if (layout_.Has("max")) {
        root_->showMaximized();
    } else {
        root_->show();
        GiveDesignedClientSize();
        if (sub_ && layout_.centered) CenterInMdiArea();
        // Shown, its frame is known: placed again with it.
        if (!sub_ && layout_.centered) PlaceOverOwner(root_, IsFrame() ? nullptr : owner);
    }
    events_->opening = false;
    Queue(Event::OpenWindow, 0);
    ActivateWindow(this);
    // A window larger than its frame is brought inside it once the program
    // has seen it at its designed size: the shrink arrives as EVENT:Sized.
    if (!layout_.Has("max") && !IsFrame())
        QMetaObject::invokeMethod(root_, [guard = QPointer<QWidget>(root_), this] {
            if (guard && open_) KeepInsideFrame();
        }, Qt::QueuedConnection);
    if (timerHundredths_ > 0) StartTimer();
}

void PlaceOverOwner(QWidget* dialog, const Window* owner) {
    if (!dialog || !dialog->isWindow()) return;
    QWidget* over = owner && owner->Root() && owner->Root()->isVisible() && !owner->Root()->window()->isMinimized()
                        ? owner->Root()
                        : nullptr;
    QScreen* screen = over ? over->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    QRect area = room;
    if (over && over->isWindow()) area = over->frameGeometry();
    else if (over) area = QRect(over->mapToGlobal(QPoint(0, 0)), over->size());  // an MDI child
    const QSize extra = dialog->frameGeometry().size() - dialog->size();
    // A window never shown nor sized has Qt's default size, not its own:
    // its size hint is what it will have.
    const bool sized = dialog->isVisible() || dialog->testAttribute(Qt::WA_Resized);
    const QSize size = (sized ? dialog->size() : dialog->sizeHint()) + extra;
    QPoint at = area.center() - QPoint(size.width() / 2, size.height() / 2);
    if (!room.isEmpty()) {
        at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - size.width())));
        at.setY(std::max(room.top(), std::min(at.y(), room.bottom() + 1 - size.height())));
    }
    dialog->move(at);
}

void Window::GiveDesignedClientSize() {
    if (IsFrame() || !layout_.Has("resize")) return;
    // The menu bar and the status line are built after the first size was
    // given; the window grows by them so its client area is as designed.
    container_->layout()->activate();
    const QSize designed(DuToPxX(layout_.at.w), DuToPxY(layout_.at.h));
    const QSize missing = designed - content_->size();
    if (missing.width() > 0 || missing.height() > 0) root_->resize(root_->size() + missing.expandedTo({0, 0}));
    container_->layout()->activate();
}

// The one place a window's title is set. A title longer than the title
// bar (set while the window is open, or longer than its growth allowed)
// widens the window until it shows whole, as far as the room allows; a
// resizable window hears of it as EVENT:Sized.
void Window::SetCaption(std::string_view caption) {
    root_->setWindowTitle(TitleText(caption));
    if (IsFrame() || layout_.Has("nocaption") || root_->isMaximized() || root_->isMinimized()) return;
    const int missing = std::min(CaptionNeeds(caption), RoomAcross()) - content_->width();
    if (missing <= 0) return;
    if (!layout_.Has("resize")) {
        content_->setFixedWidth(content_->width() + missing);
        container_->layout()->activate();
        if (sub_) sub_->resize(sub_->width() + missing, sub_->height());
    } else {
        root_->resize(root_->width() + missing, root_->height());
        container_->layout()->activate();
    }
}

void Window::CenterInMdiArea() {
    QWidget* area = sub_->mdiArea() ? sub_->mdiArea()->viewport() : nullptr;
    if (!area) return;
    const QSize s = sub_->frameGeometry().size();
    sub_->move(std::max(0, (area->width() - s.width()) / 2), std::max(0, (area->height() - s.height()) / 2));
}

void Window::KeepInsideFrame() {
    QRect room;
    if (sub_) {
        if (!sub_->mdiArea() || sub_->isMaximized()) return;
        room = sub_->mdiArea()->viewport()->rect();
    } else if (Window* frame = FrameWindow(); frame && frame != this && root_->isWindow()) {
        room = frame->Root()->geometry();
    } else {
        return;
    }
    if (room.isEmpty()) return;
    QRect at = root_->frameGeometry();
    const QSize frameExtra = at.size() - root_->size();
    if (layout_.Has("resize") && (at.width() > room.width() || at.height() > room.height())) {
        const QSize fits = (room.size() - frameExtra).boundedTo(root_->size()).expandedTo(root_->minimumSizeHint());
        root_->resize(fits);
        at = root_->frameGeometry();
    }
    QPoint to = at.topLeft();
    to.setX(std::max(room.left(), std::min(to.x(), room.right() + 1 - at.width())));
    to.setY(std::max(room.top(), std::min(to.y(), room.bottom() + 1 - at.height())));
    if (to != at.topLeft()) root_->move(root_->pos() + (to - at.topLeft()));
}

Control* Window::FocusedControl() const {
    for (QObject* o = QApplication::focusWidget(); o; o = o->parent()) {
        QVariant c = o->property(kControlProperty);
        if (c.isValid()) {
            auto* control = static_cast<Control*>(c.value<void*>());
            return &control->Owner() == this ? control : nullptr;
        }
        if (o == content_) return nullptr;
    }
    return nullptr;
}

namespace {

// "Cancel", "Close" or "Close <what>", or the standard close: the button
// that leaves the window.
bool IsCancelButton(const Control& c) {
    if (c.Kind() != ControlKind::Button) return false;
    std::string plain;
    for (char ch : c.Layout().text)
        if (ch != '&') plain += ch;
    const std::string first = plain.substr(0, plain.find(' '));
    return c.Layout().std == "close" || CompareFolded(plain, "Cancel") == 0 || CompareFolded(first, "Close") == 0;
}

}  // namespace

bool Window::PressKeyButton(bool escape) {
    if (!open_ || callDisabled_) return false;
    for (const auto& c : controls_) {
        if (c->Kind() != ControlKind::Button || !c->Usable()) continue;
        const bool match = escape ? IsCancelButton(*c) : c->Get(Prop::Default, 0).Bool();
        if (!match) continue;
        if (Control* focused = FocusedControl()) {
            // Typing the window cannot take is not refused on the way out.
            cancelling_ = escape;
            focused->CommitTyping();
            cancelling_ = false;
        }
        return c->UserPress();
    }
    return false;
}

bool Window::RefusesWhenFocusGoesTo(QWidget* to) const {
    for (QObject* o = to; o; o = o->parent()) {
        QVariant v = o->property(kControlProperty);
        if (v.isValid()) {
            const auto* control = static_cast<Control*>(v.value<void*>());
            return &control->Owner() == this && !IsCancelButton(*control);
        }
        if (o == content_) return true;
    }
    return false;  // another window, or none: the user went elsewhere for now
}

Control* Window::RefusedTypingBefore(const Control& pressed) const {
    if (pressed.Kind() != ControlKind::Button || IsCancelButton(pressed)) return nullptr;
    if (pressed.Parent() && pressed.Parent()->Kind() == ControlKind::Toolbar) return nullptr;  // takes no focus
    for (const auto& c : controls_)
        if (c->Usable() && c->TypingRefused()) return c.get();
    return nullptr;
}

void Window::ShowRefusal(int field) {
    Control* c = Find(field);
    if (!c) return;
    // Input queued behind the refused entry (a button pressed by the same
    // key, a click typed ahead) was meant for a value that was not taken.
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                                [this, field](const Pending& p) {
                                    if (p.event != Event::Accepted || !p.field) return false;
                                    if (p.field == field) return true;  // the same typing, committed twice
                                    const Control* o = Find(p.field);
                                    return o && (o->Kind() == ControlKind::Button || o->Kind() == ControlKind::Item);
                                }),
                 queue_.end());
    std::string why = c->Refusal();
    if (why.empty()) why = "Please correct this entry.";
    // Named by the prompt in front of it.
    if (const Control* before = Find(field - 1); before && before->Kind() == ControlKind::Prompt) {
        std::string name;
        for (char ch : before->Layout().text)
            if (ch != '&') name += ch;
        while (!name.empty() && (name.back() == ':' || name.back() == ' ')) name.pop_back();
        if (!name.empty()) why = name + ": " + why;
    }
    MESSAGE(why, {}, Icon::Exclamation, Button::Ok);
    if (!open_ || !c->Widget()) return;
    // The focus stays with the entry, its text selected to be typed over.
    focus_ = field;
    c->Widget()->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(c->Widget())) edit->selectAll();
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(c->Widget())) spin->selectAll();
}

void Window::FrameActivated() {
    // Back from a dialog or another program: the MDI child that was active
    // is again, once the area has settled (it would pick its first child,
    // and maximise that one when the active child was maximised).
    Window* child = Ui().active;
    if (!child || child == this || !child->sub_ || child->sub_->mdiArea() != mdi_) {
        ActivateWindow(this);
        return;
    }
    QMetaObject::invokeMethod(mdi_, [area = QPointer<QMdiArea>(mdi_), child] {
        if (!area) return;
        const auto& open = OpenWindows();
        if (std::find(open.begin(), open.end(), child) == open.end()) return;
        child->Reactivate();
    }, Qt::QueuedConnection);
}

void Window::Reactivate() {
    if (!open_ || !root_) return;
    if (callDisabled_) {
        // Inside a call (a click on it activated the frame, say): the child
        // keeps its place in the MDI area, which would otherwise activate
        // and raise a child of its own choice. Nothing is activated: the
        // box it waits for and the desktop settle the keyboard (asking
        // for it here as well made the two take it in turns).
        if (sub_)
            if (QMdiArea* area = sub_->mdiArea(); area && area->activeSubWindow() != sub_) area->setActiveSubWindow(sub_);
        return;
    }
    if (sub_) {
        if (QMdiArea* area = sub_->mdiArea(); area && area->activeSubWindow() != sub_) area->setActiveSubWindow(sub_);
        // The frame takes the keyboard back too, not whatever window the
        // desktop would pick.
        if (QWidget* top = sub_->window(); top != sub_ && !top->isActiveWindow()) top->activateWindow();
    } else if (!root_->isActiveWindow()) {
        root_->activateWindow();
    }
}

void Window::Close() {
    if (!open_) return;
    open_ = false;
    inPass_ = false;
    StopTimer();
    queue_.clear();
    auto& r = Registry();
    r.erase(std::remove(r.begin(), r.end(), this), r.end());
    const bool wasActive = Ui().active == this;
    if (root_) root_->hide();
    if (Ui().active == this) Ui().active = nullptr;
    // Back to the caller: its window is usable again and gains the focus.
    // The MDI area would activate (and raise) a child of its own choice,
    // the oldest: the caller, else the newest usable window of another
    // thread, takes the activation instead.
    if (Window* caller = TopWindow(thread_)) {
        caller->SetCallDisabled(false);
        if (Ui().closing && thread_ != Ui().closingThread) caller->SendCloseDown();
        ActivateWindow(caller);
        caller->Reactivate();
    } else if (wasActive && sub_) {
        for (auto it = r.rbegin(); it != r.rend(); ++it) {
            Window* next = TopWindow((*it)->Thread());
            if (!next || !next->sub_ || next->CallDisabled()) continue;
            ActivateWindow(next);
            next->Reactivate();
            break;
        }
    }
    WakeClosingFrame();
}

void Window::Queue(int event, int field, bool coalesce) {
    if (!open_) return;
    if (coalesce && HasPending(event)) return;
    queue_.push_back({event, field, lastInput_});
    runtime::Wake(thread_);
}

bool Window::HasPending(int event) const {
    return std::any_of(queue_.begin(), queue_.end(), [event](const Pending& p) { return p.event == event; });
}

void Window::Post(int event, int field) { Queue(event, field); }

void Window::RequestClose() {
    if (!open_ || callDisabled_) return;
    if (Control* focused = FocusedControl()) {
        cancelling_ = true;
        focused->CommitTyping();
        cancelling_ = false;
    }
    Queue(Event::CloseWindow, 0, true);
}

void Window::SendCloseDown() {
    if (!open_ || closeDownSent_) return;
    closeDownSent_ = true;
    Queue(Event::CloseDown, 0);
}

void Window::FireTimer() {
    if (!open_ || timerHundredths_ <= 0) return;
    if (HasPending(Event::Timer)) return;
    Queue(Event::Timer, 0);
    // An idle timer waits until its event is taken, so it never spins.
    if (timer_ && timer_->interval() == 0) timer_->stop();
}

void Window::StartTimer() {
    if (Ui().manualTimers || timerHundredths_ <= 0 || !open_) {
        StopTimer();
        return;
    }
    if (!timer_) {
        timer_ = new QTimer(root_);
        QObject::connect(timer_, &QTimer::timeout, timer_, [this] { FireTimer(); });
    }
    // The shortest interval fires as soon as the loop is idle, so a
    // process handling records per timer event is not slowed by it.
    timer_->start(timerHundredths_ <= 1 ? 0 : timerHundredths_ * 10);
}

void Window::StopTimer() {
    if (timer_) timer_->stop();
}

bool Window::NextEvent(Pending& out) {
    if (acceptAllRunning_) {
        while (acceptAllNext_ < controls_.size()) {
            Control* c = controls_[acceptAllNext_++].get();
            if (!c->InAcceptAll() || !c->EffectiveVisible() || !c->EffectiveEnabled()) continue;
            if (!c->Valid()) {
                acceptAllRunning_ = false;
                focus_ = c->Number();
                if (c->Widget()) c->Widget()->setFocus();
                refused_ = c->Number();
                out = {Event::Rejected, c->Number(), lastInput_};
                return true;
            }
            c->Update();
            out = {Event::Accepted, c->Number(), lastInput_};
            return true;
        }
        acceptAllRunning_ = false;
        out = {Event::Completed, 0, lastInput_};
        return true;
    }
    if (queue_.empty()) return false;
    out = queue_.front();
    queue_.pop_front();
    if (out.event == Event::Timer && timer_ && !timer_->isActive() && !Ui().manualTimers) StartTimer();
    if (out.event == Event::Accepted && out.field) {
        if (Control* c = Find(out.field)) {
            // A button pressed while an entry holds typing it refused (a
            // click or a mnemonic moves the focus there first): the entry
            // refuses it again and the button is not pressed.
            if (Control* entry = RefusedTypingBefore(*c)) {
                out = {Event::Rejected, entry->Number(), out.keyCode};
                refused_ = entry->Number();
                return true;
            }
            if (!c->Valid()) {
                out.event = Event::Rejected;
                refused_ = c->Number();
            } else {
                c->Update();
            }
        }
    }
    return true;
}

bool Window::Accept() {
    if (!open_) return false;
    if (inPass_ && !FinishPass()) return false;
    runtime::EndOfPass();
    for (;;) {
        if (!open_) return false;
        if (Ui().closing && Ui().closingThread == thread_ && IsFrame()) {
            if (Ui().closeRefused) {
                Ui().closing = false;
                Ui().closeRefused = false;
            } else {
                auto live = runtime::LiveThreads();
                if (live.size() <= 1) {
                    Ui().closing = false;
                    Close();
                    return false;
                }
                runtime::Wait();
                continue;
            }
        }
        Pending p;
        if (NextEvent(p)) {
            // A refused entry says why before the program hears of it.
            if (const int field = std::exchange(refused_, 0)) ShowRefusal(field);
            if (!open_) return false;
            event_ = p.event;
            field_ = p.field;
            keyCode_ = p.keyCode;
            cycle_ = false;
            inPass_ = true;
            return true;
        }
        runtime::Wait();
    }
}

bool Window::FinishPass() {
    inPass_ = false;
    const int ev = event_;
    const bool cycled = cycle_;
    cycle_ = false;
    if ((ev == Event::Completed || ev == Event::Rejected) && !acceptAllRunning_) acceptAll_ = false;
    if (ev == Event::CloseDown && cycled) {
        // A refusal cancels the program's close.
        closeDownSent_ = false;
        if (Ui().closing) {
            Ui().closeRefused = true;
            WakeClosingFrame();
        }
        return true;
    }
    if (field_ && !IsWindowEvent(ev))
        if (Control* c = Find(field_)) c->PassEnded(ev, cycled);
    if (cycled) return true;
    switch (ev) {
    case Event::CloseWindow:
        if (IsFrame()) {
            bool others = false;
            for (int t : runtime::LiveThreads())
                if (t != thread_) others = true;
            if (others) {
                Ui().closing = true;
                Ui().closeRefused = false;
                Ui().closingThread = thread_;
                for (int t : runtime::LiveThreads())
                    if (t != thread_)
                        if (Window* top = TopWindow(t)) top->SendCloseDown();
                return true;
            }
        }
        Close();
        return false;
    case Event::CloseDown:
        Close();
        return false;
    case Event::Accepted:
        if (Control* c = Find(field_); c && !c->Layout().std.empty()) StandardAction(c->Layout().std);
        return open_;
    default:
        return true;
    }
}

void Window::StandardAction(const std::string& action) {
    Window* frame = IsFrame() ? this : FrameWindow();
    QMdiArea* area = frame ? frame->MdiArea() : nullptr;
    if (action == "close") Post(Event::CloseWindow);
    else if (action == "exit") {
        if (frame) frame->Post(Event::CloseWindow);
    } else if (action == "tile") {
        if (area) {
            area->tileSubWindows();
            // Tiles may overlap where a window cannot shrink to its tile:
            // the active one stays on top.
            if (QMdiSubWindow* active = area->activeSubWindow()) active->raise();
        }
    } else if (action == "cascade" || action == "arrange") {
        if (area) area->cascadeSubWindows();
    } else if (action == "printsetup") {
        ShowPrinterSetup();
    }
}

void Window::Display(int field) {
    if (field) {
        if (Control* c = Find(field)) c->Refresh();
    } else {
        for (const auto& c : controls_) c->Refresh();
    }
    // Painted now, also for windows that loop without an event loop: the
    // whole window the first time, afterwards what has changed (the
    // window's pending paint requests, sent at once). Nothing else is
    // delivered, no input either.
    if (!root_ || !root_->isVisible()) return;
    if (!painted_) {
        root_->repaint();
        painted_ = true;
        return;
    }
    QCoreApplication::sendPostedEvents(root_->window(), QEvent::UpdateRequest);
}

void Window::Select(int field) {
    if (field == 0) {
        acceptAll_ = true;
        acceptAllRunning_ = true;
        acceptAllNext_ = 0;
        return;
    }
    acceptAllRunning_ = false;
    if (Control* c = Find(field)) {
        focus_ = field;
        if (c->Widget()) c->Widget()->setFocus();
        UpdateStatusMsg();
    }
}

void Window::NoteFocus(int field) {
    if (field == focus_) return;
    focus_ = field;
    UpdateStatusMsg();
    if (field) Queue(Event::Selected, field);
}

void Window::UpdateStatusMsg() {
    Control* c = Find(focus_);
    QStatusBar* bar = statusBar_;
    if (!bar) {
        Window* frame = FrameWindow();
        bar = frame ? frame->statusBar_ : nullptr;
    }
    if (!bar) return;
    if (c && !c->Layout().msg.empty()) bar->showMessage(Q(c->Layout().msg));
    else bar->clearMessage();
}

void Window::Alert(int keyCode) {
    if (std::find(alerts_.begin(), alerts_.end(), keyCode) == alerts_.end()) alerts_.push_back(keyCode);
}

bool Window::IsAlerted(int keyCode) const {
    return std::find(alerts_.begin(), alerts_.end(), keyCode) != alerts_.end();
}

void Window::Unalert(int keyCode) { alerts_.erase(std::remove(alerts_.begin(), alerts_.end(), keyCode), alerts_.end()); }

PropValue Window::Get(Prop prop, int field, int index) const {
    if (field) {
        Control* c = Find(field);
        return c ? c->Get(prop, index) : PropValue();
    }
    switch (prop) {
    case Prop::Text: return TitleOf(root_->windowTitle());
    case Prop::Xpos: return PxToDuX(root_->x());
    case Prop::Ypos: return PxToDuY(root_->y());
    case Prop::Width: return PxToDuX(IsFrame() ? root_->width() : content_->width());
    case Prop::Height: return PxToDuY(IsFrame() ? root_->height() : content_->height());
    case Prop::Timer: return timerHundredths_;
    case Prop::AcceptAll: return acceptAll_ ? 1 : 0;
    case Prop::Iconize: return root_->isMinimized() ? 1 : 0;
    case Prop::Maximize: return root_->isMaximized() ? 1 : 0;
    case Prop::Active: return Ui().active == this ? 1 : 0;
    case Prop::Resize: return layout_.Has("resize") ? 1 : 0;
    case Prop::MinWidth: return minW_;
    case Prop::MinHeight: return minH_;
    case Prop::Icon: return layout_.icon;
    case Prop::StatusText:
        if (index >= 1 && index <= static_cast<int>(statusZones_.size()))
            return A(static_cast<QLabel*>(statusZones_[index - 1])->text());
        return statusBar_ ? A(statusBar_->currentMessage()) : std::string();
    default: return {};
    }
}

void Window::Set(Prop prop, const PropValue& value, int field, int index) {
    if (field) {
        if (Control* c = Find(field)) c->Set(prop, value, index);
        return;
    }
    switch (prop) {
    case Prop::Text: SetCaption(value.Str()); break;
    case Prop::Xpos: root_->move(DuToPxX(value.Int()), root_->y()); break;
    case Prop::Ypos: root_->move(root_->x(), DuToPxY(value.Int())); break;
    case Prop::Width: case Prop::Height: {
        QWidget* target = IsFrame() ? root_.data() : content_;
        QSize s = target->size();
        if (prop == Prop::Width) s.setWidth(DuToPxX(value.Int()));
        else s.setHeight(DuToPxY(value.Int()));
        if (!IsFrame() && !layout_.Has("resize")) content_->setFixedSize(s);
        else if (IsFrame()) root_->resize(s);
        else {
            // The content has no size hint of its own: the window grows or
            // shrinks by the change, and its layout gives the content the rest.
            root_->resize(root_->size() + (s - content_->size()));
        }
        break;
    }
    case Prop::Timer:
        timerHundredths_ = value.Int();
        StartTimer();
        break;
    case Prop::Iconize:
        if (value.Bool()) root_->showMinimized();
        else root_->showNormal();
        break;
    case Prop::Maximize:
        if (value.Bool()) root_->showMaximized();
        else root_->showNormal();
        break;
    case Prop::Active:
        if (value.Bool()) {
            if (sub_ && FrameWindow()) FrameWindow()->MdiArea()->setActiveSubWindow(sub_);
            else root_->activateWindow();
            root_->raise();
            ActivateWindow(this);
        }
        break;
    case Prop::MinWidth: case Prop::MinHeight:
        (prop == Prop::MinWidth ? minW_ : minH_) = value.Int();
        if (layout_.Has("resize")) content_->setMinimumSize(DuToPxX(minW_), DuToPxY(minH_));
        break;
    case Prop::Icon:
        layout_.icon = value.Str();
        root_->setWindowIcon(IconFromName(layout_.icon));
        break;
    case Prop::StatusText:
        if (index >= 1 && index <= static_cast<int>(statusZones_.size()))
            static_cast<QLabel*>(statusZones_[index - 1])->setText(Q(value.Str()));
        else if (statusBar_)
            statusBar_->showMessage(Q(value.Str()));
        break;
    case Prop::Cursor: content_->setCursor(CursorFromName(value.Str())); break;
    default: break;
    }
}

}  // namespace fw
