#pragma once
// Window layouts: one text file per window under resources/layouts/,
// named after the window's label (P1$PROGRESSWINDOW.layout). The format is
// described in resources/layouts/README.md.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

enum class ControlKind {
    Button, Toolbar, List, Entry, DropList, Combo, Check, Option, Radio, Spin,
    Prompt, String, Image, Sheet, Tab, Group, Panel, Box, Line, Ellipse,
    Progress, Menu, Item,
};

// The kind's name in layout files ("button", "droplist" ...).
std::string_view ControlKindName(ControlKind kind);
bool ControlKindByName(std::string_view name, ControlKind& kind);
// PROP:Type of a control of this kind (1 string, 19 menu, 20 item, 38 tab ...).
int ControlKindNumber(ControlKind kind);

enum class WindowKind { Plain, Frame, MdiChild };

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

struct FontPlan {
    std::string name;  // empty: the window's font
    int size = 0;      // points; 0: the window's
    int style = 0;     // weight (400, 700) plus 4096 for italic; 0: normal
};

struct ControlLayout {
    std::string equate;  // "?OK", upper-cased for look-up
    std::string spelling;  // as written in the file
    ControlKind kind = ControlKind::String;
    std::string parent;  // equate of the group, option, sheet, tab, menu or toolbar it lies in
    std::string text;
    Rect at;
    bool hasAt = false;
    std::string picture;
    std::string format;  // list FORMAT
    std::string from;    // rows "a|b|c"
    std::string tip;
    std::string msg;
    std::string icon;
    std::string std;     // standard action: close, exit, tile, cascade, arrange, printsetup
    std::string trueValue = "1", falseValue = "0";  // check
    std::string value;   // radio value (empty: its text without "&")
    std::optional<double> rangeLow, rangeHigh;
    double step = 1;
    FontPlan font;
    long fontColor = -1, color = -1, fill = -1;
    int items = 0;       // list rows (0: from the height)
    std::vector<std::string> attrs;  // hide, disable, readonly, default, separator, vscroll, ...
    std::vector<int> alerts;         // key codes alerted on the control
    int line = 0;        // where it was declared

    bool Has(std::string_view attr) const;
};

struct WindowLayout {
    std::string label;
    std::string caption;
    WindowKind kind = WindowKind::Plain;
    Rect at;
    bool centered = true;  // no position given
    FontPlan font{"MS Sans Serif", 8, 0};
    std::string icon;
    int timer = 0;  // hundredths of a second
    int minWidth = 0, minHeight = 0;
    std::vector<int> statusZones;  // widths in dialog units; -1 stretches
    std::vector<std::string> attrs;  // resize, max, nocaption, system, modal ...
    std::vector<int> alerts;
    std::vector<ControlLayout> controls;

    bool Has(std::string_view attr) const;
    // The control with this use-equate (any case), or nullptr.
    const ControlLayout* Find(std::string_view equate) const;
};

struct LayoutError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Parses a layout text (UTF-8; texts become Windows-1252). Throws
// LayoutError naming the line of the first fault.
WindowLayout ParseLayout(std::string_view text, std::string_view sourceName = "layout");

// The folder that holds the layout files: set by SetLayoutFolder, else
// $CV_LAYOUT_DIR, else resources/layouts next to the program or one
// folder up, else the source tree's.
std::string LayoutFolder();
void SetLayoutFolder(std::string folder);
// Loads <folder>/<label>.layout, the name found whatever its case.
WindowLayout LoadLayout(std::string_view label);
// The labels of every layout file in the folder.
std::vector<std::string> LayoutLabels();

// A key code written in a layout ("CtrlEnter", "Insert", "MouseRight2",
// "2DEh", "0x2DE"); false for an unknown name.
bool KeyCodeByName(std::string_view name, int& code);

}  // namespace fw
