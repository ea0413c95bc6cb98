// The desktop services added for start at login and the new menu: the XDG
// autostart file and the tray rendering the menu the controllers describe.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include "app/app_delegate.h"
#include "platform/qt/desktop/autostart.h"
#include "platform/qt/desktop/qt_status_bar.h"

namespace tamsel::qt {
namespace {

TEST(Autostart, QuotesTheProgramAsTheDesktopEntryFormatWants) {
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/tamsel/bin/tamsel", "/opt/tamsel/bin/tamsel"},
        {"/home/ann/my apps/tamsel", R"("/home/ann/my apps/tamsel")"},
        {"/home/ann/100%/tamsel", "/home/ann/100%%/tamsel"},
        {"/home/ann/$HOME/tamsel", R"("/home/ann/\\$HOME/tamsel")"},
        {R"(/home/ann/a"b\c/tamsel)", R"("/home/ann/a\\"b\\\\c/tamsel")"},
    };
    for (const auto& [program, exec] : cases)
        EXPECT_EQ(XdgAutostart::execValue(QString::fromUtf8(program)).toStdString(), exec);
}

TEST(Autostart, WritesAndRemovesTheEntryAndHonoursOneThatHidesItself) {
    QTemporaryDir home;
    XdgAutostart autostart(home.filePath(QStringLiteral("config/autostart/tamsel.desktop")));
    EXPECT_FALSE(autostart.isEnabled());
    ASSERT_TRUE(autostart.setEnabled(true));
    EXPECT_TRUE(autostart.isEnabled());
    QFile file(autostart.path());
    EXPECT_EQ(file.permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("Hidden=true\n");
    file.close();
    EXPECT_FALSE(autostart.isEnabled());
    ASSERT_TRUE(autostart.setEnabled(false));
    EXPECT_FALSE(file.exists());

    // Never into a folder that is a symlink: it may lead anywhere.
    ASSERT_TRUE(QFile::link(home.path(), home.filePath(QStringLiteral("elsewhere"))));
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(
        XdgAutostart(home.filePath(QStringLiteral("elsewhere/tamsel.desktop"))).setEnabled(true));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("not a folder of yours"),
              std::string::npos);
}

std::vector<std::string> titles(const QMenu* menu) {
    std::vector<std::string> list;
    for (const QAction* a : menu->actions())
        list.push_back((a->isSeparator() ? "--" : a->text().toStdString()) +
                       (a->isEnabled() ? "" : " (off)"));
    return list;
}

TEST(StatusMenu, ShowsTheCommandsInOrderWithThePauseSubmenuAndResumeWhilePaused) {
    QtStatusBar bar;
    auto item = bar.statusItem();
    item->setImage("SysMenuImg");
    item->setMenu(AppDelegate::menuItems({State::Break}), [](std::string_view) {});
    QMenu* menu = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "statusMenu") menu = qobject_cast<QMenu*>(w);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(titles(menu),
              (std::vector<std::string>{"Preferences\u2026", "Statistics\u2026", "Help",
                                        "Check my desktop\u2026", "--",
                                        "Take a break now (off)", "Pause", "Skip", "--", "Quit"}));
    EXPECT_EQ(titles(menu->actions()[6]->menu()),
              (std::vector<std::string>{"For 30 minutes", "For an hour", "For two hours",
                                        "Until tomorrow"}));
    item->setMenu(AppDelegate::menuItems({State::Paused, 1350, 0, 2e9}), [](std::string_view) {});
    EXPECT_EQ(titles(menu)[5], "Take a break now");
    EXPECT_EQ(titles(menu)[6], "Resume");
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == kNoTrayTitle) w->close();
}

}  // namespace
}  // namespace tamsel::qt
