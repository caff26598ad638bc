#pragma once
// The framework's window operations on the running thread's windows.
// Controls are named by use-equate ("?OK") or number; FIELD() and
// ACCEPTED() compare with either:
//
//   while (fw::ACCEPT()) {
//       switch (fw::EVENT()) {
//       case fw::Event::OpenWindow: ... break;
//       case fw::Event::CloseWindow: if (!fw::ConfirmClose()) fw::CYCLE(); break;
//       }
//       if (fw::ACCEPTED() == "?OK") { ... fw::POST(fw::Event::CloseWindow); }
//   }

#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/events.h"
#include "platform/ui/pick_list.h"
#include "platform/ui/prop_value.h"
#include "platform/ui/props.h"
#include "platform/ui/window.h"

namespace fw {

// A control named by use-equate or number; empty: the window itself.
struct Ctl {
    Ctl() = default;
    Ctl(const char* equate) : equate(equate ? equate : "") {}  // NOLINT
    Ctl(std::string_view equate) : equate(equate) {}  // NOLINT
    Ctl(const std::string& equate) : equate(equate) {}  // NOLINT
    Ctl(int number) : number(number) {}  // NOLINT
    bool IsWindow() const { return number == 0 && equate.empty(); }
    std::string equate;
    int number = 0;
};

// A control number as FIELD(), ACCEPTED() and FOCUS() give it.
struct FieldId {
    int number = 0;
    operator int() const { return number; }  // NOLINT
};
bool operator==(FieldId field, std::string_view equate);
inline bool operator==(FieldId field, const char* equate) { return field == std::string_view(equate); }
inline bool operator==(FieldId field, int number) { return field.number == number; }

bool ACCEPT();
int EVENT();
FieldId FIELD();
FieldId ACCEPTED();  // FIELD() when the event is EVENT:Accepted, else 0
FieldId FOCUS();
void CYCLE();

// Posts an event to a control (or the window) of the target window, or,
// with a thread number, to that thread's accepting window.
void POST(int event, Ctl control = {}, int thread = 0);
// DISPLAY: shows the USE variables again and repaints at once.
void DISPLAY(Ctl control = {});
// SELECT: moves the focus; with no control, the accept-all pass.
void SELECT(Ctl control = {});
int CHOICE(Ctl control);  // row, radio or tab chosen, from 1

void HIDE(Ctl control);
void UNHIDE(Ctl control);
void DISABLE(Ctl control);
void ENABLE(Ctl control);

PropValue GetProp(Ctl control, Prop prop, int index = 0);
void SetProp(Ctl control, Prop prop, const PropValue& value, int index = 0);

// A drop list's or combo's rows from a pick list the program filled
// (pick_list.h) instead of a FROM text: shown through a model, narrowed by
// a completer as the user types in a combo; the USE variable is shown
// highlighted when the list holds it. The control keeps the list shared,
// so one list can serve every window that offers it. A FROM set later
// replaces it.
void SetPickList(Ctl control, std::shared_ptr<const PickList> list);

int KEYCODE();
void SETKEYCODE(int code);
void ALERT(int keyCode);               // window-wide
void ALERT(Ctl control, int keyCode);  // on one control

int FIRSTFIELD();
int LASTFIELD();

// The window properties and DISPLAY act on: the running thread's newest
// window unless SETTARGET named another one (nullptr: back to it).
void SETTARGET(Window* window = nullptr);
Window& TargetWindow();
// The control a Ctl names in the target window; an unknown use-equate is
// a fault of the program and throws std::logic_error naming it.
Control& ControlOf(Ctl control);

namespace Cursor {
inline constexpr const char* Arrow = "\xFF\x02\x01\x7F";
inline constexpr const char* Wait = "\xFF\x02\x03\x7F";
}  // namespace Cursor
// SETCURSOR(Cursor::Wait) for the whole program; SETCURSOR() restores it.
void SETCURSOR(std::string_view cursor = {});

// SYSTEM properties.
void SetNoTips(bool off);  // SYSTEM{PROP:NoTips}
bool NoTips();
void SetSystemIcon(std::string_view icon);  // SYSTEM{PROP:Icon}

// MDI frame commands.
void TileWindows();
void CascadeWindows();

}  // namespace fw
