#pragma once

// A Wayland connection of our own to the compositor of $WAYLAND_DISPLAY,
// read on the Qt event loop, whatever platform Qt itself runs on (xcb on
// XWayland, or wayland). Services build on it: the idle protocols, surfaces.
// Everything runs on the main thread. Event handlers (listeners, sync and
// lost callbacks) must not destroy the connection: defer that to the loop.

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;
struct wl_callback;
struct wl_display;
struct wl_interface;
struct wl_registry;

namespace tamsel::qt {

class WaylandConnection {
public:
    struct Global {
        std::uint32_t name = 0;
        std::string interface;
        std::uint32_t version = 0;
    };

    // Connects without waiting for the compositor. Null, with the reason in
    // `why`, when there is no Wayland display to connect to.
    static std::unique_ptr<WaylandConnection> open(std::string* why);
    // The one connection the process's services share: opened on first use
    // (or again after the last one was lost), closed with its last user.
    static std::shared_ptr<WaylandConnection> shared(std::string* why);
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    wl_display* display() const { return display_; }
    wl_registry* registry() const { return registry_; }
    // The compositor's globals as far as its events have arrived: complete
    // once the first sync() is done.
    const std::vector<Global>& globals() const { return globals_; }
    // Called for every global that comes (true) or goes (false) later. Each
    // handler is kept until forget() is called with the number it returned.
    int onGlobal(std::function<void(const Global&, bool added)> changed);
    // Binds the first global of this interface at the lower of its version
    // and `maxVersion`; null when the compositor offers none.
    void* bind(const wl_interface* interface, std::uint32_t maxVersion,
               std::uint32_t* boundVersion = nullptr);

    // `done` runs on the event loop once the compositor has handled every
    // request sent before; never after the connection is lost or gone.
    void sync(std::function<void()> done);
    // Sends the requests made outside an event handler (handlers' requests
    // are sent when they return).
    void flush();
    // Handles the compositor's events until every request sent before has
    // been answered, for at most `timeoutMs`; false when the time ran out or
    // the connection broke. Only where an answer is needed before going on.
    bool roundtrip(int timeoutMs);

    // The compositor's process, from the socket's peer credentials; 0 when
    // the system does not tell.
    pid_t compositorPid() const;

    // Called once, when the compositor hangs up or breaks the protocol. The
    // connection then stays silent: nothing is read or sent any more.
    int onLost(std::function<void(const std::string& why)> lost);
    bool isLost() const { return lost_; }
    // Drops a handler given to onGlobal or onLost.
    void forget(int handler);

private:
    explicit WaylandConnection(wl_display* display);
    void readable();
    void fail(const std::string& why);
    static void syncDone(void* data, wl_callback* callback, std::uint32_t);
    static void globalAdded(void* data, wl_registry*, std::uint32_t name, const char* interface,
                            std::uint32_t version);
    static void globalRemoved(void* data, wl_registry*, std::uint32_t name);

    wl_display* display_;
    wl_registry* registry_ = nullptr;
    std::vector<Global> globals_;
    std::list<std::pair<wl_callback*, std::function<void()>>> syncs_;
    std::unique_ptr<QSocketNotifier> readNotifier_, writeNotifier_;
    std::list<std::pair<int, std::function<void(const Global&, bool)>>> globalHandlers_;
    std::list<std::pair<int, std::function<void(const std::string&)>>> lostHandlers_;
    int lastHandler_ = 0;
    bool lost_ = false;
};

}  // namespace tamsel::qt
