// The status item. The offscreen platform has no tray, which
// is the case worth testing: the notice, once, and a menu still in place.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <string>
#include <vector>

#include "platform/qt/desktop/qt_status_bar.h"

namespace tamsel::qt {
namespace {

const std::vector<MenuItem> kMenu = {{"Preferences\u2026", "prefMenuBtn:"},
                                     {"Help", "helpBtn:"},
                                     {"Skip", "skipBtn:"},
                                     {"Quit", "quitBtn:"}};

std::vector<QWidget*> notices() {
    std::vector<QWidget*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == kNoTrayTitle) found.push_back(w);
    return found;
}

TEST(StatusItem, WithoutATrayTellsOnceWithoutBlockingAndStillOffersTheCommands) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable())
        << "this test needs a desktop with no tray";
    QtStatusBar bar;
    std::vector<std::string> chosen;
    auto item = bar.statusItem();
    EXPECT_TRUE(item->setImage("SysMenuImg"));
    item->setMenu(kMenu, [&](std::string_view action) { chosen.emplace_back(action); });

    // The menu holds the commands in order, each bound to its action.
    QMenu* menu = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "statusMenu") menu = qobject_cast<QMenu*>(w);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(menu->actions()[i]->text().toStdString(), kMenu[i].title);
        EXPECT_EQ(menu->actions()[i]->objectName().toStdString(), kMenu[i].action);
    }

    auto shown = notices();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Commands run from the event loop, after the click has been handled.
    menu->actions()[2]->trigger();
    for (QPushButton* b : shown[0]->findChildren<QPushButton*>())
        if (b->text() == "Quit") b->click();
    EXPECT_TRUE(chosen.empty());
    QApplication::processEvents();
    EXPECT_EQ(chosen, (std::vector<std::string>{"skipBtn:", "quitBtn:"}));

    // Once per launch, however many items are made.
    auto again = bar.statusItem();
    again->setImage("SysMenuImg");
    again->setMenu(kMenu, [](std::string_view) {});
    EXPECT_EQ(notices().size(), 1u);
    for (QWidget* w : notices()) w->close();
}

}  // namespace
}  // namespace tamsel::qt
