#pragma once

#include "common/platform.h"

namespace tamsel::qt {

// Standard output, one flushed line at a time: the line is there even if
// the process ends right after.
class QtConsole : public Console {
public:
    void printLine(const std::string& line) override;
};

}  // namespace tamsel::qt
