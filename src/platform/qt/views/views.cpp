#include "platform/qt/views/views.h"

namespace tamsel::qt {

std::unique_ptr<Window> QtWindowFactory::loadWindow(std::string_view nibName) {
    if (nibName == nib::kMainWindow) return makeIndicatorView();
    if (nibName == nib::kLockScreen) return makeBreakView();
    if (nibName == nib::kPrefWindow) return makePreferencesView();
    if (nibName == nib::kAccessWindow) return makeWelcomeView();
    if (nibName == nib::kStatsWindow) return makeStatsView();
    return nullptr;
}

}  // namespace tamsel::qt
