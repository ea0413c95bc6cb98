#pragma once

// Tamsel's own artwork, drawn in code so it stays crisp at every size: a
// white cup on a rounded teal square with a darker rim, which reads on light
// and on dark panels alike.

#include <QIcon>
#include <QImage>

namespace tamsel::qt {

// The icon at any size the tray, a window or a theme asks for.
QIcon tamselIcon();

// One square image of px × px pixels (at least 8), transparent around the
// rounded square.
QImage renderIcon(int px);

}  // namespace tamsel::qt
