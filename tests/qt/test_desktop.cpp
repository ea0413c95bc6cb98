// What Tamsel tells the desktop and what it finds there. The status item:
// the offscreen platform has no tray, which is the case worth testing: the
// notice, once, and the menu still in place, in order. "Check my desktop…"
// on each kind of desktop: what it marks ✓ and ✗, the fix it gives for each
// ✗, and the window that shows them.

#include <gtest/gtest.h>

#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <string>
#include <vector>

#include "app/app_delegate.h"
#include "platform/qt/desktop/qt_status_bar.h"
#include "platform/qt/desktop/setup_check.h"
#include "qt_test.h"

namespace tamsel::qt {
namespace {

std::vector<QWidget*> notices() {
    std::vector<QWidget*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == kNoTrayTitle) found.push_back(w);
    return found;
}

std::vector<std::string> titles(const QMenu* menu) {
    std::vector<std::string> list;
    for (const QAction* a : menu->actions())
        list.push_back((a->isSeparator() ? "--" : a->text().toStdString()) +
                       (a->isEnabled() ? "" : " (off)"));
    return list;
}

TEST(StatusItem, WithoutATrayTellsOnceWithoutBlockingAndStillOffersTheCommandsInOrder) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable())
        << "this test needs a desktop with no tray";
    QtStatusBar bar;
    std::vector<std::string> chosen;
    auto item = bar.statusItem();
    EXPECT_TRUE(item->setImage("SysMenuImg"));
    item->setMenu(AppDelegate::menuItems({State::Break}),
                  [&](std::string_view action) { chosen.emplace_back(action); });

    auto* menu = qobject_cast<QMenu*>(test::findWindow("statusMenu", true));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(titles(menu),
              (std::vector<std::string>{"Preferences\u2026", "Statistics\u2026", "Help",
                                        "Check my desktop\u2026", "--", "Take a break now (off)",
                                        "Pause", "Skip", "--", "Quit"}));
    EXPECT_EQ(titles(menu->actions()[6]->menu()),
              (std::vector<std::string>{"For 30 minutes", "For an hour", "For two hours",
                                        "Until tomorrow"}));

    auto shown = notices();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Commands run from the event loop, after the click has been handled.
    menu->actions()[7]->trigger();
    for (QPushButton* b : shown[0]->findChildren<QPushButton*>())
        if (b->text() == "Quit") b->click();
    EXPECT_TRUE(chosen.empty());
    QApplication::processEvents();
    EXPECT_EQ(chosen, (std::vector<std::string>{"skipBtn:", "quitBtn:"}));

    item->setMenu(AppDelegate::menuItems({State::Paused, 1350, 0, 2e9}), [](std::string_view) {});
    EXPECT_EQ(titles(menu)[5], "Take a break now");
    EXPECT_EQ(titles(menu)[6], "Resume");

    // Once per launch, however many items are made.
    auto again = bar.statusItem();
    again->setImage("SysMenuImg");
    again->setMenu(AppDelegate::menuItems({State::Working}), [](std::string_view) {});
    EXPECT_EQ(notices().size(), 1u);
    for (QWidget* w : notices()) w->close();
}

// ---- the check of the desktop ---------------------------------------------------------

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
