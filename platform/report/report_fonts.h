#pragma once
// The report fonts: the faces the layouts name, drawn with installed
// metric-compatible fonts that the program registers itself, so preview,
// printer and PDF measure and draw the same glyphs everywhere.
//
//   "Arial", "Modern"          -> Liberation Sans
//   "Times New Roman"          -> Liberation Serif
//   "Courier", "Courier New"   -> Liberation Mono
//   "Arial Black"              -> DejaVu Sans Bold (a heavy sans)
//   "Marlet"                   -> DejaVu Sans (it holds the symbols)
// Any other face is passed to the font database as it is.

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <string_view>

#include "platform/report/report_types.h"

namespace fw::report {

// Adds the report font files to the application's font database (once).
// Returns whether every mapped family is available.
bool RegisterReportFonts();

// The installed family a layout face is drawn with, and whether the face
// is drawn heavier than its style says (Arial Black).
QString InstalledFamily(const std::string& face);

// The Qt font of a text font at a pixel size for the device it is drawn on.
QFont QtFont(const TextFont& font, double pixelSize);

// A line of the font, in thousandths of an inch (for texts sized "by font"),
// and the width of a text (Windows-1252) in it.
int TextHeight(const TextFont& font);
int TextWidth(const TextFont& font, std::string_view text);

// The resolution the renderer lays texts out at on every device.
inline constexpr double kTextUnitsPerInch = 1000;

// A font measured in thousandths of an inch as the renderer draws it: it
// lays texts out at 1,000 units an inch on every device (its pixel size
// rounded there), so a printer of any resolution puts them on paper as
// measured here. `dotsPerInch` is the resolution of that text space.
struct InkMetrics {
    double ascent = 0, descent = 0, capHeight = 0;
    double Height() const { return ascent + descent; }
};
class DeviceMeasure {
public:
    DeviceMeasure(const TextFont& font, double dotsPerInch);
    // The advance of a text (Windows-1252) as drawn.
    double Width(std::string_view text) const;
    const InkMetrics& Metrics() const { return ink_; }

private:
    QFont font_;
    QFontMetricsF metrics_;
    double unit_;  // thousandths of an inch a device pixel
    InkMetrics ink_;
};
// One measure per font and resolution, kept for the program's run.
const DeviceMeasure& MeasureFor(const TextFont& font, double dotsPerInch);

}  // namespace fw::report
