// Picks the idle source of this desktop. Every choice that depends on the
// operating system is made here; the sources themselves live in idle_*.cpp.

#include "platform/qt/idle/idle_source.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QEventLoop>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tamsel::qt {

namespace {

using namespace std::chrono_literals;

// Five queries of one tick arrive within microseconds; a tenth of a second
// is far below the 5 s the monitor cares about.
constexpr auto kAnswerLifetime = 100ms;
// A session without a working source asks the desktop again this often.
constexpr double kRetrySeconds = 60.0;
// How long the start waits for the desktop's answers (each call has its
// own, shorter time-out); afterwards the chain goes on without waiting.
[[maybe_unused]] constexpr int kStartWaitMs = 3000;

std::string& problemText() {
    static std::string text;
    return text;
}

IdleSourceStatus& statusStore() {
    static IdleSourceStatus status;
    return status;
}

void say(const std::string& line) {
    std::fprintf(stderr, "tamsel: %s\n", line.c_str());
    std::fflush(stderr);
}

class FailedSource : public CombinedIdleSource {
public:
    FailedSource(std::string name, std::string whyNot) : name_(std::move(name)) {
        settle(State::Failed, std::move(whyNot));
    }
    std::optional<double> query() override { return std::nullopt; }
    std::string name() const override { return name_; }

private:
    std::string name_;
};

[[maybe_unused]] bool waylandSession() {
    const QString type = qEnvironmentVariable("XDG_SESSION_TYPE");
    if (type.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0) return true;
    if (type.compare(QLatin1String("x11"), Qt::CaseInsensitive) == 0) return false;
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : "; ") + part;
    return text;
}

}  // namespace

// ---- one source -----------------------------------------------------------------

double CombinedIdleSource::secondsSinceLastEvent(InputEvent) {
    const auto now = std::chrono::steady_clock::now();
    if (hasAnswer_ && now - queriedAt_ < kAnswerLifetime) return answer_;
    const std::optional<double> seconds = query();
    queriedAt_ = now;
    hasAnswer_ = true;
    if (seconds) {
        answer_ = std::max(0.0, *seconds);
        return answer_;
    }
    // A source that answered at start and stops now (the desktop's service
    // went away): active rather than away, as when nothing works at all.
    answer_ = 0.0;
    if (!failureReported_) {
        failureReported_ = true;
        say(name() +
            " stopped telling the idle time; counting you as active until it answers "
            "again.");
    }
    return answer_;
}

void CombinedIdleSource::settle(State state, std::string whyNot) {
    if (state == state_) return;
    state_ = state;
    whyNot_ = std::move(whyNot);
    if (changed_) changed_();
}

std::unique_ptr<CombinedIdleSource> failedIdleSource(std::string name, std::string whyNot) {
    return std::make_unique<FailedSource>(std::move(name), std::move(whyNot));
}

bool plausibleIdleSeconds(double seconds, Clock& clock) {
    return std::isfinite(seconds) && seconds >= 0 && seconds <= clock.uptime();
}

// ---- the chain ------------------------------------------------------------------

IdleChain::IdleChain(std::vector<IdleCandidate> order, Clock& clock)
    : order_(std::move(order)), clock_(clock), context_(std::make_unique<QObject>()) {}

IdleChain::~IdleChain() = default;

bool IdleChain::asking() const {
    return asking_;
}

void IdleChain::start() {
    current_.reset();
    next_ = 0;
    notUsed_.clear();
    asking_ = true;
    startedAt_ = clock_.uptime();
    tryNext();
}

void IdleChain::tryNext() {
    while (next_ < order_.size()) {
        const IdleCandidate& candidate = order_[next_++];
        current_ = candidate.make();
        if (!current_) current_ = failedIdleSource(candidate.name, "not available here");
        if (current_->state() == CombinedIdleSource::State::Failed) {
            notUsed_.push_back(candidate.name + ": " + current_->whyNot());
            current_.reset();
            continue;
        }
        // Queued: the source is never replaced inside its own call.
        current_->onStateChange(
            [this] { QTimer::singleShot(0, context_.get(), [this] { changed(); }); });
        if (current_->state() == CombinedIdleSource::State::Working) settleOn(true);
        return;
    }
    settleOn(false);
}

