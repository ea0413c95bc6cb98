#include "platform/qt/qt_timers.h"

#include <time.h>

#include <QDateTime>
#include <QTimer>
#include <memory>

#include "platform/qt/modal_gate.h"

namespace tamsel::qt {

double QtClock::now() {
    return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

double QtClock::uptime() {
    // Both count the time the machine sleeps: Linux's CLOCK_MONOTONIC does
    // not, macOS' does.
#if defined(CLOCK_BOOTTIME)
    constexpr clockid_t kClock = CLOCK_BOOTTIME;
#else
    constexpr clockid_t kClock = CLOCK_MONOTONIC;
#endif
    timespec ts{};
    clock_gettime(kClock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

namespace {

class QtTimer : public Timer, public std::enable_shared_from_this<QtTimer> {
public:
    QtTimer(double interval, bool repeats, std::function<void()> fire)
        : fire_(std::move(fire)), repeats_(repeats) {
        timer_.setSingleShot(!repeats);
        timer_.setInterval(static_cast<int>(interval * 1000.0 + 0.5));
    }
    void start() {
        std::weak_ptr<QtTimer> self = weak_from_this();
        QObject::connect(&timer_, &QTimer::timeout, [self] {
            if (auto timer = self.lock()) timer->due();
        });
        timer_.start();
        // The main loop holds a scheduled timer, as a run loop does, until
        // it has fired for the last time or is invalidated.
        scheduled_ = shared_from_this();
    }
    void invalidate() override {
        valid_ = false;
        timer_.stop();
        fire_ = nullptr;
        scheduled_.reset();  // may destroy this: nothing may follow
    }
    bool isValid() const override { return valid_; }

private:
    void due() {
        if (!valid_) return;
        if (!repeats_) valid_ = false;
        ModalGate& gate = ModalGate::instance();
        if (gate.active()) {
            // Once per modal run, however often it came due meanwhile.
            if (held_) return;
            held_ = true;
            std::weak_ptr<QtTimer> self = weak_from_this();
            gate.hold([self] {
                if (auto timer = self.lock()) timer->fireHeld();
            });
            return;
        }
        run();
    }
    void fireHeld() {
        held_ = false;
        run();
    }
    void run() {
        // The callback may invalidate this timer or drop its last reference.
        auto keep = shared_from_this();
        auto fire = fire_;
        if (fire) fire();
        if (!repeats_) {
            fire_ = nullptr;
            scheduled_.reset();
        }
    }

    QTimer timer_;
    std::function<void()> fire_;
    bool repeats_;
    bool valid_ = true;
    bool held_ = false;
    std::shared_ptr<QtTimer> scheduled_;
};

}  // namespace

TimerRef QtTimers::schedule(double interval, bool repeats, std::function<void()> fire) {
    auto timer = std::make_shared<QtTimer>(interval, repeats, std::move(fire));
    timer->start();
    return timer;
}

}  // namespace tamsel::qt
