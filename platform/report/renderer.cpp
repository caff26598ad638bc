#include "platform/report/renderer.h"

#include <QPen>

#include "platform/report/report_definition.h"
#include "platform/report/report_fonts.h"
#include "platform/text/codepage.h"
#include "platform/ui/widgets/color.h"

namespace fw::report {

namespace {

QColor ColorOf(Color c) { return fw::ui::ColorFromBgr(c); }

}  // namespace

const Renderer::FontEntry& Renderer::FontFor(const TextFont& font, double dpi, QPaintDevice* device) {
    auto key = std::make_tuple(font.face, font.size, font.style, dpi);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    FontEntry e;
    e.font = QtFont(font, font.size * dpi / 72.0);
    e.metrics = QFontMetricsF(e.font, device);
    return fonts_.emplace(key, std::move(e)).first->second;
}

const QImage& Renderer::ImageFor(const std::string& file) {
    auto it = images_.find(file);
    if (it != images_.end()) return it->second;
    return images_.emplace(file, QImage(QString::fromStdString(fw::AnsiToUtf8(file)))).first->second;
}

void Renderer::Draw(const Page& page, QPainter& painter, double dpi, int pageCount) {
    RegisterReportFonts();
    const double k = dpi / 1000.0;
    auto R = [k](const Rect& r) { return QRectF(r.x * k, r.y * k, r.w * k, r.h * k); };
    painter.save();
    for (const Op& op : page.ops) {
        switch (op.kind) {
        case OpKind::Band: break;
        case OpKind::Text: {
            std::string_view raw = page.TextOf(op);
            if (raw.empty()) break;
            // Texts are laid out in thousandths of an inch on every device,
            // with the font sized for that space, so printer, PDF and screen
            // put each letter at the same place whatever their resolution.
            const FontEntry& f = FontFor(page.fonts[op.font], kTextUnitsPerInch, painter.device());
            QString text = raw.find(kPageCountToken) == std::string_view::npos
                               ? fw::AnsiToQString(raw)
                               : fw::AnsiToQString(ResolveCount(raw, pageCount));
            const QRectF box(op.rect.x, op.rect.y, op.rect.w, op.rect.h);
            auto align = static_cast<Align>(op.align);
            // Only measure when the text may not fit or is not left-aligned.
            double width = 0;
            bool measured = align != Align::Left || f.metrics.maxWidth() * text.size() > box.width();
            if (measured) width = f.metrics.horizontalAdvance(text);
            double x = box.x();
            if (align == Align::Centre) x += (box.width() - width) / 2;
            else if (align == Align::Right) x += box.width() - width;
            bool cut = op.clip && measured && (width > box.width() || f.metrics.height() > box.height() + 0.5);
            painter.save();
            painter.scale(k, k);
            painter.setFont(f.font);
            painter.setPen(ColorOf(op.color));
            if (cut) painter.setClipRect(box, Qt::IntersectClip);
            painter.drawText(QPointF(x, box.y() + f.metrics.ascent()), text);
            painter.restore();
            break;
        }
        case OpKind::Box:
        case OpKind::Ellipse: {
            QRectF box = R(op.rect);
            painter.setPen(op.color >= 0 && op.width > 0 ? QPen(ColorOf(op.color), op.width * k) : QPen(Qt::NoPen));
            painter.setBrush(op.fill >= 0 ? QBrush(ColorOf(op.fill)) : QBrush(Qt::NoBrush));
            if (op.color >= 0 && op.width > 0) {
                // The border lies inside the rectangle.
                double in = op.width * k / 2;
                box.adjust(in, in, -in, -in);
            }
            if (op.kind == OpKind::Box) painter.drawRect(box);
            else painter.drawEllipse(box);
            break;
        }
        case OpKind::Line:
            painter.setPen(QPen(ColorOf(op.color), std::max(1, op.width) * k, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(QPointF(op.rect.x * k, op.rect.y * k),
                             QPointF((op.rect.x + op.rect.w) * k, (op.rect.y + op.rect.h) * k));
            break;
        case OpKind::Image: {
            const QImage& image = ImageFor(std::string(page.TextOf(op)));
            if (!image.isNull()) painter.drawImage(R(op.rect), image);
            break;
        }
        }
    }
    painter.restore();
}

QImage RenderPageImage(const Page& page, int pageCount, int widthPx) {
    int heightPx = std::max(1, static_cast<int>(static_cast<long long>(widthPx) * page.height / std::max(1, page.width)));
    QImage image(std::max(1, widthPx), heightPx, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    Renderer renderer;
    renderer.Draw(page, painter, widthPx * 1000.0 / page.width, pageCount);
    return image;
}

}  // namespace fw::report
