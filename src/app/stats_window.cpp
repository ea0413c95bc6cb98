#include "app/stats_window.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "common/nibs.h"
#include "engine/history.h"
#include "engine/local_clock.h"
#include "engine/scl.h"

namespace tamsel {

namespace {

// "Tue\n10": the weekday and the day of the month.
std::string barLabel(const std::string& day) {
    static const char* const kWeekdays[] = {
        QT_TRANSLATE_NOOP("Tamsel", "Sun"), QT_TRANSLATE_NOOP("Tamsel", "Mon"),
        QT_TRANSLATE_NOOP("Tamsel", "Tue"), QT_TRANSLATE_NOOP("Tamsel", "Wed"),
        QT_TRANSLATE_NOOP("Tamsel", "Thu"), QT_TRANSLATE_NOOP("Tamsel", "Fri"),
        QT_TRANSLATE_NOOP("Tamsel", "Sat")};
    LocalDateTime date;
    std::sscanf(day.c_str(), "%d-%d-%d", &date.year, &date.month, &date.day);
    // 1970-01-01, day 0, was a Thursday.
    const auto days = static_cast<long long>(std::floor(secondsFromUtc(date) / 86400));
    return translate("Tamsel", kWeekdays[((days + 4) % 7 + 7) % 7]) + "\n" +
           std::to_string(date.day);
}

}  // namespace

std::string durationText(long long seconds) {
    const long long minutes = seconds / 60;
    if (minutes < 60) return fill(translate("Tamsel", "%1 min"), {std::to_string(minutes)});
    char twoDigits[8];
    std::snprintf(twoDigits, sizeof twoDigits, "%02lld", minutes % 60);
    return fill(translate("Tamsel", "%1 h %2 min"), {std::to_string(minutes / 60), twoDigits});
}

StatsWindow::StatsWindow() : WindowController(nib::kStatsWindow) {
    SCL::observe(this);
}

StatsWindow::~StatsWindow() {
    SCL::forget(this);
}

void StatsWindow::windowDidLoad() {
    Window* w = window();
    w->setTitle(translate("Tamsel", nib::kStatsWindowTitle.data()));
    w->setActionHandler([this](std::string_view action, std::string_view) {
        if (action == "exportBtn:") {
            exportBtn();
        } else if (action == "windowWillClose:") {
            closed_ = true;
            window()->close();
        }
    });
    refresh();
}

void StatsWindow::refresh() {
    HistoryRecorder* history = SCL::history.get();
    if (closed_ || !isWindowLoaded() || !history) return;
    const std::vector<DayTotals> days = history->lastDays(kDays);
    const DayTotals& today = days.back();
    outlet("lblActiveToday").setText(durationText(today.activeSeconds));
    outlet("lblTakenToday").setText(std::to_string(today.taken));
    outlet("lblSnoozedToday").setText(std::to_string(today.snoozed));
    outlet("lblSkippedToday").setText(std::to_string(today.skipped));
    outlet("lblPausedToday").setText(durationText(today.pausedSeconds));

    // Of the breaks due this week, those that ran to their end.
    int taken = 0, due = 0;
    for (auto d = days.end() - kWeek; d != days.end(); ++d) {
        taken += d->taken;
        due += d->taken + d->missed();
    }
    outlet("lblWeekShare")
        .setText(due ? std::to_string(std::lround(100.0 * taken / due)) + " %" : "\u2013");

    std::vector<ChartBar> bars;
    for (const DayTotals& d : days)
        bars.push_back(
            {barLabel(d.day), static_cast<double>(d.activeSeconds), d.taken, d.missed()});
    outlet("chartDays").setBars(bars);
}

void StatsWindow::exportBtn() {
    HistoryRecorder* history = SCL::history.get();
    if (!history) return;
    const std::string name = "tamsel-history-" + history->lastDays(1).back().day + ".csv";
    const SaveResult result = SCL::platform().dialogs->saveFile(name, history->csv());
    if (!result.saved && !result.error.empty())
        SCL::showAlert(
            fill(translate("Tamsel", "The history could not be exported: %1"), {result.error}),
            "Tamsel");
}

}  // namespace tamsel
