#include "platform/ui/qt_bridge.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>

#include "platform/data/names/path_names.h"
#include "platform/text/codepage.h"
#include "platform/ui/layout.h"

namespace fw {

QString Q(std::string_view ansi) { return AnsiToQString(ansi); }
std::string A(const QString& text) { return QStringToAnsi(text); }

QString TipText(std::string_view ansi) {
    QString t = Q(ansi);
    t.replace('|', '\n');
    return t;
}

QColor ColorFromValue(long value) {
    if (value < 0) return {};
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

long ValueFromColor(const QColor& c) {
    if (!c.isValid()) return -1;
    return c.red() | (c.green() << 8) | (static_cast<long>(c.blue()) << 16);
}

void ApplyFontStyle(QFont& font, int style) {
    int weight = style & 0xFFF;
    if (weight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
    font.setItalic((style & 4096) != 0);
}

int FontStyleOf(const QFont& font) {
    int weight = static_cast<int>(font.weight());
    return weight + (font.italic() ? 4096 : 0);
}

QCursor CursorFromName(std::string_view name) {
    if (name == "\xFF\x02\x03\x7F" || UpperText(name) == "~WAIT") return QCursor(Qt::WaitCursor);
    return QCursor(Qt::ArrowCursor);
}

std::string IconFolder() {
    QString layouts = QString::fromStdString(LayoutFolder());
    return QDir::cleanPath(layouts + "/../icons").toStdString();
}

static std::string ImagePath(std::string_view name) {
    if (name.empty()) return {};
    if (name[0] == '~') return ResolvePath(IconFolder() + "/" + std::string(name.substr(1)));
    return ResolvePath(name);
}

QIcon IconFromName(std::string_view name) {
    std::string path = ImagePath(name);
    if (path.empty() || !QFileInfo::exists(QString::fromStdString(path))) return {};
    return QIcon(QString::fromStdString(path));
}

QPixmap PixmapFromName(std::string_view name) {
    std::string path = ImagePath(name);
    if (path.empty()) return {};
    return QPixmap(QString::fromStdString(path));
}

}  // namespace fw
