// Idle time from the macOS event system, per event type.

#include <CoreGraphics/CoreGraphics.h>

#include "platform/qt/idle/idle_source.h"

namespace tamsel::qt {

namespace {

class MacIdleSource : public IdleSource {
public:
    double secondsSinceLastEvent(InputEvent type) override {
        // InputEvent is numbered as CGEventType is.
        return CGEventSourceSecondsSinceLastEventType(kCGEventSourceStateCombinedSessionState,
                                                      static_cast<CGEventType>(type));
    }
};

}  // namespace

std::unique_ptr<IdleSource> makeMacIdleSource() {
    return std::make_unique<MacIdleSource>();
}

}  // namespace tamsel::qt
