#include "platform/qt/qt_random.h"

#include <QRandomGenerator>

namespace tamsel::qt {

std::uint32_t QtRandom::uniform(std::uint32_t bound) {
    return bound == 0 ? 0 : QRandomGenerator::system()->bounded(bound);
}

}  // namespace tamsel::qt
