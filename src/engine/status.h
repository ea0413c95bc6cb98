#pragma once

// Where things stand and what just happened, as the engine tells everyone
// who shows it: the menu, the tooltip, the indicator, the scripting
// interface (and whatever keeps a history).

#include <cstdint>
#include <string>

#include "common/platform.h"
#include "common/translate.h"

namespace tamsel {

enum class State { Working, Break, Paused, Waiting };

// What a due break waits for, in the order it is told.
enum class WaitReason { None, Call, FullScreen, DoNotDisturb };

// The reason in a few words, as scripts read it (the indicator shows it in
// the user's language).
constexpr const char* waitReasonName(WaitReason reason) {
    switch (reason) {
        case WaitReason::Call: return QT_TRANSLATE_NOOP("Tamsel", "call");
        case WaitReason::FullScreen: return QT_TRANSLATE_NOOP("Tamsel", "full screen");
        case WaitReason::DoNotDisturb: return QT_TRANSLATE_NOOP("Tamsel", "do not disturb");
        case WaitReason::None: break;
    }
    return "";
}

struct Status {
    State state = State::Working;
    // Seconds of counted work until the next break; 0 during a break.
    std::int64_t secondsToBreak = 0;
    // Seconds of the running break still to come; 0 outside a break.
    std::int64_t breakSecondsLeft = 0;
    // Wall-clock second the pause ends; 0 when not paused. A pause taken
    // during a break holds after it: the state says "break" meanwhile.
    double pausedUntil = 0;
    // What the indicator shows, as its label has it.
    std::string indicatorText{};
    Color indicatorColor{};
    // Why the due break waits; None unless the state is Waiting.
    WaitReason waitingFor = WaitReason::None;
    // Today on the local clock, from the history: seconds of counted
    // activity and breaks that ran to their end.
    std::int64_t todayActiveSeconds = 0;
    std::int64_t todayBreaksTaken = 0;
    bool operator==(const Status&) const = default;
};

// AfterWaiting: a due break that waited (for a call, …) starts at last.
enum class BreakCause { Due, TakenNow, AfterWaiting };

struct EngineEvent {
    enum class Kind {
        BreakStarted,    // cause
        BreakCompleted,  // ran to its end (or the machine was away meanwhile)
        BreakSnoozed,
        Skipped,
        Paused,   // seconds: how long
        Resumed,  // early: by the user, not at its time
        HeadsUp,
        Waiting,         // reason: a due break waits for it
        BreakTakenAway,  // away for a whole break while it waited: counts as completed
    };
    Kind kind;
    BreakCause cause = BreakCause::Due;
    double seconds = 0;
    bool early = false;
    WaitReason reason = WaitReason::None;
};

class EngineObserver {
public:
    virtual ~EngineObserver() = default;
    // After every tick and every command: the status may or may not differ.
    virtual void statusChanged(const Status&) {}
    virtual void happened(const EngineEvent&) {}
};

}  // namespace tamsel
