#include "engine/history.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "engine/local_clock.h"
#include "engine/scl.h"

namespace tamsel {

namespace {

constexpr const char* kCompleted = "break_completed";
constexpr const char* kSnoozed = "break_snoozed";
constexpr const char* kSkipped = "skipped";
constexpr const char* kPaused = "paused";
constexpr const char* kResumed = "resumed";

using Kind = EngineEvent::Kind;

// What the history calls each moment of the engine; a moment not listed
// (the heads-up) is not kept. The cause tells break starts apart only.
struct Recorded {
    Kind kind;
    BreakCause cause;
    const char* name;
};
constexpr Recorded kRecorded[] = {
    {Kind::BreakStarted, BreakCause::Due, "break_started_due"},
    {Kind::BreakStarted, BreakCause::TakenNow, "break_started_now"},
    {Kind::BreakCompleted, {}, kCompleted},
    {Kind::BreakSnoozed, {}, kSnoozed},
    {Kind::Skipped, {}, kSkipped},
    {Kind::Paused, {}, kPaused},
    {Kind::Resumed, {}, kResumed},
};

const char* recordedName(const EngineEvent& e) {
    for (const Recorded& r : kRecorded)
        if (r.kind == e.kind && (e.kind != Kind::BreakStarted || r.cause == e.cause)) return r.name;
    return nullptr;
}

long long dayNumber(const std::string& day) {
    LocalDateTime t;
    if (std::sscanf(day.c_str(), "%d-%d-%d", &t.year, &t.month, &t.day) != 3) return 0;
    return static_cast<long long>(secondsFromUtc(t)) / 86400;
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

std::string dayKey(const LocalDateTime& t) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year, t.month, t.day);
    return text;
}

std::string shiftDay(const std::string& day, int days) {
    return dayKey(utcFromSeconds(static_cast<double>((dayNumber(day) + days) * 86400)));
}

HistoryRecorder::HistoryRecorder(History& store) : store_(store), lastFlush_(SCL::now()) {
    store_.forgetBefore(shiftDay(dayAt(SCL::wallClock()), -kHistoryDays));
    SCL::observe(this);
}

HistoryRecorder::~HistoryRecorder() {
    SCL::forget(this);
    flush();
}

const std::string& HistoryRecorder::dayAt(double wall) {
    if (wall >= dayStart_ && wall < dayEnd_) return day_;
    LocalDateTime local = localTimeOf(wall);
    day_ = dayKey(local);
    local.hour = local.minute = local.second = 0;
    dayStart_ = wallOf(local);
    dayEnd_ = nextLocalTime(wall, 0, 0);
    return day_;
}

void HistoryRecorder::sample(bool active, double window) {
    const double now = SCL::now();
    const double since = lastSample_ ? now - *lastSample_ : window;
    lastSample_ = now;
    if (!active) return;
    // Ticks on time count the time between them; a tick run at once right
    // after another adds only the moment between; after a break, a pause or
    // sleep a sample vouches for its own window only.
    count(since <= window * 1.5 ? since : window);
}

void HistoryRecorder::count(double seconds) {
    // Each second goes to the local day it was counted on: midnight splits
    // a work period, and a clock set back counts nothing twice.
    const std::string& day = dayAt(SCL::wallClock());
    if (day != pendingDay_) {
        flush();
        pendingDay_ = day;
    }
    pending_ += seconds;
    if (day == today_) todayActive_ += seconds;
    if (SCL::now() - lastFlush_ >= kHistoryFlushInterval) flush();
}

void HistoryRecorder::flush() {
    const auto whole = static_cast<std::int64_t>(pending_);
    if (whole <= 0) return;
    lastFlush_ = SCL::now();
    store_.addActiveSeconds(pendingDay_, whole);
    pending_ -= static_cast<double>(whole);
}

void HistoryRecorder::happened(const EngineEvent& event) {
    const char* name = recordedName(event);
    if (!name) return;
    const double wall = SCL::wallClock();
    const LocalDateTime local = localTimeOf(wall);
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", local.hour, local.minute, local.second);
    HistoryEvent e{wall, dayKey(local), time, name,
                   static_cast<std::int64_t>(std::llround(event.seconds))};
    store_.append(e);
    if (e.kind == kCompleted && e.day == today_) ++todayTaken_;
}

void HistoryRecorder::refreshToday() {
    const std::string& day = dayAt(SCL::wallClock());
    if (day == today_) return;
    // A new day, or the clock moved to another: read once what it holds.
    today_ = day;
    todayActive_ = day == pendingDay_ ? pending_ : 0;
    for (const HistoryDay& d : store_.days(day, day))
        todayActive_ += static_cast<double>(d.activeSeconds);
    const auto events = store_.events(day, day);
    todayTaken_ = std::count_if(events.begin(), events.end(),
                                [](const HistoryEvent& e) { return e.kind == kCompleted; });
}

std::int64_t HistoryRecorder::todayActiveSeconds() {
    refreshToday();
    return static_cast<std::int64_t>(todayActive_);
}

std::int64_t HistoryRecorder::todayBreaksTaken() {
    refreshToday();
    return todayTaken_;
}

std::vector<DayTotals> HistoryRecorder::lastDays(int count) {
    const double now = SCL::wallClock();
    const std::string last = dayAt(now);
    const std::string first = shiftDay(last, 1 - count);
    const long long base = dayNumber(first);
    std::vector<DayTotals> out(static_cast<std::size_t>(std::max(count, 0)));
    for (std::size_t i = 0; i < out.size(); ++i) out[i].day = shiftDay(first, static_cast<int>(i));
    auto at = [&](const std::string& day) -> DayTotals* {
        const long long i = dayNumber(day) - base;
        return i >= 0 && i < static_cast<long long>(out.size()) ? &out[i] : nullptr;
    };

    for (const HistoryDay& d : store_.days(first, last))
        if (DayTotals* t = at(d.day)) t->activeSeconds += d.activeSeconds;
    if (DayTotals* t = at(pendingDay_)) t->activeSeconds += static_cast<std::int64_t>(pending_);

    const auto events = store_.events(first, last);
    for (auto e = events.begin(); e != events.end(); ++e) {
        DayTotals* t = at(e->day);
        if (!t) continue;
        if (e->kind == kCompleted) ++t->taken;
        if (e->kind == kSnoozed) ++t->snoozed;
        if (e->kind == kSkipped) ++t->skipped;
        if (e->kind != kPaused) continue;
        // A pause lasts its length, or until it was ended or replaced.
        double end = std::min(e->at + static_cast<double>(e->seconds), now);
        auto next = std::find_if(e + 1, events.end(), [](const HistoryEvent& n) {
            return n.kind == kResumed || n.kind == kPaused;
        });
        if (next != events.end()) end = std::min(end, next->at);
        t->pausedSeconds += std::max<std::int64_t>(std::llround(end - e->at), 0);
    }
    return out;
}

std::string HistoryRecorder::csv() {
    flush();
    const std::string from = "0000-01-01", to = "9999-12-31";
    std::map<std::string, std::int64_t> days;
    for (const HistoryDay& d : store_.days(from, to)) days[d.day] += d.activeSeconds;
    auto events = store_.events(from, to);
    for (const HistoryEvent& e : events) days.try_emplace(e.day, 0);
    std::stable_sort(events.begin(), events.end(),
                     [](const HistoryEvent& a, const HistoryEvent& b) { return a.day < b.day; });

    std::string text = "date,time,record,seconds\n";
    auto e = events.begin();
    for (const auto& [day, seconds] : days) {
        text += csvField(day) + ",,active," + std::to_string(seconds) + "\n";
        for (; e != events.end() && e->day == day; ++e)
            text += csvField(e->day) + "," + csvField(e->time) + "," + csvField(e->kind) + "," +
                    (e->seconds ? std::to_string(e->seconds) : "") + "\n";
    }
    return text;
}

}  // namespace tamsel
