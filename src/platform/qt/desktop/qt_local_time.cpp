#include "platform/qt/desktop/qt_local_time.h"

#include <QDateTime>
#include <QTimeZone>
#include <cmath>

namespace tamsel::qt {

LocalDateTime QtLocalTime::toLocal(double wallSeconds) {
    const QDateTime at = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(std::floor(wallSeconds)),
                                                       QTimeZone::systemTimeZone());
    const QDate d = at.date();
    const QTime t = at.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

double QtLocalTime::fromLocal(const LocalDateTime& local) {
    const QDate date = QDate(local.year, local.month, 1).addDays(local.day - 1);
    const QTime time(local.hour, local.minute, local.second);
    const QDateTime at(date, time, QTimeZone::systemTimeZone());
    return static_cast<double>(at.toSecsSinceEpoch());
}

}  // namespace tamsel::qt
