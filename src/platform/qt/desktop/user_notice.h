#pragma once

#include <QString>

class QSystemTrayIcon;

namespace tamsel::qt {

// Tells the user something they must know but need not answer, once per
// text and launch, without holding anything up: on the tray icon while one
// shows, else in a small window titled "Tamsel". With a tray but no icon
// yet, it waits for the icon.
void tellUser(const QString& text);

// The icon that carries such messages, once it shows in the tray.
void setNoticeIcon(QSystemTrayIcon* icon);

}  // namespace tamsel::qt
