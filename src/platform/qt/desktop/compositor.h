#pragma once

namespace tamsel::qt {

// Whether a compositing manager blends translucent windows with what lies
// beneath them. Without one, X11 shows a translucent window's transparent
// pixels as black. Asks the X server each time (one round trip); platforms
// other than X11 always composite.
bool compositorActive();

}  // namespace tamsel::qt
