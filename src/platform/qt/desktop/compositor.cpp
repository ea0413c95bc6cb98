#include "platform/qt/desktop/compositor.h"

#include <QGuiApplication>
#include <string>

// Xlib after Qt: its macros (None, Bool, Status …) clash with Qt's names.
#ifdef TAMSEL_HAVE_X11
#include <X11/Xlib.h>
#endif

namespace tamsel::qt {

bool compositorActive() {
#ifdef TAMSEL_HAVE_X11
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display()) return true;
    Display* display = x11->display();
    // A compositing manager owns the selection _NET_WM_CM_S<screen>.
    static const Atom selection = [display] {
        const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(display));
        return XInternAtom(display, name.c_str(), False);
    }();
    return XGetSelectionOwner(display, selection) != None;
#else
    return true;
#endif
}

}  // namespace tamsel::qt
