#pragma once

#include "common/platform.h"

namespace tamsel::qt {

class QtClock : public Clock {
public:
    double now() override;
    double uptime() override;
};

// QTimer on the main loop, held back while a modal run is open.
class QtTimers : public Timers {
public:
    TimerRef schedule(double interval, bool repeats, std::function<void()> fire) override;
};

}  // namespace tamsel::qt
