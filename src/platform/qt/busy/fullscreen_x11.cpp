// A program full screen on X11: the window manager's active window
// (_NET_ACTIVE_WINDOW on the root window) in _NET_WM_STATE_FULLSCREEN, the
// state in which it covers its screen. Both are followed through property
// change events on Qt's own X connection: nothing is asked while nothing
// changes. Tamsel's own windows never count.

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/qt/busy/busy_sources.h"

namespace tamsel::qt {

namespace {

constexpr std::uint8_t kEventType = 0x7f;  // without the "sent" bit

class X11FullScreen : public QtBusySource, public QAbstractNativeEventFilter {
public:
    X11FullScreen(xcb_connection_t* connection, xcb_window_t root)
        : QtBusySource("full screen"), c_(connection), root_(root) {}
    ~X11FullScreen() override { stop(); }

    void start() override {
        activeAtom_ = atom("_NET_ACTIVE_WINDOW");
        stateAtom_ = atom("_NET_WM_STATE");
        fullAtom_ = atom("_NET_WM_STATE_FULLSCREEN");
        // Added to what Qt selects on the root window, never in its place.
        const std::uint32_t mask = eventMask(root_) | XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
        QCoreApplication::instance()->installNativeEventFilter(this);
        readActive();
    }

    void stop() override {
        if (QCoreApplication* app = QCoreApplication::instance())
            app->removeNativeEventFilter(this);
        follow(XCB_NONE);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & kEventType) != XCB_PROPERTY_NOTIFY) return false;
        const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
        if (change->window == root_ && change->atom == activeAtom_)
            readActive();
        else if (change->window == active_ && active_ != XCB_NONE && change->atom == stateAtom_)
            readState();
        return false;  // Qt sees every event as before
    }

private:
    xcb_atom_t atom(const char* name) {
        const auto cookie =
            xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c_, cookie, nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return atom;
    }

    std::uint32_t eventMask(xcb_window_t window) {
        const auto cookie = xcb_get_window_attributes(c_, window);
        xcb_get_window_attributes_reply_t* reply =
            xcb_get_window_attributes_reply(c_, cookie, nullptr);
        const std::uint32_t mask = reply ? reply->your_event_mask : 0;
        std::free(reply);
        return mask;
    }

    // The property's 32-bit values, at most `count`; empty when it is absent
    // or its window is gone.
    std::vector<std::uint32_t> property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type,
                                        std::uint32_t count) {
        const auto cookie = xcb_get_property(c_, 0, window, name, type, 0, count);
        xcb_get_property_reply_t* reply = xcb_get_property_reply(c_, cookie, nullptr);
        std::vector<std::uint32_t> values;
        if (reply && reply->format == 32) {
            const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
            values.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        const bool absent = !reply || reply->type == XCB_ATOM_NONE;
        std::free(reply);
        if (absent && window == root_) values.push_back(kAbsent);
        return values;
    }

    static bool ours(xcb_window_t window) {
        for (const QWindow* w : QGuiApplication::allWindows())
            if (w->handle() && w->winId() == window) return true;
        return false;
    }

    // Property changes of this window only; a window of ours keeps Qt's mask.
    void follow(xcb_window_t window) {
        if (active_ != XCB_NONE && !ours(active_)) select(active_, 0);
        active_ = window;
        if (active_ != XCB_NONE && !ours(active_)) select(active_, XCB_EVENT_MASK_PROPERTY_CHANGE);
    }

    // On a window that may be gone already: its error is dropped here, not
    // reported by Qt.
    void select(xcb_window_t window, std::uint32_t mask) {
        const auto cookie =
            xcb_change_window_attributes_checked(c_, window, XCB_CW_EVENT_MASK, &mask);
        xcb_discard_reply(c_, cookie.sequence);
    }

    void readActive() {
        const std::vector<std::uint32_t> values = property(root_, activeAtom_, XCB_ATOM_WINDOW, 1);
        if (!values.empty() && values.front() == kAbsent) {
            follow(XCB_NONE);
            cannot("no window manager tells which window is active");
            return;
        }
        const xcb_window_t window = values.empty() ? XCB_NONE : values.front();
        if (window != active_) follow(window);
        readState();
    }

    void readState() {
        bool full = false;
        if (active_ != XCB_NONE && !ours(active_))
            for (std::uint32_t value : property(active_, stateAtom_, XCB_ATOM_ATOM, 64))
                full |= value == fullAtom_;
        tell(full ? Busy::Yes : Busy::No);
    }

    static constexpr std::uint32_t kAbsent = 0xffffffff;
    xcb_connection_t* c_;
    xcb_window_t root_;
    xcb_atom_t activeAtom_ = XCB_ATOM_NONE;
    xcb_atom_t stateAtom_ = XCB_ATOM_NONE;
    xcb_atom_t fullAtom_ = XCB_ATOM_NONE;
    xcb_window_t active_ = XCB_NONE;
};

}  // namespace

std::unique_ptr<QtBusySource> makeX11FullScreen() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return makeBlindSource("full screen", "Tamsel does not run on an X display");
    // The first X screen: the one every desktop of ours runs on.
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    return std::make_unique<X11FullScreen>(connection, screen->root);
}

}  // namespace tamsel::qt
