// The small services: workspace, random, start at login (the XDG autostart
// file), and the platform as a whole.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/qt/desktop/autostart.h"
#include "platform/qt/desktop/os_services.h"
#include "platform/qt/desktop/qt_workspace.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_random.h"
#include "qt_test.h"

namespace tamsel::qt {
namespace {

TEST(Workspace, RefusesWhatItCannotOpenSafelyAndFindsTheManual) {
    QtWorkspace workspace;
    EXPECT_FALSE(workspace.openFile("/nonexistent/Manual.pdf"));
    for (const char* url :
         {"file:///etc/passwd", "javascript:alert(1)", "", "x-scheme-handler:run"})
        EXPECT_FALSE(workspace.openURL(url)) << url;
    const QString path = QString::fromStdString(workspace.manualPath());
    EXPECT_TRUE(QFileInfo::exists(path) || path.endsWith("share/tamsel/Manual.pdf"))
        << path.toStdString();
    EXPECT_FALSE(path.contains(QLatin1String(".."))) << path.toStdString();
    EXPECT_EQ(workspace.shortVersionString(), "2.6");
}

// What xdg-open reads to find the application for a type: the user's
// choices and the applications' cache; removed associations do not count.
TEST(Workspace, FindsTheApplicationsTheDesktopListsForAType) {
    QTemporaryDir home;
    const QByteArray saved[] = {qgetenv("XDG_DATA_HOME"), qgetenv("XDG_DATA_DIRS"),
                                qgetenv("XDG_CONFIG_DIRS")};
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + "/data"));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(home.path() + "/system"));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(home.path() + "/etc"));
    auto write = [&](const QString& path, const QByteArray& text) {
        QDir().mkpath(QFileInfo(home.path() + path).absolutePath());
        QFile f(home.path() + path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    EXPECT_FALSE(desktopListsApplicationFor("application/pdf"));
    write("/data/applications/mimeapps.list",
          "[Removed Associations]\napplication/pdf=evince.desktop\n[Default Applications]\n"
          "x-scheme-handler/http=\n");
    EXPECT_FALSE(desktopListsApplicationFor("application/pdf"));
    EXPECT_FALSE(desktopListsApplicationFor("x-scheme-handler/http")) << "an empty choice";
    write("/system/applications/mimeinfo.cache", "[MIME Cache]\napplication/pdf=evince.desktop;\n");
    EXPECT_TRUE(desktopListsApplicationFor("application/pdf"));
    EXPECT_FALSE(desktopListsApplicationFor("application/pd"));
    const char* names[] = {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS"};
    for (int i = 0; i < 3; ++i)
        saved[i].isNull() ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);
}

TEST(Random, StaysBelowTheBoundAndReachesEveryValue) {
    QtRandom random;
    EXPECT_EQ(random.uniform(0), 0u);
    std::set<std::uint32_t> seen;
    for (int i = 0; i < 500; ++i) seen.insert(random.uniform(5));
    EXPECT_EQ(seen, (std::set<std::uint32_t>{0, 1, 2, 3, 4}));
}

// The benchmark's time lapse: clock, timers and idle time at one faster
// pace, so the engine sees ordinary minutes; the program runs at 1.
TEST(QtPlatformTest, ProvidesEveryServiceAtTheTimeScaleItIsGiven) {
    ::testing::internal::CaptureStderr();  // no idle source offscreen: said once
    QtPlatform normal, lapsed(60);
    ::testing::internal::GetCapturedStderr();
    const Platform p = normal.platform();
    EXPECT_TRUE(p.clock && p.timers && p.idle && p.settings && p.screens && p.windows && p.app &&
                p.statusBar && p.dialogs && p.workspace && p.network && p.random && p.console);
    EXPECT_NEAR(p.clock->now(), double(QDateTime::currentSecsSinceEpoch()), 2.0);

    Clock& clock = *lapsed.platform().clock;
    const double start = clock.uptime();
    QElapsedTimer real;
    real.start();
    double firedAt = -1;
    QEventLoop loop;
    auto timer = lapsed.platform().timers->schedule(6.0, false, [&] {
        firedAt = clock.uptime() - start;
        loop.quit();
    });
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_LT(real.elapsed(), 1000) << "a 6 s timer fires after a tenth of a second";
    EXPECT_GE(firedAt, 5.4);  // a coarse timer may fire 5 % early
    EXPECT_LT(firedAt, 60.0);
}

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

#ifdef __linux__
// Sounds are off unless the user turns them on: libcanberra is loaded at the
// first sound, and then every function it is asked for is found.
TEST(Sounds, LibcanberraIsLoadedAtTheFirstSoundNotBefore) {
    auto loaded = [] {
        std::ostringstream maps;
        maps << std::ifstream("/proc/self/maps").rdbuf();
        return maps.str().find("/libcanberra.so") != std::string::npos;
    };
    auto sounds = makeCanberraSounds();
    EXPECT_FALSE(loaded());
    ::testing::internal::CaptureStderr();
    sounds->play("bell");
    sounds.reset();  // waits for the sound's thread
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(loaded());
    EXPECT_EQ(said.find("cannot be loaded"), std::string::npos) << said;
}
#endif

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
    XdgAutostart elsewhere(home.filePath(QStringLiteral("elsewhere/tamsel.desktop")));
    EXPECT_NE(test::stderrOf([&] { EXPECT_FALSE(elsewhere.setEnabled(true)); })
                  .find("not a folder of yours"),
              std::string::npos);
}

}  // namespace
}  // namespace tamsel::qt
