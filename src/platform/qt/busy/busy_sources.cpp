#include "platform/qt/busy/busy_sources.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "platform/qt/modal_gate.h"

namespace tamsel::qt {

namespace {
QElapsedTimer deferral;
qint64 deferralMs = 0;
}  // namespace

void QtBusySource::deferStarts(int milliseconds) {
    deferral.start();
    deferralMs = milliseconds;
}

void QtBusySource::watch(bool on) {
    if (on == watching_) return;
    watching_ = on;
    if (on) {
        const qint64 wait =
            deferral.isValid() ? std::max<qint64>(0, deferralMs - deferral.elapsed()) : 0;
        if (wait == 0) {
            started_ = true;
            start();
            return;
        }
        QTimer::singleShot(wait, &context_, [this] {
            if (watching_ && !started_) {
                started_ = true;
                start();
            }
        });
    } else {
        if (started_) stop();
        started_ = false;
        answer_ = Busy::Unknown;
    }
}

void QtBusySource::tell(Busy answer) {
    if (answer == answer_) return;
    answer_ = answer;
    if (pending_ || !watching_) return;
    pending_ = true;
    QTimer::singleShot(0, &context_, [this] { deliver(); });
}

void QtBusySource::deliver() {
    if (ModalGate::instance().active()) {
        QPointer<QObject> alive(&context_);
        ModalGate::instance().hold([this, alive] {
            if (alive) deliver();
        });
        return;
    }
    pending_ = false;
    if (changed_ && watching_) changed_();
}

void QtBusySource::cannot(const std::string& why) {
    tell(Busy::Unknown);
    if (said_) return;
    said_ = true;
    std::fprintf(stderr, "tamsel: %s: %s\n", name_.c_str(), why.c_str());
    std::fflush(stderr);
}

namespace {

class BlindSource : public QtBusySource {
public:
    BlindSource(std::string name, std::string why)
        : QtBusySource(std::move(name)), why_(std::move(why)) {}
    void start() override { cannot(why_); }
    void stop() override {}

private:
    std::string why_;
};

}  // namespace

std::unique_ptr<QtBusySource> makeBlindSource(std::string name, std::string why) {
    return std::make_unique<BlindSource>(std::move(name), std::move(why));
}

}  // namespace tamsel::qt
