#include "platform/ui/window_api.h"

#include <QApplication>
#include <QMdiArea>

#include <stdexcept>

#include "platform/runtime/scheduler.h"
#include "platform/runtime/thread_context.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/ui_state.h"

namespace fw {
namespace {

struct TargetState {
    Window* target;
};

Window* Accepting() { return TopWindow(THREAD()); }

Window& Need(Window* w, const char* what) {
    if (!w) throw std::logic_error(std::string(what) + " with no window open on this thread");
    return *w;
}

int Resolve(Window& w, const Ctl& c) {
    if (c.number) return c.number;
    if (c.equate.empty()) return 0;
    int n = w.Feq(c.equate);
    if (!n) throw std::logic_error("window " + w.Label() + " has no control " + c.equate);
    return n;
}

}  // namespace

bool operator==(FieldId field, std::string_view equate) {
    Window* w = Accepting();
    return w && field.number != 0 && w->Feq(equate) == field.number;
}

void SETTARGET(Window* window) { ThreadSlot<TargetState>().target = window; }

Window& TargetWindow() {
    Window* t = ThreadSlot<TargetState>().target;
    const auto& open = OpenWindows();
    if (t && std::find(open.begin(), open.end(), t) != open.end()) return *t;
    return Need(Accepting(), "a window operation");
}

Control& ControlOf(Ctl control) {
    Window& w = TargetWindow();
    Control* c = w.Find(Resolve(w, control));
    if (!c) throw std::logic_error("window " + w.Label() + " has no control number " + std::to_string(control.number));
    return *c;
}

bool ACCEPT() {
    Window* w = Accepting();
    return w ? w->Accept() : false;
}

int EVENT() {
    Window* w = Accepting();
    return w ? w->Event() : 0;
}

FieldId FIELD() {
    Window* w = Accepting();
    return {w ? w->Field() : 0};
}

FieldId ACCEPTED() {
    Window* w = Accepting();
    return {w && w->Event() == Event::Accepted ? w->Field() : 0};
}

FieldId FOCUS() { return {TargetWindow().Focus()}; }

void CYCLE() {
    if (Window* w = Accepting()) w->Cycle();
}

void POST(int event, Ctl control, int thread) {
    Window* w = thread ? TopWindow(thread) : &TargetWindow();
    if (!w) return;  // a thread without a window takes no events
    w->Post(event, Resolve(*w, control));
}

void DISPLAY(Ctl control) {
    Window& w = TargetWindow();
    w.Display(Resolve(w, control));
}

void SELECT(Ctl control) {
    Window& w = TargetWindow();
    w.Select(Resolve(w, control));
}

int CHOICE(Ctl control) { return ControlOf(control).Highlight(); }

void HIDE(Ctl control) { SetProp(control, Prop::Hide, 1); }
void UNHIDE(Ctl control) { SetProp(control, Prop::Hide, 0); }
void DISABLE(Ctl control) { SetProp(control, Prop::Disable, 1); }
void ENABLE(Ctl control) { SetProp(control, Prop::Disable, 0); }

PropValue GetProp(Ctl control, Prop prop, int index) {
    Window& w = TargetWindow();
    return w.Get(prop, Resolve(w, control), index);
}

void SetProp(Ctl control, Prop prop, const PropValue& value, int index) {
    Window& w = TargetWindow();
    w.Set(prop, value, Resolve(w, control), index);
}

void SetPickList(Ctl control, std::shared_ptr<const PickList> list) {
    Control& c = ControlOf(control);
    if (!c.SetPickList(std::move(list)))
        throw std::logic_error("SetPickList: " + c.Equate() + " is not a drop list or combo");
}

int KEYCODE() {
    Window* w = Accepting();
    return w ? w->KeyCode() : 0;
}

void SETKEYCODE(int code) {
    if (Window* w = Accepting()) w->SetKeyCode(code);
}

void ALERT(int keyCode) { TargetWindow().Alert(keyCode); }

void ALERT(Ctl control, int keyCode) { ControlOf(control).AddAlert(keyCode); }

int FIRSTFIELD() { return TargetWindow().Controls().empty() ? 0 : 1; }
int LASTFIELD() { return static_cast<int>(TargetWindow().Controls().size()); }

void SETCURSOR(std::string_view cursor) {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    if (!cursor.empty()) QApplication::setOverrideCursor(CursorFromName(cursor));
}

void SetNoTips(bool off) { Ui().noTips = off; }
bool NoTips() { return Ui().noTips; }

void SetSystemIcon(std::string_view icon) { QApplication::setWindowIcon(IconFromName(icon)); }

void TileWindows() {
    if (Window* f = FrameWindow()) f->MdiArea()->tileSubWindows();
}

void CascadeWindows() {
    if (Window* f = FrameWindow()) f->MdiArea()->cascadeSubWindows();
}

}  // namespace fw
