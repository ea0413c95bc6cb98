// Picks the idle source of this desktop. Every choice that depends on the
// operating system is made here; the sources themselves live in idle_*.cpp.

#include "platform/qt/idle/idle_source.h"

#include <QDBusConnection>
#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace tamsel::qt {

namespace {

using namespace std::chrono_literals;

// Five queries of one tick arrive within microseconds; a tenth of a second
// is far below the 5 s the monitor cares about.
constexpr auto kAnswerLifetime = 100ms;

std::string& problemText() {
    static std::string text;
    return text;
}

// Used when nothing answers: the user counts as active, so a break still
// comes after each work period instead of never.
class AlwaysActive : public IdleSource {
public:
    double secondsSinceLastEvent(InputEvent) override { return 0.0; }
};

[[maybe_unused]] bool waylandSession() {
    const QString type = qEnvironmentVariable("XDG_SESSION_TYPE");
    if (type.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0) return true;
    if (type.compare(QLatin1String("x11"), Qt::CaseInsensitive) == 0) return false;
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void reportProblem(const std::string& why) {
    problemText() = "Tamsel cannot tell when you are away from the keyboard: " + why +
                    ". It counts you as active all the time, so a break comes after every "
                    "work period, even when you were away.";
    std::fprintf(stderr, "tamsel: %s\n", problemText().c_str());
    std::fflush(stderr);
}

}  // namespace

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
        std::fprintf(stderr,
                     "tamsel: %s stopped telling the idle time; counting you as active "
                     "until it answers again.\n",
                     name().c_str());
        std::fflush(stderr);
    }
    return answer_;
}

std::string idleProblem() {
    return problemText();
}

std::unique_ptr<IdleSource> makeIdleSource() {
    problemText().clear();
#if defined(Q_OS_MACOS)
    if (auto source = makeMacIdleSource()) return source;
    reportProblem("the system did not report the time since the last input");
#else
    std::vector<std::function<std::unique_ptr<CombinedIdleSource>()> > order;
    const bool wayland = waylandSession();
#if defined(TAMSEL_HAVE_X11)
    // Under XWayland the X server sees only input to X11 windows: a user
    // typing in any native window would look away, and never get a break.
    if (!wayland) order.emplace_back(makeX11IdleSource);
#endif
    order.push_back([] { return makeMutterIdleSource(QDBusConnection::sessionBus()); });
    order.push_back([] { return makeScreenSaverIdleSource(QDBusConnection::sessionBus()); });
    for (const auto& make : order)
        if (auto source = make()) return source;
    reportProblem(wayland ? "this Wayland desktop offers no idle time over D-Bus (neither GNOME's "
                            "Mutter idle monitor nor org.freedesktop.ScreenSaver answered)"
                          : "neither the X server's screen saver extension nor the desktop's "
                            "D-Bus idle services answered");
#endif
    return std::make_unique<AlwaysActive>();
}

}  // namespace tamsel::qt
