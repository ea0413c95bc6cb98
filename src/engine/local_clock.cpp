#include "engine/local_clock.h"

#include <cmath>
#include <cstdio>

#include "engine/scl.h"

namespace tamsel {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date, and back (the
// well-known algorithm of H. Hinnant's date library); months and days out of
// range roll over.
long long daysFromCivil(long long y, long long m, long long d) {
    y += (m - 1) / 12;
    m = (m - 1) % 12 + 1;
    if (m <= 0) m += 12, y -= 1;
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + (d - 1);
}

LocalDateTime civilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    LocalDateTime t;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2));
    return t;
}

// A platform without a time zone reads UTC.
class Utc : public LocalTime {
public:
    LocalDateTime toLocal(double wall) override { return utcFromSeconds(wall); }
    double fromLocal(const LocalDateTime& local) override { return secondsFromUtc(local); }
};

LocalTime& zone() {
    static Utc utc;
    LocalTime* local = SCL::platform().localTime;
    return local ? *local : utc;
}

LocalDateTime atTime(LocalDateTime day, int hour, int minute) {
    day.hour = hour;
    day.minute = minute;
    day.second = 0;
    return day;
}

bool sameDay(const LocalDateTime& a, const LocalDateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

}  // namespace

LocalDateTime utcFromSeconds(double seconds) {
    const long long whole = static_cast<long long>(std::floor(seconds));
    long long days = whole / 86400;
    long long rest = whole % 86400;
    if (rest < 0) rest += 86400, days -= 1;
    LocalDateTime t = civilFromDays(days);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

double secondsFromUtc(const LocalDateTime& utc) {
    return static_cast<double>(daysFromCivil(utc.year, utc.month, utc.day) * 86400 +
                               utc.hour * 3600LL + utc.minute * 60LL + utc.second);
}

LocalDateTime localTimeOf(double wall) {
    return zone().toLocal(wall);
}

double wallOf(const LocalDateTime& local) {
    return zone().fromLocal(local);
}

double nextLocalTime(double now, int hour, int minute) {
    LocalTime& zone = tamsel::zone();
    LocalDateTime today = zone.toLocal(now);
    const double candidate = zone.fromLocal(atTime(today, hour, minute));
    if (candidate > now) return candidate;
    // The next day from today's noon: a day of 23 or 25 hours stays one day.
    LocalDateTime tomorrow = zone.toLocal(zone.fromLocal(atTime(today, 12, 0)) + 24 * 3600.0);
    return zone.fromLocal(atTime(tomorrow, hour, minute));
}

std::string localClockText(double when, double now) {
    LocalTime& zone = tamsel::zone();
    const LocalDateTime at = zone.toLocal(when);
    const LocalDateTime today = zone.toLocal(now);
    const LocalDateTime tomorrow = zone.toLocal(zone.fromLocal(atTime(today, 12, 0)) + 24 * 3600.0);
    char text[40];
    std::snprintf(text, sizeof text, "%02d:%02d", at.hour, at.minute);
    if (sameDay(at, tomorrow)) return fill(translate("Tamsel", "tomorrow %1"), {text});
    if (!sameDay(at, today))
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", at.year, at.month, at.day,
                      at.hour, at.minute);
    return text;
}

}  // namespace tamsel
