#include "platform/qt/qt_console.h"

#include <cstdio>

namespace tamsel::qt {

void QtConsole::printLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace tamsel::qt
