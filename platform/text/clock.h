#pragma once
// TODAY and CLOCK read one injectable clock, so tests and the test driver
// can fix the date and the time of day.
//
//   fw::FixClock(fw::DATE(3, 14, 2025), 12 * 360000);  // 14 March 2025, noon
//   fw::SetClockSource([&] { return fw::ClockReading{day, hundredths}; });
//   fw::ResetClock();                                    // back to the system clock

#include <functional>

namespace fw {

struct ClockReading {
    long date = 0;  // day number (see dates.h)
    long time = 0;  // hundredths of a second since midnight, 0..8639999
};

using ClockSource = std::function<ClockReading()>;

// Replaces the clock; an empty source means the system's local clock.
void SetClockSource(ClockSource source);
// A clock that always reads the given date and time.
void FixClock(long date, long hundredthsSinceMidnight);
// Back to the system's local clock.
void ResetClock();
// The system's local date and time, whatever source is set.
ClockReading SystemClock();

// Today's day number.
long TODAY();
// Hundredths of a second since midnight.
long CLOCK();

}  // namespace fw
