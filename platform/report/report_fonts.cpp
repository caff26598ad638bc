#include "platform/report/report_fonts.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <tuple>

#include "platform/text/codepage.h"

namespace fw::report {

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

struct FaceMap {
    const char* face;  // lower case
    const char* family;
    bool heavy;
};

constexpr FaceMap kFaces[] = {
    {"arial", "Liberation Sans", false},
    {"modern", "Liberation Sans", false},
    {"times new roman", "Liberation Serif", false},
    {"courier", "Liberation Mono", false},
    {"courier new", "Liberation Mono", false},
    {"arial black", "DejaVu Sans", true},
    {"marlet", "DejaVu Sans", false},
};

const FaceMap* Find(const std::string& face) {
    std::string key = Lower(face);
    for (const auto& f : kFaces)
        if (key == f.face) return &f;
    return nullptr;
}

constexpr const char* kFontFolders[] = {
    "/usr/share/fonts/truetype/liberation2",
    "/usr/share/fonts/truetype/liberation",
    "/usr/share/fonts/truetype/dejavu",
};

}  // namespace

bool RegisterReportFonts() {
    static bool done = false;
    static bool ok = false;
    if (done || !QGuiApplication::instance()) return ok;
    done = true;
    for (const char* folder : kFontFolders) {
        QDir dir(folder);
        const QStringList files = dir.entryList({"Liberation*.ttf", "DejaVuSans.ttf", "DejaVuSans-Bold.ttf"}, QDir::Files);
        for (const QString& f : files) QFontDatabase::addApplicationFont(dir.filePath(f));
    }
    const QStringList families = QFontDatabase::families();
    ok = true;
    for (const auto& f : kFaces)
        if (!families.contains(QString::fromLatin1(f.family))) ok = false;
    return ok;
}

QString InstalledFamily(const std::string& face) {
    if (const FaceMap* f = Find(face)) return QString::fromLatin1(f->family);
    return QString::fromStdString(face);
}

QFont QtFont(const TextFont& font, double pixelSize) {
    const FaceMap* f = Find(font.face);
    QFont q(f ? QString::fromLatin1(f->family) : QString::fromStdString(font.face));
    q.setPixelSize(std::max(1, static_cast<int>(pixelSize + 0.5)));
    int weight = font.Weight();
    if (f && f->heavy) weight = 900;
    q.setWeight(weight >= 800 ? QFont::Black : weight >= 600 ? QFont::Bold : QFont::Normal);
    q.setItalic(font.Italic());
    q.setKerning(false);
    q.setHintingPreference(QFont::PreferNoHinting);
    q.setStyleStrategy(QFont::PreferOutline);
    return q;
}

namespace {
// Measured at 1,000 dots an inch, so one unit is a thousandth of an inch.
QFontMetricsF MetricsAt1000(const TextFont& font) {
    RegisterReportFonts();
    return QFontMetricsF(QtFont(font, font.size * 1000.0 / 72.0));
}
}  // namespace

int TextHeight(const TextFont& font) { return static_cast<int>(std::ceil(MetricsAt1000(font).height())); }

int TextWidth(const TextFont& font, std::string_view text) {
    return static_cast<int>(std::ceil(MetricsAt1000(font).horizontalAdvance(fw::AnsiToQString(text))));
}

}  // namespace fw::report

namespace fw::report {

DeviceMeasure::DeviceMeasure(const TextFont& font, double dpi)
    : font_((RegisterReportFonts(), QtFont(font, font.size * dpi / 72.0))), metrics_(font_), unit_(1000.0 / dpi) {
    ink_.ascent = metrics_.ascent() * unit_;
    ink_.descent = metrics_.descent() * unit_;
    ink_.capHeight = metrics_.capHeight() * unit_;
}

double DeviceMeasure::Width(std::string_view text) const {
    return metrics_.horizontalAdvance(fw::AnsiToQString(text)) * unit_;
}

const DeviceMeasure& MeasureFor(const TextFont& font, double dpi) {
    static std::map<std::tuple<std::string, int, int, double>, DeviceMeasure> measures;
    auto key = std::make_tuple(font.face, font.size, font.style, dpi);
    auto it = measures.find(key);
    if (it == measures.end()) it = measures.emplace(key, DeviceMeasure(font, dpi)).first;
    return it->second;
}

}  // namespace fw::report
