#include "platform/qt/views/overlay_route.h"

#include <vector>

#include "platform/qt/views/overlay_presenter.h"

namespace tamsel::qt {

namespace {
std::vector<std::function<void()>>& observers() {
    static std::vector<std::function<void()>> list;
    return list;
}
bool gnomeExtension = false;
}  // namespace

OverlayRoute overlayRoute() {
    if (gnomeExtension) return OverlayRoute::GnomeExtension;
    // Installed while Tamsel's own Wayland connection offers layer-shell.
    if (overlayPresentersOffered()) return OverlayRoute::LayerShell;
    return OverlayRoute::QtWindows;
}

std::string describe(OverlayRoute route) {
    switch (route) {
        case OverlayRoute::QtWindows: return "X11 windows";
        case OverlayRoute::LayerShell: return "layer-shell surfaces";
        case OverlayRoute::GnomeExtension: return "the GNOME Shell extension";
    }
    return {};
}

void onOverlayRouteChanged(std::function<void()> changed) {
    if (changed) observers().push_back(std::move(changed));
}

void setGnomeExtensionActive(bool active) {
    if (active == gnomeExtension) return;
    gnomeExtension = active;
    overlayRouteChanged();
}

void overlayRouteChanged() {
    // A copy: an observer may add another.
    const auto list = observers();
    for (const auto& observer : list) observer();
}

}  // namespace tamsel::qt
