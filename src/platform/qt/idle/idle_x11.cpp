// Idle time from the X server's MIT-SCREEN-SAVER extension.

#include <QGuiApplication>

#include "platform/qt/idle/idle_source.h"

// Xlib's macros (Bool, Status, None …) clash with Qt: included last.
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace tamsel::qt {

namespace {

class X11IdleSource : public CombinedIdleSource {
public:
    explicit X11IdleSource(Display* display) : display_(display), info_(XScreenSaverAllocInfo()) {}
    ~X11IdleSource() override {
        if (info_) XFree(info_);
    }
    X11IdleSource(const X11IdleSource&) = delete;
    X11IdleSource& operator=(const X11IdleSource&) = delete;

    std::optional<double> query() override {
        if (!info_ || !XScreenSaverQueryInfo(display_, DefaultRootWindow(display_), info_))
            return std::nullopt;
        return static_cast<double>(info_->idle) / 1000.0;
    }
    std::string name() const override {
        return QT_TRANSLATE_NOOP("Tamsel", "the X screen saver extension");
    }

private:
    Display* display_;
    XScreenSaverInfo* info_;
};

}  // namespace

std::unique_ptr<CombinedIdleSource> makeX11IdleSource() {
    const std::string name = QT_TRANSLATE_NOOP("Tamsel", "the X screen saver extension");
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return failedIdleSource(name, "Tamsel does not run on an X display");
    int eventBase = 0, errorBase = 0;
    if (!XScreenSaverQueryExtension(display, &eventBase, &errorBase))
        return failedIdleSource(name, "the X server does not offer MIT-SCREEN-SAVER");
    auto source = std::make_unique<X11IdleSource>(display);
    if (!source->query()) return failedIdleSource(name, "the X server did not answer");
    return source;
}

}  // namespace tamsel::qt
