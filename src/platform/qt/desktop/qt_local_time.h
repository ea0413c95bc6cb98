#pragma once

#include "common/platform.h"

namespace tamsel::qt {

// The system's time zone, as Qt reads it (TZ, /etc/localtime).
class QtLocalTime : public LocalTime {
public:
    LocalDateTime toLocal(double wallSeconds) override;
    double fromLocal(const LocalDateTime& local) override;
};

}  // namespace tamsel::qt
