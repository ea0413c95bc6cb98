// The status item. The offscreen platform has no tray, which is the case
// worth testing: the notice, once, and the menu still in place, in order.

#include <gtest/gtest.h>

#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <string>
#include <vector>

#include "app/app_delegate.h"
#include "platform/qt/desktop/qt_status_bar.h"
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

}  // namespace
}  // namespace tamsel::qt
