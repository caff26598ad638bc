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

// A date typed as three numbers in the given order ("MDY", "DMY", "YMD"),
// separated by anything but digits; day and month take one or two digits,
// the year two (read through the century window) or four.
long DateFromFields(std::string_view text, std::string_view order) {
    std::vector<long> v;
    std::vector<int> w;
    Fields(text, v, w);
    if (v.size() != 3) return kNoDate;
    int day = 0, month = 0, year = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const int value = static_cast<int>(v[i]);
        switch (order[i]) {
            case 'D': if (w[i] > 2) return kNoDate; day = value; break;
            case 'M': if (w[i] > 2) return kNoDate; month = value; break;
            default:
                if (w[i] <= 2) year = WindowedYear(value, CurrentYear());
                else if (w[i] == 4) year = value;
                else return kNoDate;
        }
    }
    return DATE(month, day, year);
}

// The order of day, month and year in a locale's date format, or the empty
// text when the format names the month in words.
std::string FieldOrder(const QString& format) {
    if (format.contains(QLatin1String("MMM"))) return {};
    std::string order;
    for (QChar c : format) {
        const char f = c == QLatin1Char('d') ? 'D' : c == QLatin1Char('M') ? 'M' : c == QLatin1Char('y') ? 'Y' : 0;
        if (f && order.find(f) == std::string::npos) order.push_back(f);
    }
    return order.size() == 3 ? order : std::string();
}

long ShortDateFromText(std::string_view text) {
    const QLocale locale;
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const std::string order = FieldOrder(format);
    if (!order.empty()) return DateFromFields(text, order);
    const QDate d = locale.toDate(AnsiToQString(text).trimmed(), format);
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
    return DateFromFields(text, "MDY");
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
