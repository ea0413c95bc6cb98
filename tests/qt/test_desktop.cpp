// What Tamsel tells the desktop and what it finds there. The status item:
// the offscreen platform has no tray, which is the case worth testing: the
// notice, once, and the menu still in place, in order. "Check my desktop…"
// on each kind of desktop: what it marks ✓ and ✗, the fix it gives for each
// ✗, and the window that shows them.

#include <QMenu>
#include <QSystemTrayIcon>
#include <vector>

#include "app/app_delegate.h"
#include "platform/qt/desktop/qt_status_bar.h"
#include "platform/qt/desktop/setup_check.h"
#include "qt_test.h"

namespace tamsel::qt {
namespace {

TEST(StatusItem, WithoutATrayTellsOnceWithoutBlockingAndStillOffersTheCommands) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable())
        << "this test needs a desktop with no tray";
    QtStatusBar bar;
    std::vector<std::string> chosen;
    auto item = bar.statusItem();
    item->setMenu(AppDelegate::menuItems({State::Break}),
                  [&](std::string_view action) { chosen.emplace_back(action); });
    auto* menu = qobject_cast<QMenu*>(test::findWindow("statusMenu", true));
    EXPECT_FALSE(menu->actions()[5]->isEnabled()) << "a break now, during one";
    QWidget* notice = test::findWindow("noTrayNotice");
    EXPECT_EQ(notice->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Commands run from the event loop, after the click has been handled.
    menu->actions()[7]->trigger();
    for (QPushButton* b : notice->findChildren<QPushButton*>())
        if (b->text() == "Quit") b->click();
    EXPECT_TRUE(chosen.empty());
    QApplication::processEvents();
    EXPECT_EQ(chosen, (std::vector<std::string>{"skipBtn:", "quitBtn:"}));

    notice->close();  // once per launch, however many items are made
    auto again = bar.statusItem();
    again->setMenu(AppDelegate::menuItems({State::Working}), [](std::string_view) {});
    EXPECT_EQ(test::findWindow("noTrayNotice"), nullptr);
}

TEST(SetupCheck, MarksEachDesktopAndGivesTheFixForWhatIsMissing) {
    using enum DesktopFacts::Session;
    using enum DesktopFacts::Tray;
    using enum OverlayRoute;
    // The marks of idle, menu, indicator, breaks, notifications[, login], then
    // a part of the fix of each row not marked.
    const std::pair<DesktopFacts, const char*> cases[] = {
        {{X11, "XFCE", "the X screen saver extension", XEmbed, QtWindows, true, true}, "++++++"},
        {{X11, "", "", None, QtWindows, false, false},
         "--++--|MIT-SCREEN-SAVER|trayer|dunst|Start Tamsel when I log in"},
        {{Wayland, "sway", "org_kde_kwin_idle", None, LayerShell, true, std::nullopt},
         "+-+++|waybar"},
        {{Wayland, "Hyprland", "", StatusNotifier, QtWindows, true, true},
         "-+--++|ext-idle-notify-v1|zwlr_layer_shell_v1|zwlr_layer_shell_v1"},
        {{Wayland, "GNOME", "org.gnome.Mutter.IdleMonitor", None, QtWindows, true, true},
         "+--+++|enable tamsel@tamsel.org|enable tamsel@tamsel.org"},
        {{Wayland, "ubuntu:GNOME", "org.gnome.Mutter.IdleMonitor", None, GnomeExtension, true,
          true},
         "++++++"},
    };
    for (const auto& [facts, expected] : cases) {
        const QStringList want = QString(expected).split('|');
        std::string marks;
        int fix = 0;
        for (const CheckRow& row : setupCheckRows(facts)) {
            marks += row.ok ? "+" : "-";
            EXPECT_EQ(row.ok, row.fix.empty()) << facts.desktop << ": " << row.text;
            EXPECT_TRUE(row.ok || QString::fromStdString(row.fix).contains(want.value(++fix, "?")))
                << row.fix;
        }
        EXPECT_EQ(marks, want[0].toStdString()) << facts.desktop;
    }

    // The window lists the rows and, under each ✗, its fix.
    QWidget* window = showSetupCheck(&cases[4].first);
    EXPECT_EQ(window->findChildren<QLabel*>("checkRow").size(), 6);
    EXPECT_EQ(window->findChildren<QLabel*>("checkFix").size(), 2);
    EXPECT_EQ(showSetupCheck(&cases[0].first), window) << "one window, checked again";
    window->close();
}

}  // namespace
}  // namespace tamsel::qt
