#include "platform/ui/dialog_hub.h"

#include <QTimer>
#include <QWidget>

#include <algorithm>

#include "platform/runtime/scheduler.h"
#include "platform/ui/ui_state.h"
#include "platform/ui/window.h"

namespace fw {
namespace {
std::vector<PendingDialog*>& Waiting() {
    static std::vector<PendingDialog*> list;
    return list;
}
}  // namespace

std::vector<PendingDialog*> PendingDialogs() { return Waiting(); }

QWidget* DialogParent() {
    Window* top = TopWindow(THREAD());
    if (!top) top = FrameWindow();
    return top ? top->Root() : nullptr;
}

DialogAnswer WaitForAnswer(PendingDialog& dialog, QWidget* shown) {
    static long serials = 0;
    dialog.thread = THREAD();
    dialog.serial = ++serials;
    DialogAnswer result;
    bool done = false;
    dialog.answer = [&done, &result, thread = dialog.thread](const DialogAnswer& a) {
        if (done) return;
        done = true;
        result = a;
        runtime::Wake(thread);
    };
    // Modal to the calling thread: its windows are disabled meanwhile.
    std::vector<Window*> disabled;
    for (Window* w : OpenWindows())
        if (w->Thread() == dialog.thread && !w->CallDisabled()) {
            w->SetCallDisabled(true);
            disabled.push_back(w);
        }
    if (dialog.systemModal) ++Ui().systemModal;
    Waiting().push_back(&dialog);
    if (shown) {
        shown->show();
        if (shown->isWindow()) {
            // Over the window it answers for, inside the screen, and with
            // the keyboard: Enter is its default button, not a key for the
            // window behind it.
            Window* owner = TopWindow(dialog.thread);
            PlaceOverOwner(shown, owner ? owner : FrameWindow());
            shown->raise();
            shown->activateWindow();
            // A desktop may give the keyboard back to the window that had
            // it (the frame, after the box before this one went): asked for
            // once more when the box is on the screen.
            QTimer::singleShot(150, shown, [shown] {
                if (shown->isVisible() && shown->isEnabled() && !shown->isActiveWindow()) {
                    shown->raise();
                    shown->activateWindow();
                }
            });
        }
    }
    // The window that was active takes the activation back when the dialog
    // goes, so an MDI child keeps its place (and its maximised state) and
    // the next click or mnemonic reaches it.
    struct Restore {
        PendingDialog& d;
        std::vector<Window*>& windows;
        Window* active;
        ~Restore() {
            auto& w = Waiting();
            w.erase(std::remove(w.begin(), w.end(), &d), w.end());
            if (d.systemModal) --Ui().systemModal;
            const auto& open = OpenWindows();
            for (Window* win : windows)
                if (std::find(open.begin(), open.end(), win) != open.end() && win == TopWindow(win->Thread()))
                    win->SetCallDisabled(false);
            if (!active || std::find(open.begin(), open.end(), active) == open.end()) return;
            // Once the thread has run on: a box it shows next (a question,
            // then "Deletion Successful") keeps the keyboard, instead of
            // losing it to the window activated here.
            QTimer::singleShot(0, [active = active, thread = d.thread] {
                const auto& now = OpenWindows();
                if (std::find(now.begin(), now.end(), active) == now.end()) return;
                for (const PendingDialog* p : Waiting())
                    if (p->thread == thread) return;
                active->Reactivate();
            });
        }
    } restore{dialog, disabled, Ui().active};
    while (!done) runtime::Wait();
    if (shown) shown->hide();
    return result;
}

}  // namespace fw
