#pragma once

// Where the idle time comes from: the X server, the desktop over D-Bus, or
// the macOS event system. makeIdleSource() picks the first that answers.

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "common/platform.h"

class QDBusConnection;

namespace tamsel::qt {

// The source this desktop offers, or one that always answers 0 s (the user
// counts as active, so reminders keep coming) when none works.
std::unique_ptr<IdleSource> makeIdleSource();

// Empty while idle time works; else one plain sentence saying why it does not.
std::string idleProblem();

// A desktop that reports one idle time for all input answers it for every
// event type. A tick asks up to five times in a row: one query serves them.
class CombinedIdleSource : public IdleSource {
public:
    double secondsSinceLastEvent(InputEvent type) override;

    // Seconds since the last input of any kind; empty when the desktop did
    // not answer.
    virtual std::optional<double> query() = 0;
    // Names the source in messages, e.g. "the X server".
    virtual std::string name() const = 0;

private:
    std::chrono::steady_clock::time_point queriedAt_{};
    bool hasAnswer_ = false;
    double answer_ = 0;
    bool failureReported_ = false;
};

// Each returns null when the source does not answer on this desktop.
std::unique_ptr<CombinedIdleSource> makeX11IdleSource();
std::unique_ptr<CombinedIdleSource> makeMutterIdleSource(const QDBusConnection& bus);
std::unique_ptr<CombinedIdleSource> makeScreenSaverIdleSource(const QDBusConnection& bus);
std::unique_ptr<IdleSource> makeMacIdleSource();

}  // namespace tamsel::qt
