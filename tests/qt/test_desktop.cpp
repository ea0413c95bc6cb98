// What Tamsel tells the desktop and what it finds there. The status item:
// the offscreen platform has no tray, which is the case worth testing: the
// notice, once, and the menu still in place, in order. "Check my desktop…"
// on each kind of desktop: what it marks ✓ and ✗, the fix it gives for each
// ✗, and the window that shows them.

#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
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
    QStringList titles;
    for (const QAction* a : menu->actions())
        titles << (a->isSeparator() ? "--" : a->text()) + (a->isEnabled() ? "" : " (off)");
    EXPECT_EQ(titles.join('|'),
              "Preferences\u2026|Statistics\u2026|Help|Check my desktop\u2026|--|"
              "Take a break now (off)|Pause|Skip|--|Quit");

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

    // Once per launch, however many items are made.
    auto again = bar.statusItem();
    again->setImage("SysMenuImg");
    again->setMenu(AppDelegate::menuItems({State::Working}), [](std::string_view) {});
    EXPECT_EQ(notices().size(), 1u);
    for (QWidget* w : notices()) w->close();
}

// ---- the check of the desktop ---------------------------------------------------------

TEST(SetupCheck, MarksEachDesktopAndGivesTheFixForWhatIsMissing) {
    using enum DesktopFacts::Session;
    using enum DesktopFacts::Tray;
    using enum OverlayRoute;
    const std::string enable = "gnome-extensions enable tamsel@tamsel.org";
    const struct Case {
        DesktopFacts facts;
        const char* marks;  // idle, menu, indicator, breaks, notifications[, login]
        std::vector<std::string> fixes = {};
    } cases[] = {
        {{X11, "XFCE", "the X screen saver extension", XEmbed, QtWindows, true, true}, "++++++"},
        {{X11, "", "", None, QtWindows, false, false},
         "--++--",
         {"MIT-SCREEN-SAVER", "trayer", "dunst", "Start Tamsel when I log in"}},
        {{Wayland, "KDE", "ext-idle-notify-v1", StatusNotifier, LayerShell, true, true}, "++++++"},
        {{Wayland, "sway", "org_kde_kwin_idle", None, LayerShell, true, std::nullopt},
         "+-+++",
         {"waybar"}},
        {{Wayland, "Hyprland", "", StatusNotifier, QtWindows, true, true},
         "-+--++",
         {"ext-idle-notify-v1", "zwlr_layer_shell_v1", "zwlr_layer_shell_v1"}},
        {{Wayland, "GNOME", "org.gnome.Mutter.IdleMonitor", None, QtWindows, true, true},
         "+--+++",
         {enable, enable}},
        {{Wayland, "ubuntu:GNOME", "org.gnome.Mutter.IdleMonitor", None, GnomeExtension, true,
          true},
         "++++++"},
    };
    for (const Case& c : cases) {
        std::string marks;
        std::vector<std::string> fixes;
        for (const CheckRow& row : setupCheckRows(c.facts)) {
            marks += row.ok ? "+" : "-";
            EXPECT_EQ(row.ok, row.fix.empty()) << c.facts.desktop << ": " << row.text;
            if (!row.ok) fixes.push_back(row.fix);
        }
        EXPECT_EQ(marks, c.marks) << c.facts.desktop;
        ASSERT_EQ(fixes.size(), c.fixes.size()) << c.facts.desktop;
        for (std::size_t i = 0; i < fixes.size(); ++i)
            EXPECT_NE(fixes[i].find(c.fixes[i]), std::string::npos)
                << c.facts.desktop << ": " << fixes[i];
    }

    // The window lists the rows and, under each ✗, its fix.
    QWidget* window = showSetupCheck(&cases[5].facts);
    ASSERT_NE(window, nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // rows of an earlier check
    EXPECT_EQ(window->windowTitle().toStdString(), kSetupCheckTitle);
    EXPECT_EQ(window->findChildren<QLabel*>("checkRow").size(), 6);
    const auto fixes = window->findChildren<QLabel*>("checkFix");
    ASSERT_EQ(fixes.size(), 2);
    EXPECT_TRUE(fixes[0]->text().contains(QString::fromStdString(enable)));
    EXPECT_EQ(showSetupCheck(&cases[0].facts), window) << "one window, checked again";
    window->close();
}

}  // namespace
}  // namespace tamsel::qt
