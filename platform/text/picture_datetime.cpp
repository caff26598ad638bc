// @D date and @T time pictures.
#include "platform/text/clock.h"
#include "platform/text/codepage.h"
#include "platform/text/dates.h"
#include "platform/text/picture_parts.h"

#include <QDate>
#include <QLocale>

#include <cstdio>
#include <vector>

namespace fw::picture {
namespace {

int PictureNumber(std::string_view pic) {
    int n = 0;
    for (std::size_t i = 2; i < pic.size() && pic[i] >= '0' && pic[i] <= '9'; ++i) n = n * 10 + (pic[i] - '0');
    return n;
}

constexpr int kShortDate = 17;

int CurrentYear() {
    const int y = YEAR(TODAY());
    return y != 0 ? y : QDate::currentDate().year();
}

// The numeric fields of a text, split at any non-digit; their digit counts too.
void Fields(std::string_view text, std::vector<long>& values, std::vector<int>& widths) {
    long v = 0;
    int w = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            if (w < 9) v = v * 10 + (c - '0');
            ++w;
        } else if (w > 0) {
            values.push_back(v);
            widths.push_back(w);
            v = 0;
            w = 0;
        }
    }
    if (w > 0) {
        values.push_back(v);
        widths.push_back(w);
    }
}

// Whether a locale date format writes the year in two digits only.
bool TwoDigitYearFormat(const QString& format) {
    return format.contains(QLatin1String("yy")) && !format.contains(QLatin1String("yyyy"));
}

long ShortDateFromText(std::string_view text) {
    const QLocale locale;
    const QString input = AnsiToQString(text).trimmed();
    if (input.isEmpty()) return kNoDate;
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QDate d = locale.toDate(input, format);
    if (d.isValid() && TwoDigitYearFormat(format)) {
        d = QDate(WindowedYear(d.year() % 100, CurrentYear()), d.month(), d.day());
    } else if (!d.isValid() && TwoDigitYearFormat(format)) {
        // A four-digit year typed into a two-digit-year format.
        QString longYear = format;
        longYear.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        d = locale.toDate(input, longYear);
    }
    return d.isValid() ? DATE(d.month(), d.day(), d.year()) : kNoDate;
}

}  // namespace

std::string FormatDate(long date, std::string_view pic) {
    const CivilDate c = CivilFromDayNumber(date);
    if (c.year == 0) return {};
    const int n = PictureNumber(pic);
    if (n == kShortDate)
        return QStringToAnsi(QLocale().toString(QDate(c.year, c.month, c.day), QLocale::ShortFormat));
    char buf[16];
    if (n == 1) std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", c.month, c.day, c.year % 100);
    else std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", c.month, c.day, c.year);
    return buf;
}

long DeformatDate(std::string_view text, std::string_view pic) {
    if (PictureNumber(pic) == kShortDate) return ShortDateFromText(text);
    std::vector<long> v;
    std::vector<int> w;
    Fields(text, v, w);
    if (v.size() != 3 || w[0] > 2 || w[1] > 2) return kNoDate;
    int year = static_cast<int>(v[2]);
    if (w[2] <= 2) year = WindowedYear(year, CurrentYear());
    else if (w[2] != 4) return kNoDate;
    return DATE(static_cast<int>(v[0]), static_cast<int>(v[1]), year);
}

std::string FormatTime(long time, std::string_view pic) {
    if (time <= 0) return {};
    const long seconds = (time - 1) / 100;
    char buf[32];
    if (PictureNumber(pic) == 1)
        std::snprintf(buf, sizeof buf, "%02ld:%02ld", seconds / 3600, seconds / 60 % 60);
    else
        std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buf;
}

long DeformatTime(std::string_view text, std::string_view) {
    std::vector<long> v;
    std::vector<int> w;
    Fields(text, v, w);
    if (v.size() < 2 || v.size() > 3 || v[1] > 59 || (v.size() == 3 && v[2] > 59)) return 0;
    const long seconds = v[0] * 3600 + v[1] * 60 + (v.size() == 3 ? v[2] : 0);
    return seconds * 100 + 1;
}

}  // namespace fw::picture
