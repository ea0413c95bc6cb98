#include "platform/qt/wayland/wayland_connection.h"

#include <poll.h>
#include <sys/socket.h>
#include <wayland-client.h>

#include <QSocketNotifier>
#include <QtGlobal>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace tamsel::qt {

namespace {

std::string errorText(int error) {
    return error ? std::strerror(error) : std::string("unknown error");
}

}  // namespace

std::unique_ptr<WaylandConnection> WaylandConnection::open(std::string* why) {
    // libwayland would fall back to "wayland-0": only a session that names
    // its display has one.
    const QByteArray name = qgetenv("WAYLAND_DISPLAY");
    if (name.isEmpty() && !qEnvironmentVariableIsSet("WAYLAND_SOCKET")) {
        if (why) *why = "no Wayland display (WAYLAND_DISPLAY is not set)";
        return nullptr;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        if (why)
            *why = "cannot connect to the Wayland display \"" + name.toStdString() +
                   "\": " + errorText(errno);
        return nullptr;
    }
    return std::unique_ptr<WaylandConnection>(new WaylandConnection(display));
}

std::shared_ptr<WaylandConnection> WaylandConnection::shared(std::string* why) {
    static std::weak_ptr<WaylandConnection> current;
    std::shared_ptr<WaylandConnection> connection = current.lock();
    if (connection && !connection->isLost()) return connection;
    connection = open(why);
    current = connection;
    return connection;
}

WaylandConnection::WaylandConnection(wl_display* display) : display_(display) {
    static const wl_registry_listener listener = {&WaylandConnection::globalAdded,
                                                  &WaylandConnection::globalRemoved};
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &listener, this);
    const int fd = wl_display_get_fd(display_);
    readNotifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(readNotifier_.get(), &QSocketNotifier::activated, [this] { readable(); });
    // Only while the socket is full: armed by flush(), then disarmed.
    writeNotifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    writeNotifier_->setEnabled(false);
    QObject::connect(writeNotifier_.get(), &QSocketNotifier::activated, [this] {
        writeNotifier_->setEnabled(false);
        flush();
    });
    flush();
}

WaylandConnection::~WaylandConnection() {
    readNotifier_.reset();
    writeNotifier_.reset();
    for (auto& pending : syncs_) wl_callback_destroy(pending.first);
    if (registry_) wl_registry_destroy(registry_);
    wl_display_disconnect(display_);
}

int WaylandConnection::onGlobal(std::function<void(const Global&, bool)> changed) {
    globalHandlers_.emplace_back(++lastHandler_, std::move(changed));
    return lastHandler_;
}

void WaylandConnection::forget(int handler) {
    globalHandlers_.remove_if([handler](const auto& h) { return h.first == handler; });
    lostHandlers_.remove_if([handler](const auto& h) { return h.first == handler; });
}

void* WaylandConnection::bind(const wl_interface* interface, std::uint32_t maxVersion,
                              std::uint32_t* boundVersion) {
    for (const Global& g : globals_) {
        if (g.interface != interface->name) continue;
        const std::uint32_t version = std::min(g.version, maxVersion);
        if (boundVersion) *boundVersion = version;
        return wl_registry_bind(registry_, g.name, interface, version);
    }
    return nullptr;
}

void WaylandConnection::sync(std::function<void()> done) {
    if (lost_) return;
    static const wl_callback_listener listener = {&WaylandConnection::syncDone};
    wl_callback* callback = wl_display_sync(display_);
    syncs_.emplace_back(callback, std::move(done));
    wl_callback_add_listener(callback, &listener, this);
    flush();
}

void WaylandConnection::syncDone(void* data, wl_callback* callback, std::uint32_t) {
    auto* self = static_cast<WaylandConnection*>(data);
    auto it = std::find_if(self->syncs_.begin(), self->syncs_.end(),
                           [callback](const auto& pending) { return pending.first == callback; });
    if (it == self->syncs_.end()) return;
    std::function<void()> done = std::move(it->second);
    self->syncs_.erase(it);
    wl_callback_destroy(callback);
    done();
}

void WaylandConnection::flush() {
    if (lost_) return;
    if (wl_display_flush(display_) >= 0) return;
    // A full socket takes the rest once it drains; anything else is fatal.
    if (errno == EAGAIN)
        writeNotifier_->setEnabled(true);
    else
        fail("sending failed: " + errorText(errno));
}

bool WaylandConnection::roundtrip(int timeoutMs) {
    if (lost_) return false;
    // Shared: an answer that comes after the time-out still finds it.
    auto answered = std::make_shared<bool>(false);
    sync([answered] { *answered = true; });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!*answered && !lost_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{wl_display_get_fd(display_), POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0) readable();
    }
    return *answered;
}

void WaylandConnection::readable() {
    if (lost_) return;
    auto broken = [this] {
        const int error = wl_display_get_error(display_);
        fail(error == EPROTO ? "a protocol error" : errorText(error));
    };
    // Events another reader queued go first; then this reader may read.
    while (wl_display_prepare_read(display_) != 0)
        if (wl_display_dispatch_pending(display_) < 0) return broken();
    // The notifier said the socket is readable (or hung up): this does not block.
    if (wl_display_read_events(display_) < 0 || wl_display_dispatch_pending(display_) < 0)
        return broken();
    flush();
}

void WaylandConnection::fail(const std::string& why) {
    if (lost_) return;
    lost_ = true;
    // A dead socket stays readable: stop listening, or the loop spins on it.
    readNotifier_->setEnabled(false);
    writeNotifier_->setEnabled(false);
    // A copy: a handler may forget itself or another.
    const auto handlers = lostHandlers_;
    for (const auto& handler : handlers) handler.second(why);
}

pid_t WaylandConnection::compositorPid() const {
#if defined(SO_PEERCRED)
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(wl_display_get_fd(display_), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0)
        return peer.pid;
#endif
    return 0;
}

int WaylandConnection::onLost(std::function<void(const std::string&)> lost) {
    lostHandlers_.emplace_back(++lastHandler_, std::move(lost));
    return lastHandler_;
}

void WaylandConnection::globalAdded(void* data, wl_registry*, std::uint32_t name,
                                    const char* interface, std::uint32_t version) {
    auto* self = static_cast<WaylandConnection*>(data);
    self->globals_.push_back({name, interface, version});
    const Global added = self->globals_.back();
    const auto handlers = self->globalHandlers_;
    for (const auto& handler : handlers) handler.second(added, true);
}

void WaylandConnection::globalRemoved(void* data, wl_registry*, std::uint32_t name) {
    auto* self = static_cast<WaylandConnection*>(data);
    auto it = std::find_if(self->globals_.begin(), self->globals_.end(),
                           [name](const Global& g) { return g.name == name; });
    if (it == self->globals_.end()) return;
    const Global gone = *it;
    self->globals_.erase(it);
    const auto handlers = self->globalHandlers_;
    for (const auto& handler : handlers) handler.second(gone, false);
}

}  // namespace tamsel::qt
