// Idle time from the compositor's own Wayland protocols, on a connection of
// our own: ext-idle-notify-v1 (KDE 5.27, wlroots 0.16 and later), else
// org_kde_kwin_idle (older KDE, sway 1.7). Both only notify "idle for T"
// and "active again"; IdleTimeline turns that into seconds. Nothing is
// polled: the socket wakes us only when the compositor sends something.

#include <wayland-client.h>
#include <QtGlobal>

#include "ext-idle-notify-v1-client-protocol.h"
#include "kde-idle-client-protocol.h"
#include "platform/qt/idle/idle_source.h"
#include "platform/qt/idle/idle_timeline.h"
#include "platform/qt/wayland/wayland_connection.h"

namespace tamsel::qt {

namespace {

// The tick counts a type active below 5 s since the last input: notified at
// exactly 5 s, the answer is exact up to the compositor's delivery time.
constexpr std::uint32_t kTimeoutMs = 5000;

class WaylandIdleSource : public CombinedIdleSource {
public:
    explicit WaylandIdleSource(Clock& clock)
        : timeline_([&clock] { return clock.uptime(); }, kTimeoutMs / 1000.0) {
        std::string why;
        connection_ = WaylandConnection::shared(&why);
        if (!connection_) {
            settle(State::Failed, why);
            return;
        }
        settle(State::Asking);
        lostHandler_ = connection_->onLost([this](const std::string& lost) {
            settle(State::Failed, "the connection to the compositor broke: " + lost);
        });
        // The shared connection may outlive this source.
        connection_->sync([this, alive = std::weak_ptr<int>(alive_)] {
            if (alive.lock()) choose();
        });
    }

    ~WaylandIdleSource() override {
        if (extNotification_) ext_idle_notification_v1_destroy(extNotification_);
        if (extNotifier_) ext_idle_notifier_v1_destroy(extNotifier_);
        if (kdeTimeout_) org_kde_kwin_idle_timeout_release(kdeTimeout_);
        if (kdeIdle_) org_kde_kwin_idle_destroy(kdeIdle_);
        if (seat_) wl_seat_destroy(seat_);
        if (connection_) {
            connection_->forget(lostHandler_);
            connection_->flush();
        }
    }
    WaylandIdleSource(const WaylandIdleSource&) = delete;
    WaylandIdleSource& operator=(const WaylandIdleSource&) = delete;

    std::optional<double> query() override {
        if (state() != State::Working) return std::nullopt;
        return timeline_.secondsSinceInput();
    }
    std::string name() const override { return name_; }

private:
    // The globals are all known now.
    void choose() {
        seat_ = static_cast<wl_seat*>(connection_->bind(&wl_seat_interface, 1));
        std::uint32_t version = 0;
        extNotifier_ = static_cast<ext_idle_notifier_v1*>(connection_->bind(
            &ext_idle_notifier_v1_interface, ext_idle_notifier_v1_interface.version, &version));
        if (!extNotifier_)
            kdeIdle_ =
                static_cast<org_kde_kwin_idle*>(connection_->bind(&org_kde_kwin_idle_interface, 1));
        if (!seat_ || (!extNotifier_ && !kdeIdle_)) {
            settle(State::Failed, seat_ ? "the compositor offers neither protocol"
                                        : "the compositor offers no seat");
            return;
        }
        static const ext_idle_notification_v1_listener extListener = {
            [](void* self, ext_idle_notification_v1*) { idled(self); },
            [](void* self, ext_idle_notification_v1*) { resumed(self); }};
        static const org_kde_kwin_idle_timeout_listener kdeListener = {
            [](void* self, org_kde_kwin_idle_timeout*) { idled(self); },
            [](void* self, org_kde_kwin_idle_timeout*) { resumed(self); }};
        if (extNotifier_) {
            name_ = "ext-idle-notify-v1";
#ifdef EXT_IDLE_NOTIFIER_V1_GET_INPUT_IDLE_NOTIFICATION_SINCE_VERSION
            // Input only: a video player's idle inhibitor must not count as work.
            if (version >= EXT_IDLE_NOTIFIER_V1_GET_INPUT_IDLE_NOTIFICATION_SINCE_VERSION)
                extNotification_ = ext_idle_notifier_v1_get_input_idle_notification(
                    extNotifier_, kTimeoutMs, seat_);
#endif
            if (!extNotification_)
                extNotification_ =
                    ext_idle_notifier_v1_get_idle_notification(extNotifier_, kTimeoutMs, seat_);
            ext_idle_notification_v1_add_listener(extNotification_, &extListener, this);
        } else {
            name_ = "org_kde_kwin_idle";
            kdeTimeout_ = org_kde_kwin_idle_get_idle_timeout(kdeIdle_, seat_, kTimeoutMs);
            org_kde_kwin_idle_timeout_add_listener(kdeTimeout_, &kdeListener, this);
        }
        connection_->flush();
        settle(State::Working);
    }

    static void idled(void* self) {
        static_cast<WaylandIdleSource*>(self)->timeline_.idled();
    }
    static void resumed(void* self) {
        static_cast<WaylandIdleSource*>(self)->timeline_.resumed();
    }

    IdleTimeline timeline_;
    std::string name_ = QT_TRANSLATE_NOOP("Tamsel", "the Wayland idle protocols");
    std::shared_ptr<WaylandConnection> connection_;
    int lostHandler_ = 0;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    wl_seat* seat_ = nullptr;
    ext_idle_notifier_v1* extNotifier_ = nullptr;
    ext_idle_notification_v1* extNotification_ = nullptr;
    org_kde_kwin_idle* kdeIdle_ = nullptr;
    org_kde_kwin_idle_timeout* kdeTimeout_ = nullptr;
};

}  // namespace

std::unique_ptr<CombinedIdleSource> makeWaylandIdleSource(Clock& clock) {
    return std::make_unique<WaylandIdleSource>(clock);
}

pid_t waylandCompositorPid() {
    auto connection = WaylandConnection::shared(nullptr);
    return connection ? connection->compositorPid() : 0;
}

}  // namespace tamsel::qt
