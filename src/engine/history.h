#pragma once

// The history: per local day the seconds of activity the monitor counted,
// and each of the engine's moments with its wall-clock time. What is kept
// is decided here; the platform's History store keeps it, on this computer
// only.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/platform.h"
#include "engine/status.h"

namespace tamsel {

// Days kept: older days and their moments are dropped at start.
inline constexpr int kHistoryDays = 400;
// Counted activity reaches the store at most this often (and at Quit).
inline constexpr double kHistoryFlushInterval = 60.0;

// "2026-03-10"
std::string dayKey(const LocalDateTime& t);
// The day `days` after (or before, when negative) a day key.
std::string shiftDay(const std::string& day, int days);

// One day as the statistics show it.
struct DayTotals {
    std::string day;
    std::int64_t activeSeconds = 0;
    int taken = 0;  // breaks that ran to their end
    int snoozed = 0;
    int skipped = 0;
    // Pauses started that day, for as long as they lasted (until now for
    // one still running).
    std::int64_t pausedSeconds = 0;
    int missed() const { return snoozed + skipped; }
};

class HistoryRecorder : public EngineObserver {
public:
    // Drops what is older than kHistoryDays and listens to the engine.
    explicit HistoryRecorder(History& store);
    ~HistoryRecorder() override;
    HistoryRecorder(const HistoryRecorder&) = delete;
    HistoryRecorder& operator=(const HistoryRecorder&) = delete;

    // The activity monitor's sample of one tick, which looked `window`
    // seconds back. Writes at most once a minute, never for an idle sample.
    void sample(bool active, double window);
    // Writes the counted seconds not written yet.
    void flush();

    std::int64_t todayActiveSeconds();
    std::int64_t todayBreaksTaken();
    // The last `count` local days, oldest first, today last; seconds not
    // written yet included.
    std::vector<DayTotals> lastDays(int count);
    // The whole history: a header line, then per day one row for the day
    // and one per moment, oldest first.
    std::string csv();

    void happened(const EngineEvent& event) override;

private:
    void count(double seconds);
    void refreshToday();
    // The local day of a wall-clock second; the time zone is asked only
    // when the second lies outside the day asked about last.
    const std::string& dayAt(double wall);

    History& store_;
    std::optional<double> lastSample_;  // uptime
    double lastFlush_;                  // uptime
    double pending_ = 0;
    std::string pendingDay_;
    std::string day_;
    double dayStart_ = 0, dayEnd_ = 0;
    std::string today_;
    double todayActive_ = 0;
    std::int64_t todayTaken_ = 0;
};

}  // namespace tamsel
