#include "platform/ui/ui_state.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>

#include "platform/runtime/scheduler.h"
#include "platform/ui/events.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/window.h"

namespace fw {
namespace {

void Locate(QObject* object, Window*& window, Control*& control) {
    window = nullptr;
    control = nullptr;
    for (QObject* o = object; o; o = o->parent()) {
        if (!control) {
            QVariant c = o->property(kControlProperty);
            if (c.isValid()) control = static_cast<Control*>(c.value<void*>());
        }
        QVariant w = o->property(kWindowProperty);
        if (w.isValid()) {
            window = static_cast<Window*>(w.value<void*>());
            break;
        }
    }
    if (control && window && &control->Owner() != window) control = nullptr;
}

bool Alerted(const Window& window, const Control* control, int code) {
    const auto& own = control ? control->Alerts() : std::vector<int>{};
    (void)window;
    return std::find(own.begin(), own.end(), code) != own.end();
}

int MouseCode(Qt::MouseButton button, bool doubleClick) {
    int code = 0;
    if (button == Qt::LeftButton) code = KeyCode::MouseLeft;
    else if (button == Qt::RightButton) code = KeyCode::MouseRight;
    else if (button == Qt::MiddleButton) code = KeyCode::MouseCenter;
    if (code && doubleClick) code += KeyCode::MouseLeft2 - KeyCode::MouseLeft;
    if (button == Qt::MiddleButton && doubleClick) code = KeyCode::MouseCenter2;
    return code;
}

// Alert keys, key codes and tool tips for every window of the program.
class InputFilter : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        switch (e->type()) {
        case QEvent::ToolTip:
            return Ui().noTips;
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(e);
            return Handle(o, e, KeyCodeOfQtKey(k->key(), k->modifiers()));
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* m = static_cast<QMouseEvent*>(e);
            return Handle(o, e, MouseCode(m->button(), e->type() == QEvent::MouseButtonDblClick));
        }
        default:
            return false;
        }
    }

private:
    bool Handle(QObject* o, QEvent* e, int code) {
        if (!code) return false;
        // An event the focus widget ignores is offered to its parents too:
        // only its first receiver counts.
        auto* widget = qobject_cast<QWidget*>(o);
        if (e == last_ && e->type() == lastType_ && lastReceiver_ && widget && widget != lastReceiver_ &&
            widget->isAncestorOf(lastReceiver_))
            return lastEaten_;
        last_ = e;
        lastReceiver_ = widget;
        lastType_ = e->type();
        lastEaten_ = false;
        Window* window = nullptr;
        Control* control = nullptr;
        Locate(o, window, control);
        if (!window || !window->IsOpen() || window->CallDisabled()) return false;
        window->NoteInput(code);
        // Enter on a button that has the keyboard presses that button, as
        // Space does (not the window's default button).
        if (control && code == KeyCode::Enter && control->Kind() == ControlKind::Button && widget == control->Widget() &&
            widget->hasFocus() && !Alerted(*window, control, code) && !window->IsAlerted(code)) {
            lastEaten_ = control->UserPress();
            return lastEaten_;
        }
        if (control && e->type() == QEvent::KeyPress && control->KeepsKey(widget, code)) return false;
        bool alerted = Alerted(*window, control, code) || window->IsAlerted(code);
        if (!alerted) return false;
        if (control && (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) && widget)
            control->NoteAlertedPress(widget, static_cast<QMouseEvent*>(e)->position().toPoint());
        window->Queue(Event::AlertKey, control ? control->Number() : window->Focus());
        lastEaten_ = true;
        return true;
    }
    QEvent* last_ = nullptr;
    QPointer<QWidget> lastReceiver_;
    QEvent::Type lastType_ = QEvent::None;
    bool lastEaten_ = false;
};

void OnThreadEnd(int thread) {
    // Windows a thread left open close with it.
    while (Window* w = TopWindow(thread)) w->Close();
    WakeClosingFrame();
}

}  // namespace

UiState& Ui() {
    static UiState state;
    return state;
}

void EnsureUiInstalled() {
    static bool installed = false;
    if (installed || !QApplication::instance()) return;
    installed = true;
    qApp->installEventFilter(new InputFilter);
    QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* now) {
        if (!now) return;
        Window* window = nullptr;
        Control* control = nullptr;
        Locate(now, window, control);
        if (window && control && window->IsOpen()) window->NoteFocus(control->Number());
    });
    runtime::SetThreadEndHook(OnThreadEnd);
    runtime::SetHaltBox([](const std::string& text) { MESSAGE(text, "Halt", "", Button::Ok); });
    runtime::SetStartAllowed([] { return Ui().systemModal == 0; });
}

void ActivateWindow(Window* window) {
    if (!window || Ui().active == window) return;
    if (!window->IsOpen() || window->CallDisabled()) return;
    Ui().active = window;
    window->Queue(Event::GainFocus, 0, true);
}

void WakeClosingFrame() {
    if (Ui().closing && Ui().closingThread) runtime::Wake(Ui().closingThread);
}

int KeyCodeOfQtKey(int key, unsigned modifiers) {
    int vk = 0;
    if (key >= Qt::Key_A && key <= Qt::Key_Z) vk = 'A' + (key - Qt::Key_A);
    else if (key >= Qt::Key_0 && key <= Qt::Key_9) vk = '0' + (key - Qt::Key_0);
    else if (key >= Qt::Key_F1 && key <= Qt::Key_F12) vk = KeyCode::F1 + (key - Qt::Key_F1);
    else {
        switch (key) {
        case Qt::Key_Return: case Qt::Key_Enter: vk = KeyCode::Enter; break;
        case Qt::Key_Escape: vk = KeyCode::Esc; break;
        case Qt::Key_Tab: vk = KeyCode::Tab; break;
        case Qt::Key_Backspace: vk = KeyCode::Backspace; break;
        case Qt::Key_Space: vk = KeyCode::Space; break;
        case Qt::Key_PageUp: vk = KeyCode::PgUp; break;
        case Qt::Key_PageDown: vk = KeyCode::PgDn; break;
        case Qt::Key_Home: vk = KeyCode::Home; break;
        case Qt::Key_End: vk = KeyCode::End; break;
        case Qt::Key_Left: vk = KeyCode::Left; break;
        case Qt::Key_Right: vk = KeyCode::Right; break;
        case Qt::Key_Up: vk = KeyCode::Up; break;
        case Qt::Key_Down: vk = KeyCode::Down; break;
        case Qt::Key_Insert: vk = KeyCode::Insert; break;
        case Qt::Key_Delete: vk = KeyCode::Delete; break;
        case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: vk = KeyCode::Apostrophe; break;
        default: return 0;
        }
    }
    if (modifiers & Qt::ShiftModifier) vk |= KeyCode::Shift;
    if (modifiers & Qt::ControlModifier) vk |= KeyCode::Ctrl;
    if (modifiers & Qt::AltModifier) vk |= KeyCode::Alt;
    return vk;
}

}  // namespace fw
