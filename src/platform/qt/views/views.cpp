#include "platform/qt/views/views.h"

namespace tamsel::qt {

std::unique_ptr<Window> QtWindowFactory::loadWindow(std::string_view nibName) {
    // The indicator and the break windows take the desktop's overlay route.
    if (nibName == nib::kMainWindow) {
        auto window = makeIndicatorView();
        window->presentAsOverlay(OverlayKind::Indicator);
        return window;
    }
    if (nibName == nib::kLockScreen) {
        auto window = makeBreakView();
        window->presentAsOverlay(OverlayKind::Break);
        return window;
    }
    if (nibName == nib::kPrefWindow) return makePreferencesView();
    if (nibName == nib::kAccessWindow) return makeWelcomeView();
    if (nibName == nib::kStatsWindow) return makeStatsView();
    return nullptr;
}

QLabel* heading(const QString& text) {
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

}  // namespace tamsel::qt
