#pragma once

// The views behind each window definition, and the factory that builds them.

#include <memory>

#include <QLabel>

#include "platform/qt/views/qt_window.h"

namespace tamsel::qt {

std::unique_ptr<QtWindow> makeIndicatorView();    // "MainWindow"
std::unique_ptr<QtWindow> makeBreakView();        // "LockScreen"
std::unique_ptr<QtWindow> makePreferencesView();  // "PrefWindow"
std::unique_ptr<QtWindow> makeWelcomeView();      // "AccessWindow"
std::unique_ptr<QtWindow> makeStatsView();        // "StatsWindow"

// A section's title in a window: the window's font, bold.
QLabel* heading(const QString& text);

class QtWindowFactory : public WindowFactory {
public:
    std::unique_ptr<Window> loadWindow(std::string_view nibName) override;
};

}  // namespace tamsel::qt
