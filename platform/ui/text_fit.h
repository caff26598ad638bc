#pragma once
// Whether a control's own text fits it: the pixels its text needs in a
// font, with what the kind draws beside the text (a push button's frame, a
// check box's or radio's mark, a group's title inset), and whether a list
// shows its columns whole. A window grows when its texts or its lists'
// columns do not fit at its designed size (window.cpp), and the layout
// check measures every window with the same rule.

#include <QFont>
#include <QMessageBox>
#include <QSize>

#include <optional>

#include "platform/ui/layout.h"

namespace fw {

// The font a control shows its text in: the window's, with the control's
// own name, size and style where it gives them.
QFont ControlFont(const QFont& windowFont, const FontPlan& own);

// The size a control's text needs, for a control `widthPx` pixels wide
// (a wrapped text needs the height of its lines at that width, and its
// longest word across). Nothing for kinds without a text of their own and
// for strings that show a variable (their text is the program's).
std::optional<QSize> TextNeeds(const ControlLayout& c, const QFont& font, int widthPx);

// The width a list needs to show each of its columns whole (its heading
// and its field's longest value) at `unitX` pixels a dialog unit across.
// Nothing for a list without a format of its own.
std::optional<int> ListNeeds(const ControlLayout& c, const QFont& font, double unitX);

// The width a window's title needs in the title bar (its text, the window
// icon and the title bar's buttons), in the application's font.
int CaptionNeeds(std::string_view caption);

// Makes a message box at least as wide as its title needs, so the title
// bar shows it whole.
void KeepCaptionWhole(QMessageBox& box, std::string_view caption);

}  // namespace fw
