#pragma once
// Properties of windows and controls, read and written by name
// (fw::Prop::Text ...). Positions and sizes are in dialog units, colours
// are 00BBGGRR values (-1: the default), font styles a weight (400, 700)
// plus 4096 for italic.

#include <string_view>

namespace fw {

enum class Prop {
    Text,         // caption, button or string text, entry contents, image file
    Hide,         // 1 hidden (a group or tab hides its children too)
    Disable,      // 1 disabled (a group disables its children too)
    ReadOnly,     // entry
    Xpos, Ypos, Width, Height,
    FontName, FontSize, FontStyle, FontColor,
    Color,        // background; a box's border
    Fill,         // a box's or ellipse's fill
    Msg,          // status-bar text while the control has the focus
    Tip,          // tool tip ("/" or "|" separate lines in the layout)
    Icon,         // button, window or image icon
    Type,         // control type number (see ControlKindNumber)
    Items,        // list: rows shown (the page size)
    Selected,     // list, drop list, sheet: highlighted row or tab (from 1)
    From,         // list, drop list, combo: rows as "a|b|c"
    Format,       // list FORMAT string
    VScroll,      // list, image: vertical scroll bar on (1) or off
    VScrollPos,   // list: the thumb, 0..100; image: the position in pixels
    RangeLow, RangeHigh, Step,  // spin, progress
    TrueValue, FalseValue,      // check
    Value,        // radio: its value; others: the USE variable's current value
    Picture,      // entry, spin, string
    Timer,        // window: hundredths of a second; 0 off
    AcceptAll,    // window: 1 while the accept-all pass runs
    Iconize, Maximize,          // window state, read and set
    Active,       // window: set 1 to bring it forward
    Resize,       // window: resizable
    MinWidth, MinHeight,        // window
    ChoiceFEQ,    // sheet: number of the chosen tab control
    StatusText,   // window status bar zone (index = zone, from 1)
    Cursor,       // control or window cursor ("~wait", "~arrow" or a file)
    Default,      // button: the default button
    Touched,      // entry: changed by the user since the last accept
    SelectedColor, SelectedFill,   // list: text and background of the highlighted row
    MouseDownRow, MouseDownField,  // list: row and column of the last mouse press (the column also set)
    HScroll, HScrollPos,           // image: horizontal scroll bar on (1) and its position (pixels)
    MaxWidth, MaxHeight,           // image: the size it is drawn at (zoom), dialog units; 0 none
    NaturalWidth, NaturalHeight,   // image: the picture's own size, dialog units
    EditColumn,   // list: the column whose cell of the highlighted row is open for typing; 0 closed
    EditText,     // list: the text in that cell
};

// The property named as the framework names it ("Text", "Hide"),
// case-insensitive; false when there is none of that name.
bool PropByName(std::string_view name, Prop& prop);
std::string_view PropName(Prop prop);

}  // namespace fw
