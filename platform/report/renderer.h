#pragma once
// The one renderer: draws a page's display list with QPainter on any
// device (the previewer's images at any zoom, a printer, a PDF file). The
// painter's device coordinates must start at the paper's edge (printers
// in full-page mode); `dotsPerInch` says how many device units make an
// inch. Fonts and images are cached across the pages it draws.

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <map>
#include <tuple>
#include <string>
#include <unordered_map>

#include "platform/report/display_list.h"
#include "platform/report/report_fonts.h"

namespace fw::report {

class Renderer {
public:
    // pageCount: what the page-count tokens show.
    void Draw(const Page& page, QPainter& painter, double dotsPerInch, int pageCount);

private:
    struct FontEntry {
        QFont font;
        QFontMetricsF metrics{QFont()};
    };
    const FontEntry& FontFor(const TextFont& font, double dotsPerInch, QPaintDevice* device);
    const QImage& ImageFor(const std::string& file);

    std::map<std::tuple<std::string, int, int, double>, FontEntry> fonts_;
    std::unordered_map<std::string, QImage> images_;
};

// Draws one page into an image of the given width (height from the page's
// proportions), white behind it.
QImage RenderPageImage(const Page& page, int pageCount, int widthPx);

}  // namespace fw::report
