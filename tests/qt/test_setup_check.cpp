// "Check my desktop…" on each kind of desktop: what it marks ✓ and ✗, the
// fix it gives for each ✗, and the window that shows them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <string>
#include <vector>

#include "platform/qt/desktop/setup_check.h"

namespace tamsel::qt {
namespace {

using Session = DesktopFacts::Session;
using Tray = DesktopFacts::Tray;

std::string marks(const std::vector<CheckRow>& rows) {
    std::string text;
    for (const CheckRow& row : rows) text += row.ok ? "+" : "-";
    return text;
}

TEST(SetupCheck, MarksEachDesktopAndGivesTheFixForWhatIsMissing) {
    const std::string enable = "gnome-extensions enable tamsel@tamsel.org";
    struct Case {
        const char* desktop;
        DesktopFacts facts;
        const char* marks;  // idle, menu, indicator, breaks, notifications[, login]
        std::vector<std::string> fixes;
    } cases[] = {
        {"X11 with a tray",
         {Session::X11, "XFCE", "the X screen saver extension", Tray::XEmbed,
          OverlayRoute::QtWindows, true, true},
         "++++++",
         {}},
        {"X11, nothing",
         {Session::X11, "", "", Tray::None, OverlayRoute::QtWindows, false, false},
         "--++--",
         {"MIT-SCREEN-SAVER", "trayer", "dunst", "Start Tamsel when I log in"}},
        {"KDE",
         {Session::Wayland, "KDE", "ext-idle-notify-v1", Tray::StatusNotifier,
          OverlayRoute::LayerShell, true, true},
         "++++++",
         {}},
        {"sway without a tray",
         {Session::Wayland, "sway", "org_kde_kwin_idle", Tray::None, OverlayRoute::LayerShell, true,
          std::nullopt},
         "+-+++",
         {"waybar"}},
        {"wlroots, no layer-shell",
         {Session::Wayland, "Hyprland", "", Tray::StatusNotifier, OverlayRoute::QtWindows, true,
          true},
         "-+--++",
         {"ext-idle-notify-v1", "zwlr_layer_shell_v1", "zwlr_layer_shell_v1"}},
        {"GNOME without the extension",
         {Session::Wayland, "GNOME", "org.gnome.Mutter.IdleMonitor", Tray::None,
          OverlayRoute::QtWindows, true, true},
         "+--+++",
         {enable, enable}},
        {"GNOME with the extension",
         {Session::Wayland, "ubuntu:GNOME", "org.gnome.Mutter.IdleMonitor", Tray::None,
          OverlayRoute::GnomeExtension, true, true},
         "++++++",
         {}},
    };
    for (const Case& c : cases) {
        const std::vector<CheckRow> rows = setupCheckRows(c.facts);
        EXPECT_EQ(marks(rows), c.marks) << c.desktop;
        std::vector<std::string> fixes;
        for (const CheckRow& row : rows) {
            EXPECT_EQ(row.ok, row.fix.empty()) << c.desktop << ": " << row.text;
            if (!row.ok) fixes.push_back(row.fix);
        }
        ASSERT_EQ(fixes.size(), c.fixes.size()) << c.desktop;
        for (std::size_t i = 0; i < fixes.size(); ++i)
            EXPECT_NE(fixes[i].find(c.fixes[i]), std::string::npos)
                << c.desktop << ": " << fixes[i];
    }

    // The window lists the rows and, under each ✗, its fix.
    QWidget* window = showSetupCheck(&cases[5].facts);
    ASSERT_NE(window, nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // rows of an earlier check
    EXPECT_EQ(window->windowTitle().toStdString(), kSetupCheckTitle);
    std::vector<std::string> shown, fixes;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->objectName() == "checkRow") shown.push_back(label->text().toStdString());
        if (label->objectName() == "checkFix") fixes.push_back(label->text().toStdString());
    }
    EXPECT_EQ(shown.size(), 6u);
    ASSERT_EQ(fixes.size(), 2u);
    EXPECT_NE(fixes[0].find(enable), std::string::npos);
    EXPECT_EQ(showSetupCheck(&cases[0].facts), window) << "one window, checked again";
    window->close();
}

}  // namespace
}  // namespace tamsel::qt
