#pragma once

// Where things stand and what just happened, as the engine tells everyone
// who shows it: the menu, the tooltip, the indicator, the scripting
// interface (and whatever keeps a history).

#include <cstdint>

namespace tamsel {

enum class State { Working, Break, Paused };

struct Status {
    State state = State::Working;
    // Seconds of counted work until the next break; 0 during a break.
    std::int64_t secondsToBreak = 0;
    // Seconds of the running break still to come; 0 outside a break.
    std::int64_t breakSecondsLeft = 0;
    // Wall-clock second the pause ends; 0 when not paused. A pause taken
    // during a break holds after it: the state says "break" meanwhile.
    double pausedUntil = 0;
    // Today on the local clock, from the history: seconds of counted
    // activity and breaks that ran to their end.
    std::int64_t todayActiveSeconds = 0;
    std::int64_t todayBreaksTaken = 0;
    bool operator==(const Status&) const = default;
};

enum class BreakCause { Due, TakenNow };

struct EngineEvent {
    enum class Kind {
        BreakStarted,    // cause
        BreakCompleted,  // ran to its end (or the machine was away meanwhile)
        BreakSnoozed,
        Skipped,
        Paused,   // seconds: how long
        Resumed,  // early: by the user, not at its time
        HeadsUp,
    };
    Kind kind;
    BreakCause cause = BreakCause::Due;
    double seconds = 0;
    bool early = false;
};

class EngineObserver {
public:
    virtual ~EngineObserver() = default;
    // After every tick and every command: the status may or may not differ.
    virtual void statusChanged(const Status&) {}
    virtual void happened(const EngineEvent&) {}
};

}  // namespace tamsel
