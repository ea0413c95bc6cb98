#pragma once

// How the indicator and the break windows reach the screen on this desktop.
// The views ask it when they are made; the setup check reports it.

#include <functional>
#include <string>

namespace tamsel::qt {

enum class OverlayRoute {
    // Qt's own windows: X11 (or XWayland) top-level windows.
    QtWindows,
    // Tamsel's own layer-shell surfaces (KDE, wlroots desktops).
    LayerShell,
    // Drawn by Tamsel's GNOME Shell extension over the session bus.
    GnomeExtension,
};

OverlayRoute overlayRoute();
// One line for people: the route and whether it is click-through and on top.
std::string describe(OverlayRoute route);
// Called whenever the route changes (the GNOME extension enabled or gone).
void onOverlayRouteChanged(std::function<void()> changed);
// Told by the watch on the GNOME Shell extension (shell_extension.h).
void setGnomeExtensionActive(bool active);
// For the services that change it: tells the observers.
void overlayRouteChanged();

}  // namespace tamsel::qt
