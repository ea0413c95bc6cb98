#pragma once

// Times on the user's local clock, through the platform's time zone: what a
// pause "until tomorrow" means and how its end reads.

#include <string>

#include "common/platform.h"

namespace tamsel {

// The local date and time of a wall-clock second, and back.
LocalDateTime localTimeOf(double wall);
double wallOf(const LocalDateTime& local);

// The wall-clock second of the next hour:minute on the local clock after
// `now` (later than now, never equal).
double nextLocalTime(double now, int hour, int minute);

// How `when` reads on the local clock at `now`: "15:30" on the same day,
// "tomorrow 06:00" on the next, "2025-12-24 15:30" later.
std::string localClockText(double when, double now);

// Calendar arithmetic in UTC, for time zones built on it (and for a
// platform that has none).
LocalDateTime utcFromSeconds(double seconds);
double secondsFromUtc(const LocalDateTime& utc);

}  // namespace tamsel
