#pragma once

#include "common/platform.h"

namespace tamsel::qt {

// org.freedesktop.Notifications on the session bus, called without waiting
// for the answer. Without a bus or a notification server nothing happens.
class FreedesktopNotifier : public Notifier {
public:
    void notify(const std::string& summary, const std::string& body) override;
};

}  // namespace tamsel::qt
