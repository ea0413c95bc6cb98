#pragma once

// Time lapse for the benchmark: the clock, the timers and the idle time run
// `scale` times faster than real time, so a hundred break cycles pass in
// minutes. Only the tamsel-timelapse build wraps its services in these.

#include <memory>

#include "common/platform.h"

namespace tamsel::qt {

// now() = start + (real now − start) × scale.
std::unique_ptr<Clock> timeLapsed(std::unique_ptr<Clock> real, double scale);
// Every interval ÷ scale.
std::unique_ptr<Timers> timeLapsed(std::unique_ptr<Timers> real, double scale);
// Idle seconds × scale.
std::unique_ptr<IdleSource> timeLapsed(std::unique_ptr<IdleSource> real, double scale);

}  // namespace tamsel::qt
