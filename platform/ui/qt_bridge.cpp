#include "platform/ui/qt_bridge.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>

#include "platform/data/names/path_names.h"
#include "platform/text/codepage.h"
#include "platform/ui/layout.h"
#include "platform/ui/widgets/color.h"

#include <cstdint>

namespace fw {

QString Q(std::string_view ansi) { return AnsiToQString(ansi); }
std::string A(const QString& text) { return QStringToAnsi(text); }

QString TipText(std::string_view ansi) {
    QString t = Q(ansi);
    t.replace('|', '\n');
    return t;
}

QString TitleText(std::string_view ansi) {
    QString t = Q(ansi);
    t.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    return t;
}

std::string TitleOf(const QString& qtTitle) {
    QString t = qtTitle;
    t.replace(QStringLiteral("[*][*]"), QStringLiteral("[*]"));
    return A(t);
}

QColor ColorFromValue(long value) {
    if (value < 0 || value > 0x7FFFFFFF) return {};
    return ui::ColorFromBgr(static_cast<std::int32_t>(value));
}

long ValueFromColor(const QColor& c) { return ui::ToBgr(c); }

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

namespace {

bool Exists(const std::string& path) { return !path.empty() && QFileInfo::exists(QString::fromStdString(path)); }

// The program's picture of that name, or empty when the set has none.
std::string ProgramPicture(std::string_view bare) {
    const std::string folder = IconFolder() + "/";
    std::string path = ResolvePath(folder + std::string(bare));
    if (Exists(path)) return path;
    const std::string_view stem = bare.substr(0, bare.rfind('.'));
    path = ResolvePath(folder + std::string(stem) + ".svg");
    return Exists(path) ? path : std::string();
}

}  // namespace

std::string ImagePath(std::string_view name) {
    if (name.empty()) return {};
    const bool resource = name[0] == '~';
    const std::string_view bare = resource ? name.substr(1) : name;
    if (resource || bare.find_first_of("/\\") == std::string_view::npos) {
        std::string picture = ProgramPicture(bare);
        if (!picture.empty() || resource) return picture.empty() ? ResolvePath(IconFolder() + "/" + std::string(bare)) : picture;
    }
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
