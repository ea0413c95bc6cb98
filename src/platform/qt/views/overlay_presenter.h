#pragma once

// The indicator and the break windows can be shown by something other than a
// Qt top-level window: on KDE and wlroots desktops, by layer-shell surfaces
// of Tamsel's own. The QtWindow keeps its view, outlets and handlers; a
// presenter only puts the view on the screen and hands it the user's input.

#include <QMargins>
#include <QRect>
#include <QSize>
#include <functional>
#include <memory>

namespace tamsel::qt {

class ViewWidget;

enum class OverlayKind {
    Indicator,  // a corner, click-through, never takes the keyboard
    Break,      // a whole output, holds the keyboard while it is shown
};

class OverlayPresenter {
public:
    virtual ~OverlayPresenter() = default;
    // The window's frame in Qt's global coordinates (top left, y down).
    virtual void place(const QRect& frame) = 0;
    virtual void show() = 0;
    virtual bool isShown() const = 0;
};

using OverlayPresenterFactory =
    std::function<std::unique_ptr<OverlayPresenter>(ViewWidget& view, OverlayKind kind)>;

// Installed by the service that can present overlays, removed (empty) when
// it no longer can; either way the overlay route's observers hear of it.
void setOverlayPresenters(OverlayPresenterFactory make);
bool overlayPresentersOffered();
// Null when no service presents overlays now.
std::unique_ptr<OverlayPresenter> makeOverlayPresenter(ViewWidget& view, OverlayKind kind);

// A presenter that shows a break holds the keyboard itself: activating a
// Qt window of the application then would only take it away.
void holdKeyboard(const OverlayPresenter* holder, bool holds);
bool overlayHoldsKeyboard();

// Where a corner window goes on a surface anchored to its output's edges:
// on each axis anchored to the nearer edge of `area` (the output's part
// that panels leave free), at the frame's distance from it; on neither edge
// when the frame lies in the middle, so the compositor centres it.
struct EdgePlacement {
    Qt::Edges anchors;
    QMargins margins;  // from the anchored edges only
    QSize size;
    bool operator==(const EdgePlacement&) const = default;
};
EdgePlacement cornerPlacement(const QRect& frame, const QRect& area);

}  // namespace tamsel::qt
