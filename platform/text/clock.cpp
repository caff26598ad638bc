#include "platform/text/clock.h"

#include "platform/text/dates.h"

#include <QDateTime>

namespace fw {
namespace {

ClockSource& Source() {
    static ClockSource source;
    return source;
}

ClockReading Read() { return Source() ? Source()() : SystemClock(); }

}  // namespace

void SetClockSource(ClockSource source) { Source() = std::move(source); }

void FixClock(long date, long hundredthsSinceMidnight) {
    SetClockSource([date, hundredthsSinceMidnight] { return ClockReading{date, hundredthsSinceMidnight}; });
}

void ResetClock() { Source() = nullptr; }

ClockReading SystemClock() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    return {DATE(d.month(), d.day(), d.year()), static_cast<long>(now.time().msecsSinceStartOfDay() / 10)};
}

long TODAY() { return Read().date; }
long CLOCK() { return Read().time; }

}  // namespace fw
