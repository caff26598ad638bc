#pragma once
// Event numbers as EVENT() returns them, and the framework's key codes.

namespace fw {

namespace Event {
enum : int {
    None = 0,
    // Field events (FIELD() names the control).
    Accepted = 0x01,
    NewSelection = 0x02,
    ScrollUp = 0x03,
    ScrollDown = 0x04,
    PageUp = 0x05,
    PageDown = 0x06,
    ScrollTop = 0x07,
    ScrollBottom = 0x08,
    Locate = 0x09,
    MouseDown = 0x0A,
    MouseUp = 0x0B,
    AlertKey = 0x0F,
    ScrollDrag = 0x14,
    TabChanging = 0x15,
    // A key that ends typing in a list's open cell (PROP:EditColumn):
    // Enter, Esc, the arrows, PgUp, PgDn, Home and End (Delete deletes a
    // character); KEYCODE() is the key. The cell's text is PROP:EditText.
    EditKey = 0x16,
    Rejected = 0x1A,
    Selected = 0x101,
    // Window events (FIELD() is 0).
    CloseWindow = 0x201,
    CloseDown = 0x202,
    OpenWindow = 0x203,
    LoseFocus = 0x205,
    GainFocus = 0x206,
    Timer = 0x20B,
    Sized = 0x221,
    Completed = 0x225,
    Size = 0x231,
    Restore = 0x232,
    Maximize = 0x233,
    Iconize = 0x234,
    // Events of the program's own, posted with POST (401h-404h are used).
    User = 0x400,
};
}  // namespace Event

// Whether an event concerns the window rather than one of its controls.
inline bool IsWindowEvent(int event) { return event >= 0x200; }

// Key codes: the virtual key in the low byte, Shift 100h, Ctrl 200h, Alt 400h;
// mouse buttons have codes of their own.
namespace KeyCode {
enum : int {
    MouseLeft = 0x01,
    MouseRight = 0x02,
    MouseCenter = 0x04,
    MouseLeft2 = 0x05,  // double-click
    MouseRight2 = 0x06,
    MouseCenter2 = 0x07,
    Backspace = 0x08,
    Tab = 0x09,
    Enter = 0x0D,
    Esc = 0x1B,
    Space = 0x20,
    PgUp = 0x21,
    PgDn = 0x22,
    End = 0x23,
    Home = 0x24,
    Left = 0x25,
    Up = 0x26,
    Right = 0x27,
    Down = 0x28,
    Insert = 0x2D,
    Delete = 0x2E,
    F1 = 0x70,
    Apostrophe = 0xDE,
    Shift = 0x100,
    Ctrl = 0x200,
    Alt = 0x400,
    CtrlEnter = Ctrl | Enter,
    CtrlApostrophe = Ctrl | Apostrophe,  // the ditto key, 2DEh
};
}  // namespace KeyCode

}  // namespace fw
