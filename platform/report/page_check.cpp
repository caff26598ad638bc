#include "platform/report/page_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/report/report_definition.h"
#include "platform/report/report_fonts.h"

namespace fw::report {

namespace {

// Rounding of positions and pixel sizes: a thousandth of an inch.
constexpr double kTolerance = 1.0;

struct Ink {
    double left, top, right, bottom;
    std::size_t op;
};

std::string Where(const Page& page, const Op& op) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "page %d (number %d), %s at %d,%d,%d,%d", page.seq, page.number,
                  op.kind == OpKind::Text ? "text" : op.kind == OpKind::Line ? "line" : "shape", op.rect.x, op.rect.y,
                  op.rect.w, op.rect.h);
    return buf;
}

std::string Quoted(const Page& page, const Op& op, int pageCount) {
    return "\"" + ResolveCount(page.TextOf(op), pageCount) + "\"";
}

std::string Number(double v) { return std::to_string(static_cast<long>(std::lround(v))); }

bool Outside(const Rect& area, double left, double top, double right, double bottom) {
    return left < area.x - kTolerance || top < area.y - kTolerance || right > area.x + area.w + kTolerance ||
           bottom > area.y + area.h + kTolerance;
}

}  // namespace

Rect PrintableArea(const Page& page, int margin) {
    return {margin, margin, page.width - 2 * margin, page.height - 2 * margin};
}

std::vector<std::string> CheckPage(const Page& page, int pageCount, int margin) {
    const double dpi = kTextUnitsPerInch;
    std::vector<std::string> faults;
    const Rect area = PrintableArea(page, margin);
    std::vector<Ink> texts;
    std::vector<std::size_t> lines;
    for (std::size_t i = 0; i < page.ops.size(); ++i) {
        const Op& op = page.ops[i];
        switch (op.kind) {
        case OpKind::Band: break;
        case OpKind::Text: {
            const std::string text = ResolveCount(page.TextOf(op), pageCount);
            if (text.find_first_not_of(' ') == std::string::npos) break;
            const DeviceMeasure& m = MeasureFor(page.fonts[op.font], dpi);
            const double width = m.Width(text);
            const InkMetrics& ink = m.Metrics();
            double left = op.rect.x;
            const auto align = static_cast<Align>(op.align);
            if (align == Align::Centre) left += (op.rect.w - width) / 2;
            else if (align == Align::Right) left += op.rect.w - width;
            if (width > op.rect.w + kTolerance)
                faults.push_back(Where(page, op) + ": " + Quoted(page, op, pageCount) + " is " + Number(width) +
                                 " wide, its element " + std::to_string(op.rect.w));
            if (ink.Height() > op.rect.h + kTolerance)
                faults.push_back(Where(page, op) + ": " + Quoted(page, op, pageCount) + " is " +
                                 Number(ink.Height()) + " high, its element " + std::to_string(op.rect.h));
            const double top = op.rect.y + ink.ascent - ink.capHeight, bottom = op.rect.y + ink.Height();
            if (Outside(area, left, op.rect.y, left + width, bottom))
                faults.push_back(Where(page, op) + ": " + Quoted(page, op, pageCount) +
                                 " runs outside the printable area");
            texts.push_back({left, top, left + width, bottom, i});
            break;
        }
        case OpKind::Line:
            lines.push_back(i);
            [[fallthrough]];
        case OpKind::Box:
        case OpKind::Ellipse:
        case OpKind::Image: {
            const Rect& r = op.rect;
            const double half = op.kind == OpKind::Line ? op.width / 2.0 : 0;
            const double l = std::min(r.x, r.x + r.w) - half, rt = std::max(r.x, r.x + r.w) + half;
            const double t = std::min(r.y, r.y + r.h) - half, b = std::max(r.y, r.y + r.h) + half;
            if (Outside(area, l, t, rt, b)) faults.push_back(Where(page, op) + " lies outside the printable area");
            break;
        }
        }
    }
    // Texts drawn over each other: sorted by their tops, each against the
    // ones that begin above its foot.
    std::sort(texts.begin(), texts.end(), [](const Ink& a, const Ink& b) { return a.top < b.top; });
    for (std::size_t a = 0; a < texts.size(); ++a) {
        for (std::size_t b = a + 1; b < texts.size() && texts[b].top < texts[a].bottom - kTolerance; ++b) {
            if (texts[b].left < texts[a].right - kTolerance && texts[a].left < texts[b].right - kTolerance) {
                const Op& x = page.ops[texts[a].op];
                const Op& y = page.ops[texts[b].op];
                faults.push_back(Where(page, x) + ": " + Quoted(page, x, pageCount) + " is drawn over " +
                                 Quoted(page, y, pageCount) + " at " + std::to_string(y.rect.x) + "," +
                                 std::to_string(y.rect.y));
            }
        }
    }
    // Rule lines through texts.
    for (std::size_t li : lines) {
        const Op& line = page.ops[li];
        if (line.rect.h != 0) continue;  // only horizontal rules separate rows
        const double y = line.rect.y;
        const double l = std::min(line.rect.x, line.rect.x + line.rect.w);
        const double r = std::max(line.rect.x, line.rect.x + line.rect.w);
        for (const Ink& t : texts) {
            if (y > t.top + kTolerance && y < t.bottom - kTolerance && l < t.right - kTolerance &&
                t.left < r - kTolerance) {
                faults.push_back(Where(page, line) + " runs through " + Quoted(page, page.ops[t.op], pageCount));
                break;
            }
        }
    }
    return faults;
}

}  // namespace fw::report
