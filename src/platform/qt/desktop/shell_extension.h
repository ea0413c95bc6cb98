#pragma once

// Tamsel's GNOME Shell extension draws the indicator and the menu where Qt's
// windows cannot (GNOME has no tray and no layer-shell, and XWayland lets no
// X11 window be click-through over native ones). It tells Tamsel it is there
// by owning a name on the session bus; only the compositor's own process
// counts, or any program of the user could hide the indicator.

#include <sys/types.h>

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <memory>

namespace tamsel::qt {

inline constexpr const char* kShellExtensionUuid = "tamsel@tamsel.org";
inline constexpr const char* kShellExtensionService = "org.tamsel.Tamsel.Shell";
// What the user runs to turn it on.
inline constexpr const char* kShellExtensionEnable = "gnome-extensions enable tamsel@tamsel.org";

// Whether the session looks like GNOME Shell's ($XDG_CURRENT_DESKTOP).
bool gnomeDesktop();

// Watches the name (no polling) and sets the overlay route to the extension
// while the compositor owns it. Every call is asynchronous with a time-out.
class ShellExtensionWatch : public QObject {
public:
    // `compositorPid` 0: no Wayland compositor to check against; the
    // extension is then never trusted.
    ShellExtensionWatch(QDBusConnection bus, pid_t compositorPid);
    ~ShellExtensionWatch() override;

    // Runs the event loop until the first verdict, at most `ms`: before any
    // window shows, so the indicator does not flash up and go.
    void settle(int ms);
    bool active() const { return active_; }

private:
    void check(const QString& owner);
    void setActive(bool active);

    QDBusConnection bus_;
    pid_t compositorPid_;
    unsigned generation_ = 0;  // answers to an older owner's question are dropped
    bool settled_ = false;
    bool active_ = false;
    pid_t refusedPid_ = 0;
};

}  // namespace tamsel::qt
