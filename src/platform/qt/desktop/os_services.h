#pragma once

// The desktop services whose make-up depends on the operating system. Every
// choice of one is made in os_services.cpp; a service a system lacks is
// null, and the controllers do without it.

#include <QObject>
#include <QtGlobal>
#include <memory>
#include <optional>

#include "common/platform.h"

namespace tamsel::qt {

class ShellExtensionWatch;

std::unique_ptr<Notifier> makeNotifier();
std::unique_ptr<Sounds> makeSounds();
std::unique_ptr<LoginItems> makeLoginItems();
// The watch on Tamsel's GNOME Shell extension, where one can run.
std::unique_ptr<ShellExtensionWatch> makeShellExtensionWatch();
// What shows the indicator and the break windows other than Qt's own
// windows: layer-shell surfaces where the compositor offers them. Null
// where nothing does; while it lives, the overlay route follows it.
std::unique_ptr<QObject> startOverlaySurfaces();
// What a due break waits for: a call (camera, microphone), a full-screen
// program, do-not-disturb. `clock` must outlive the microphone's source.
std::unique_ptr<BusySource> makeCameraSource();
std::unique_ptr<BusySource> makeMicrophoneSource(Clock& clock);
std::unique_ptr<BusySource> makeFullScreenSource();
std::unique_ptr<BusySource> makeDoNotDisturbSource();

// The user id of the process at the other end of a connected local socket;
// empty when the system cannot tell.
std::optional<unsigned> peerUserId(qintptr socketDescriptor);

// The implementations the factory picks from, each built only where it works.
std::unique_ptr<Sounds> makeCanberraSounds();     // Linux
std::unique_ptr<LoginItems> makeMacLoginItems();  // macOS

}  // namespace tamsel::qt
