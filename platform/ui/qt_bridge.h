#pragma once
// Small conversions between the framework's values and Qt's, shared by
// the window layer: texts, colours, font styles, cursors, icons.

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QString>

#include <string>
#include <string_view>

namespace fw {

// The widget property that points from a widget back to its Control.
inline constexpr const char* kControlProperty = "cvControl";
inline constexpr const char* kWindowProperty = "cvWindow";

QString Q(std::string_view ansi);
std::string A(const QString& text);
// A tip or message text: "|" starts a new line.
QString TipText(std::string_view ansi);
// A window caption as Qt is to show it, and back: Qt would take a "[*]"
// in it for its modified-document mark, so each one is written twice.
QString TitleText(std::string_view ansi);
std::string TitleOf(const QString& qtTitle);

// 00BBGGRR -> QColor (a negative value gives an invalid colour) and back.
QColor ColorFromValue(long value);
long ValueFromColor(const QColor& color);

// Weight (400, 700 ...) plus 4096 for italic, to a QFont and back.
void ApplyFontStyle(QFont& font, int style);
int FontStyleOf(const QFont& font);

// "~wait" / "~arrow" (any case) or an icon code; anything else is the arrow.
QCursor CursorFromName(std::string_view name);

// An icon or picture by name. "~name", and a bare name without a folder,
// is one of the program's own pictures under resources/icons, found
// whatever its case: the file itself, or else the drawing of the same base
// name ("OPENBOOK.ICO" is OPENBOOK.svg). A bare name the set lacks, and a
// name with a folder, is a file (a host's own logo, say).
QIcon IconFromName(std::string_view name);
QPixmap PixmapFromName(std::string_view name);
// The file such a name stands for (empty for an empty name).
std::string ImagePath(std::string_view name);
// The folder of the program's own images.
std::string IconFolder();

}  // namespace fw
