#include "platform/qt/time_lapse.h"

namespace tamsel::qt {

namespace {

class LapsedClock : public Clock {
public:
    LapsedClock(std::unique_ptr<Clock> real, double scale)
        : real_(std::move(real)), scale_(scale), start_(real_->now()), upStart_(real_->uptime()) {}
    double now() override { return start_ + (real_->now() - start_) * scale_; }
    double uptime() override { return upStart_ + (real_->uptime() - upStart_) * scale_; }

private:
    std::unique_ptr<Clock> real_;
    double scale_;
    double start_;
    double upStart_;
};

class LapsedTimers : public Timers {
public:
    LapsedTimers(std::unique_ptr<Timers> real, double scale)
        : real_(std::move(real)), scale_(scale) {}
    TimerRef schedule(double interval, bool repeats, std::function<void()> fire) override {
        return real_->schedule(interval / scale_, repeats, std::move(fire));
    }

private:
    std::unique_ptr<Timers> real_;
    double scale_;
};

class LapsedIdle : public IdleSource {
public:
    LapsedIdle(std::unique_ptr<IdleSource> real, double scale)
        : real_(std::move(real)), scale_(scale) {}
    double secondsSinceLastEvent(InputEvent type) override {
        return real_->secondsSinceLastEvent(type) * scale_;
    }

private:
    std::unique_ptr<IdleSource> real_;
    double scale_;
};

}  // namespace

std::unique_ptr<Clock> timeLapsed(std::unique_ptr<Clock> real, double scale) {
    return std::make_unique<LapsedClock>(std::move(real), scale);
}

std::unique_ptr<Timers> timeLapsed(std::unique_ptr<Timers> real, double scale) {
    return std::make_unique<LapsedTimers>(std::move(real), scale);
}

std::unique_ptr<IdleSource> timeLapsed(std::unique_ptr<IdleSource> real, double scale) {
    return std::make_unique<LapsedIdle>(std::move(real), scale);
}

}  // namespace tamsel::qt
