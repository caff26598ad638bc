#include "platform/ui/text_fit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>
#include <QRegularExpression>
#include <QStringList>
#include <QStyle>

#include <algorithm>

#include "platform/ui/qt_bridge.h"
#include "platform/ui/widgets/paged_list_widget.h"

namespace fw {
namespace {

// The text as shown: "&" marks a mnemonic ("&&" is one "&").
QString WithoutMnemonic(const QString& text) {
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') out += '&', ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

int Metric(QStyle::PixelMetric metric) { return QApplication::style()->pixelMetric(metric); }

int WidestLine(const QFontMetrics& fm, const QStringList& lines) {
    int widest = 0;
    for (const QString& line : lines) widest = std::max(widest, fm.horizontalAdvance(line));
    return widest;
}

}  // namespace

QFont ControlFont(const QFont& windowFont, const FontPlan& own) {
    QFont f = windowFont;
    if (!own.name.empty()) f.setFamily(Q(own.name));
    if (own.size > 0) f.setPointSize(own.size);
    if (own.style > 0) ApplyFontStyle(f, own.style);
    return f;
}

std::optional<QSize> TextNeeds(const ControlLayout& c, const QFont& font, int widthPx) {
    if (c.text.empty()) return std::nullopt;
    const QFontMetrics fm(font);
    const QString text = Q(c.text);
    switch (c.kind) {
    case ControlKind::Prompt: case ControlKind::String: {
        if (c.kind == ControlKind::String && !c.picture.empty()) return std::nullopt;
        const QString shown = c.kind == ControlKind::Prompt ? WithoutMnemonic(text) : QString(text).replace('|', '\n');
        if (c.at.h >= 16) {  // a text of several lines, wrapped at words
            int word = 0;
            for (const QString& w : shown.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts))
                word = std::max(word, fm.horizontalAdvance(w));
            const QRect lines = fm.boundingRect(QRect(0, 0, std::max(widthPx, word), 1 << 20), Qt::TextWordWrap, shown);
            return QSize(word, lines.height());
        }
        const QStringList lines = shown.split('\n');
        return QSize(WidestLine(fm, lines), static_cast<int>(lines.size()) * fm.height());
    }
    case ControlKind::Button: {
        if (!c.hasAt) return std::nullopt;  // on a tool bar
        const QStringList lines = WithoutMnemonic(text).split('|');
        const int icon = c.icon.empty() ? 0 : Metric(QStyle::PM_ButtonIconSize) + 4;
        const int frame = 2 * (Metric(QStyle::PM_DefaultFrameWidth) + 2);
        return QSize(WidestLine(fm, lines) + icon + frame, static_cast<int>(lines.size()) * fm.height() + 2);
    }
    case ControlKind::Check: case ControlKind::Radio: {
        const bool check = c.kind == ControlKind::Check;
        const int mark = Metric(check ? QStyle::PM_IndicatorWidth : QStyle::PM_ExclusiveIndicatorWidth) +
                         Metric(check ? QStyle::PM_CheckBoxLabelSpacing : QStyle::PM_RadioButtonLabelSpacing);
        return QSize(mark + fm.horizontalAdvance(WithoutMnemonic(text)) + 2, fm.height());
    }
    case ControlKind::Group: case ControlKind::Option:
        // The title sits inset in the frame's top line.
        return QSize(fm.horizontalAdvance(WithoutMnemonic(text)) + 16, 0);
    default: return std::nullopt;
    }
}

std::optional<int> ListNeeds(const ControlLayout& c, const QFont& font, double unitX) {
    if (c.kind != ControlKind::List || c.format.empty()) return std::nullopt;
    // The list as the window builds it, measured.
    ui::PagedListWidget probe;
    probe.setFont(font);
    probe.setDialogUnitWidth(unitX);
    probe.setMode(c.Has("paged") ? ui::ListMode::Paged : ui::ListMode::WholeQueue);
    probe.setScrollBarOn(c.Has("vscroll"));
    if (!probe.setFormatText(c.format)) return std::nullopt;
    return probe.widthToShowColumns();
}

int CaptionNeeds(std::string_view caption) {
    if (caption.empty()) return 0;
    const QFontMetrics fm(QApplication::font());
    // The icon and three buttons, each about a line high, and some room.
    return fm.horizontalAdvance(Q(caption)) + 4 * (fm.height() + 8) + 16;
}

void KeepCaptionWhole(QMessageBox& box, std::string_view caption) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    const int width = CaptionNeeds(caption);
    if (!grid || width <= 0) return;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

}  // namespace fw
