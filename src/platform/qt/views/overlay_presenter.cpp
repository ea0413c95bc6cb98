#include "platform/qt/views/overlay_presenter.h"

#include <algorithm>
#include <cstdlib>
#include <set>

#include "platform/qt/views/overlay_route.h"

namespace tamsel::qt {

namespace {
OverlayPresenterFactory& factory() {
    static OverlayPresenterFactory make;
    return make;
}
}  // namespace

void setOverlayPresenters(OverlayPresenterFactory make) {
    const bool before = overlayPresentersOffered();
    factory() = std::move(make);
    if (before != overlayPresentersOffered()) overlayRouteChanged();
}

bool overlayPresentersOffered() {
    return static_cast<bool>(factory());
}

std::unique_ptr<OverlayPresenter> makeOverlayPresenter(ViewWidget& view, OverlayKind kind) {
    return factory() ? factory()(view, kind) : nullptr;
}

namespace {
std::set<const OverlayPresenter*>& holders() {
    static std::set<const OverlayPresenter*> set;
    return set;
}
}  // namespace

void holdKeyboard(const OverlayPresenter* holder, bool holds) {
    if (holds)
        holders().insert(holder);
    else
        holders().erase(holder);
}

bool overlayHoldsKeyboard() {
    return !holders().empty();
}

EdgePlacement cornerPlacement(const QRect& frame, const QRect& area) {
    EdgePlacement p;
    p.size = frame.size();
    const int left = frame.left() - area.left();
    const int right = area.right() - frame.right();
    const int top = frame.top() - area.top();
    const int bottom = area.bottom() - frame.bottom();
    // A pixel of rounding either way is still the middle.
    if (std::abs(left - right) > 1) {
        if (left < right) {
            p.anchors |= Qt::LeftEdge;
            p.margins.setLeft(std::max(0, left));
        } else {
            p.anchors |= Qt::RightEdge;
            p.margins.setRight(std::max(0, right));
        }
    }
    if (top <= bottom) {
        p.anchors |= Qt::TopEdge;
        p.margins.setTop(std::max(0, top));
    } else {
        p.anchors |= Qt::BottomEdge;
        p.margins.setBottom(std::max(0, bottom));
    }
    return p;
}

}  // namespace tamsel::qt
