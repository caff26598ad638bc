#include "platform/ui/controls/popup_click.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QMouseEvent>
#include <QPointer>
#include <QWindow>

#include <functional>

#include "platform/ui/qt_bridge.h"
#include "platform/ui/window.h"

namespace fw {
namespace {

constexpr const char* kWatchName = "cvOutsideClicks";

// A window of ours the widget lies in that takes input now.
bool TakesInput(QWidget* widget) {
    if (!widget || !widget->isEnabled() || QApplication::activeModalWidget()) return false;
    for (QObject* o = widget; o; o = o->parent()) {
        const QVariant w = o->property(kWindowProperty);
        if (!w.isValid()) continue;
        const auto* window = static_cast<const Window*>(w.value<void*>());
        return window->IsOpen() && !window->CallDisabled();
    }
    return false;
}

// Sits on the pop-up itself, installed after Qt's own filter there, so it
// sees a press before QCompleter does.
class OutsideClicks : public QObject {
public:
    OutsideClicks(QWidget* popup, QWidget* owner, std::function<void()> close)
        : QObject(popup), popup_(popup), owner_(owner), close_(std::move(close)) {
        setObjectName(kWatchName);
        popup->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched != popup_ || e->type() != QEvent::MouseButtonPress || !popup_->isVisible()) return false;
        auto* press = static_cast<QMouseEvent*>(e);
        const QPoint global = press->globalPosition().toPoint();
        if (popup_->rect().contains(popup_->mapFromGlobal(global))) return false;
        if (owner_ && owner_->rect().contains(owner_->mapFromGlobal(global))) return false;
        close_();
        // Found once the pop-up is hidden, so it is not what lies there.
        QWidget* target = QApplication::widgetAt(global);
        if (TakesInput(target)) PressAgain(target, *press);
        return true;
    }

private:
    // Delivered at once, through the window as the window system would,
    // so the widget there becomes the one the mouse is down on and the
    // release that follows reaches it too (a press posted for later would
    // come after that release when both are already queued).
    static void PressAgain(QWidget* target, const QMouseEvent& press) {
        QWidget* top = target->window();
        QWindow* window = top->windowHandle();
        if (!window) return;
        if (!top->isActiveWindow()) {  // the window manager saw no click: the pop-up had the mouse
            top->activateWindow();
            top->raise();
        }
        const QPointF global = press.globalPosition();
        const QPointF local = window->mapFromGlobal(global);
        QMouseEvent again(QEvent::MouseButtonPress, local, local, global, press.button(), press.buttons(),
                          press.modifiers(), press.pointingDevice());
        again.setTimestamp(press.timestamp());
        QCoreApplication::sendEvent(window, &again);
    }

    QWidget* popup_;
    QPointer<QWidget> owner_;
    std::function<void()> close_;
};

void Watch(QWidget* popup, QWidget* owner, std::function<void()> close) {
    if (!popup || popup->findChild<OutsideClicks*>(kWatchName, Qt::FindDirectChildrenOnly)) return;
    new OutsideClicks(popup, owner, std::move(close));
}

}  // namespace

void PassOutsideClicks(QComboBox* combo) {
    // The drop-down's frame, made with the combo's view.
    QPointer<QComboBox> guard = combo;
    Watch(combo->view()->parentWidget(), combo, [guard] {
        if (guard) guard->hidePopup();
    });
    if (QCompleter* completer = combo->completer();
        completer && completer->completionMode() != QCompleter::InlineCompletion) {
        QPointer<QWidget> popup = completer->popup();  // made now if not yet
        Watch(popup, nullptr, [popup] {
            if (popup) popup->hide();
        });
    }
}

}  // namespace fw