void IdleChain::changed() {
    if (!current_) return;
    const CombinedIdleSource::State state = current_->state();
    if (asking_) {
        if (state == CombinedIdleSource::State::Working) {
            settleOn(true);
        } else if (state == CombinedIdleSource::State::Failed) {
            notUsed_.push_back(order_[next_ - 1].name + ": " + current_->whyNot());
            current_.reset();
            tryNext();
        }
        return;
    }
    if (state != CombinedIdleSource::State::Failed) return;
    // The source in use stopped for good: said once, then tried again later.
    say(current_->name() + " stopped telling the idle time (" + current_->whyNot() +
        "); counting you as active, and asking the desktop again in a minute.");
    statusStore().inUse.clear();
    statusStore().notUsed = {current_->name() + ": " + current_->whyNot()};
    lastInUse_.clear();
    startedAt_ = clock_.uptime();
}

void IdleChain::settleOn(bool found) {
    asking_ = false;
    IdleSourceStatus status;
    status.notUsed = notUsed_;
    if (found) {
        status.inUse = current_->name();
        for (std::size_t i = next_; i < order_.size(); ++i)
            status.notUsed.push_back(order_[i].name + ": not needed, " + status.inUse + " answers");
        problemText().clear();
        if (status.inUse != lastInUse_) say("idle time from " + status.inUse);
        lastInUse_ = status.inUse;
        everFound_ = true;
    } else {
        current_.reset();
        // Said at the first try only; later tries fail quietly.
        if (!everFound_ && problemText().empty()) {
            problemText() =
                QCoreApplication::translate(
                    "Tamsel",
                    "Tamsel cannot tell when you are away from the keyboard: no idle service of "
                    "this desktop answered (%1). Until one does, it counts you as active, so a "
                    "break comes after every work period, even when you were away.")
                    .arg(QString::fromStdString(joined(notUsed_)))
                    .toStdString();
            say(problemText());
        }
    }
    statusStore() = status;
    if (settled_) settled_();
}

double IdleChain::secondsSinceLastEvent(InputEvent type) {
    auto working = [this] {
        return !asking_ && current_ && current_->state() == CombinedIdleSource::State::Working;
    };
    if (working()) return current_->secondsSinceLastEvent(type);
    if (!asking_ && (!startedAt_ || clock_.uptime() - *startedAt_ >= kRetrySeconds)) {
        start();
        if (working()) return current_->secondsSinceLastEvent(type);
    }
    return 0.0;
}

// ---- the factory ----------------------------------------------------------------

std::string idleProblem() {
    return problemText();
}

IdleSourceStatus idleSourceStatus() {
    return statusStore();
}

std::unique_ptr<IdleSource> makeIdleSource(Clock& clock) {
    problemText().clear();
    statusStore() = {};
#if defined(Q_OS_MACOS)
    (void)clock;
    statusStore().inUse = QT_TRANSLATE_NOOP("Tamsel", "the macOS event source");
    say("idle time from " + statusStore().inUse);
    return makeMacIdleSource();
#else
    std::vector<IdleCandidate> order;
    if (waylandSession()) {
        // XWayland's X server sees only input to X11 windows: a user typing
        // in any native window would look away, and never get a break.
        order.push_back(
            {QT_TRANSLATE_NOOP(
                 "Tamsel", "the Wayland idle protocols (ext-idle-notify-v1, org_kde_kwin_idle)"),
             [&clock] { return makeWaylandIdleSource(clock); }});
        order.push_back({"org.gnome.Mutter.IdleMonitor", [&clock] {
                             return makeMutterIdleSource(QDBusConnection::sessionBus(),
                                                         waylandCompositorPid(), clock);
                         }});
    } else {
#if defined(TAMSEL_HAVE_X11)
        order.push_back({QT_TRANSLATE_NOOP("Tamsel", "the X screen saver extension"),
                         [] { return makeX11IdleSource(); }});
#endif
    }
    order.push_back({"org.freedesktop.ScreenSaver", [&clock] {
                         return makeScreenSaverIdleSource(QDBusConnection::sessionBus(), clock);
                     }});
    auto chain = std::make_unique<IdleChain>(std::move(order), clock);
    chain->start();
    if (chain->asking()) {
        // Before the app's own loop runs: nothing of ours is there to disturb.
        QEventLoop loop;
        chain->onSettled([&loop] { loop.quit(); });
        QTimer::singleShot(kStartWaitMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        chain->onSettled(nullptr);
    }
    return chain;
#endif
}

}  // namespace tamsel::qt
