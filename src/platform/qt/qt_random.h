#pragma once

#include "common/platform.h"

namespace tamsel::qt {

class QtRandom : public Random {
public:
    // Uniform in 0 .. bound - 1 from the system's source; 0 for a bound of 0.
    std::uint32_t uniform(std::uint32_t bound) override;
};

}  // namespace tamsel::qt
