// The small services: workspace, random, console, and the platform as a whole.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFileInfo>
#include <QString>
#include <set>

#include "platform/qt/qt_console.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_random.h"
#include "platform/qt/desktop/qt_workspace.h"

namespace tamsel::qt {
namespace {

TEST(Workspace, RefusesWhatItCannotOpenSafely) {
    QtWorkspace workspace;
    EXPECT_FALSE(workspace.openFile("/nonexistent/Manual.pdf"));
    EXPECT_FALSE(workspace.openFile(""));
    for (const char* url :
         {"file:///etc/passwd", "javascript:alert(1)", "", "no scheme", "x-scheme-handler:run"})
        EXPECT_FALSE(workspace.openURL(url)) << url;
}

TEST(Workspace, TheManualIsFoundOrLookedForWhereItIsInstalled) {
    QtWorkspace workspace;
    const QString path = QString::fromStdString(workspace.manualPath());
    EXPECT_TRUE(path.endsWith(QLatin1String("/Manual.pdf"))) << path.toStdString();
    EXPECT_TRUE(QFileInfo::exists(path) ||
                path.endsWith(QLatin1String("share/doc/tamsel/Manual.pdf")))
        << path.toStdString();
    EXPECT_FALSE(path.contains(QLatin1String(".."))) << path.toStdString();
}

TEST(Workspace, VersionAndLoginItems) {
    QtWorkspace workspace;
    EXPECT_EQ(workspace.shortVersionString(), "2.6");
    workspace.openLoginItemsSettings();  // nothing to open here, and no error
}

TEST(Random, StaysBelowTheBoundAndReachesEveryValue) {
    QtRandom random;
    EXPECT_EQ(random.uniform(1), 0u);
    EXPECT_EQ(random.uniform(0), 0u);
    std::set<std::uint32_t> seen;
    for (int i = 0; i < 500; ++i) {
        const std::uint32_t v = random.uniform(5);
        ASSERT_LT(v, 5u);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 5u);
    EXPECT_LT(random.uniform(1000000000), 1000000000u);
}

TEST(Console, PrintsOneLine) {
    QtConsole console;
    ::testing::internal::CaptureStdout();
    console.printLine("Thank you");
    console.printLine("");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Thank you\n\n");
}

TEST(QtPlatformTest, ProvidesEveryService) {
    ::testing::internal::CaptureStderr();  // no idle source offscreen: said once
    QtPlatform qt;
    ::testing::internal::GetCapturedStderr();
    const Platform p = qt.platform();
    EXPECT_TRUE(p.clock && p.timers && p.idle && p.settings && p.screens && p.windows && p.app &&
                p.statusBar && p.dialogs && p.workspace && p.network && p.random && p.console);
    EXPECT_NEAR(p.clock->now(), static_cast<double>(QDateTime::currentSecsSinceEpoch()), 2.0);
}

}  // namespace
}  // namespace tamsel::qt
