#pragma once

// "Check my desktop…": what of this desktop works for Tamsel, each with ✓ or
// ✗ and, for ✗, the one thing to install or enable. The rows are worked out
// from a few facts by a plain function; the window only shows them.

#include <optional>
#include <string>
#include <vector>

#include <QtGlobal>

#include "common/platform.h"
#include "platform/qt/views/overlay_route.h"

class QWidget;

namespace tamsel::qt {

inline constexpr const char* kSetupCheckTitle = QT_TRANSLATE_NOOP("Tamsel", "Tamsel: setup check");

struct DesktopFacts {
    enum class Session { X11, Wayland, MacOS };
    enum class Tray { None, StatusNotifier, XEmbed };

    Session session = Session::X11;
    std::string desktop;    // $XDG_CURRENT_DESKTOP, e.g. "GNOME", "KDE", "sway"
    std::string idleInUse;  // idleSourceStatus().inUse; empty: none answers
    Tray tray = Tray::None;
    OverlayRoute route = OverlayRoute::QtWindows;
    bool notifications = false;         // a notification server is or can be started
    std::optional<bool> startsAtLogin;  // empty where the platform cannot say
};

struct CheckRow {
    bool ok = false;
    std::string text;  // "Idle time: from …"
    std::string fix;   // for ✗ only: the one line that mends it
};

std::vector<CheckRow> setupCheckRows(const DesktopFacts& facts);

// Asks the desktop now (the session bus with short time-outs, the tray).
DesktopFacts currentDesktopFacts(LoginItems* loginItems);

// The window, or the open one brought to the front and checked again;
// `facts` stand in for the desktop's (tests).
QWidget* showSetupCheck(const DesktopFacts* facts = nullptr);

// The menu's "Check my desktop…"; also reached from the notices.
class QtSetupCheck : public SetupCheck {
public:
    // Start at login is asked of `loginItems` (may be null).
    explicit QtSetupCheck(LoginItems* loginItems);
    ~QtSetupCheck() override;
    void show() override { showSetupCheck(); }
};

}  // namespace tamsel::qt
