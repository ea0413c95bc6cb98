// Simulated days through the engine and the real history on a temporary
// SQLite file: what a day of work leaves, midnight and clock changes, a
// damaged file, a version 1 file, owner-only files and a full disk.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <map>

#include "app/app_delegate.h"
#include "engine/history.h"
#include "engine/main_window.h"
#include "engine/scl.h"
#include "platform/qt/qt_history.h"
#include "sim/sim_platform.h"

namespace tamsel::qt {
namespace {

constexpr double kMar10 = 1773100800;  // 2026-03-10 00:00 UTC, a Tuesday

int mode(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

// The notices the user was given (no tray here: small windows).
QStringList notices() {
    QStringList texts;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("userNotice") && w->isVisible())
            for (QLabel* l : w->findChildren<QLabel*>()) texts << l->text();
    return texts;
}

void closeNotices() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("userNotice")) w->close();
}

class OnDisk : public ::testing::Test {
protected:
    OnDisk() { SCL::reset(sim.platform()); }
    ~OnDisk() override {
        SCL::reset(sim.platform());
        closeNotices();
    }

    QString path() const { return dir.filePath(QStringLiteral("tamsel/history.sqlite")); }
    QtHistory& open() {
        SCL::reset(sim.platform());
        store.reset();
        store = std::make_unique<QtHistory>(path());
        return *store;
    }

    // The engine with its history from a wall-clock second on (UTC is the
    // local clock here).
    void start(double wall, double activeFor, long long workMinutes = 30) {
        open();
        sim.clock.jumpWall(wall - sim.clock.now());
        sim.idle.activeFor(activeFor);
        for (auto [key, value] : {std::pair{"uid", 1LL},
                                  {"stpWorkDuration", workMinutes},
                                  {"stpBreakDuration", 2LL},
                                  {"lblSnooze", 1LL}})
            sim.settings.setInteger(key, value);
        Platform p = sim.platform();
        p.history = store.get();
        SCL::reset(p);
        SCL::history = std::make_unique<HistoryRecorder>(*store);
        SCL::mainWindow = std::make_unique<MainWindow>();
        SCL::mainWindow->showWindow();
    }
    std::map<std::string, std::int64_t> daysOnDisk() {
        SCL::history->flush();
        std::map<std::string, std::int64_t> days;
        for (const HistoryDay& d : store->days("0000-01-01", "9999-12-31"))
            days[d.day] = d.activeSeconds;
        return days;
    }
    void runUntilBreak() {
        for (int i = 0; i < 1000 && !SCL::activityTimerPause; ++i) sim.advance(5);
    }

    QTemporaryDir dir;
    sim::SimPlatform sim;
    std::unique_ptr<QtHistory> store;
};

TEST_F(OnDisk, ADayWithTwoBreaksASnoozeASkipAndAPauseReadsBackAsItWent) {
    start(kMar10 + 9 * 3600, 6300);  // at work until 10:45
    AppDelegate app;
    runUntilBreak();
    sim.advance(120);  // taken
    runUntilBreak();
    sim.advance(30);
    sim.windows.last("LockScreen")->perform("closeButton:", "closeBtn");
    sim.advance(1);  // snoozed: the next break a minute of work later
    runUntilBreak();
    sim.advance(120);  // taken
    sim.advance(kMar10 + 10 * 3600 - sim.clock.now());
    ASSERT_TRUE(app.skipBtn());
    sim.advance(600);
    SCL::mainWindow->pauseUntil(sim.clock.now() + 1800);
    sim.advance(900);
    SCL::mainWindow->resume();
    sim.advance(3600);

    EXPECT_EQ(SCL::history->csv(),
              "date,time,record,seconds\n"
              "2026-03-10,,active,5154\n"
              "2026-03-10,09:22:30,break_started_due,\n"
              "2026-03-10,09:24:30,break_completed,\n"
              "2026-03-10,09:47:00,break_started_due,\n"
              "2026-03-10,09:47:31,break_snoozed,\n"
              "2026-03-10,09:48:30,break_started_due,\n"
              "2026-03-10,09:50:30,break_completed,\n"
              "2026-03-10,10:00:00,skipped,\n"
              "2026-03-10,10:10:00,paused,1800\n"
              "2026-03-10,10:25:00,resumed,\n");
    const DayTotals today = SCL::history->lastDays(1).back();
    EXPECT_EQ(today.taken, 2);
    EXPECT_EQ(today.snoozed, 1);
    EXPECT_EQ(today.skipped, 1);
    EXPECT_EQ(today.pausedSeconds, 900);
    EXPECT_EQ(SCL::status().todayBreaksTaken, 2);
    EXPECT_EQ(SCL::status().todayActiveSeconds, 5154);
}

TEST_F(OnDisk, EachSecondCountsOnceOnTheLocalDayItWasWorked) {
    struct Case {
        const char* what;
        double start, activeFor, jumpAfter, jumpBy;
        std::map<std::string, std::int64_t> days;
    } cases[] = {
        {"midnight splits the time",
         kMar10 - 600,
         1200,
         0,
         0,
         {{"2026-03-09", 600}, {"2026-03-10", 605}}},
        {"a clock set back an hour", kMar10 + 10 * 3600, 7200, 3600, -3600, {{"2026-03-10", 7205}}},
        {"a clock set forward over midnight",
         kMar10 - 2700,
         3600,
         1800,
         3600,
         {{"2026-03-09", 1805}, {"2026-03-10", 1800}}},
    };
    for (const Case& c : cases) {
        start(c.start, c.activeFor, 240);
        sim.advance(c.jumpAfter);
        sim.clock.jumpWall(c.jumpBy);
        sim.advance(c.activeFor - c.jumpAfter + 60);
        EXPECT_EQ(daysOnDisk(), c.days) << c.what;
        EXPECT_FALSE(SCL::activityTimerPause) << c.what << ": no break meant";
        SCL::reset(sim.platform());
        store.reset();
        QFile::remove(path());
    }
}

TEST_F(OnDisk, ADamagedFileIsSetAsideUnderANewNameAndAFreshOneStarts) {
    const QByteArray garbage(3000, '\x5a');
    for (const char* aside : {".damaged", ".damaged-2"}) {
        open();
        store.reset();
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
        file.close();

        open().append({kMar10, "2026-03-10", "09:00:00", "break_completed", 0});
        EXPECT_EQ(store->setAsidePath(), path() + aside);
        QFile kept(path() + aside);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), garbage) << "kept as it was";
        EXPECT_EQ(store->events("2026-03-10", "2026-03-10").size(), 1u);
        EXPECT_FALSE(store->inMemory());
        EXPECT_TRUE(
            notices().join(' ').contains(QStringLiteral("It is kept as ") + path() + aside));
    }
}

TEST_F(OnDisk, AVersionOneFileIsUpgradedWithItsDaysAndMoments) {
    {
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "v1");
        db.setDatabaseName(path());
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const char* sql :
             {"CREATE TABLE days (day TEXT PRIMARY KEY, active_seconds INTEGER NOT NULL DEFAULT 0)",
              "CREATE TABLE events (id INTEGER PRIMARY KEY, at INTEGER NOT NULL, day TEXT NOT "
              "NULL, "
              "time TEXT NOT NULL, kind TEXT NOT NULL, seconds INTEGER NOT NULL DEFAULT 0)",
              "INSERT INTO days VALUES ('2026-03-09', 3600)",
              "INSERT INTO events (at, day, time, kind) VALUES (1773050000, '2026-03-09', "
              "'09:53:20', 'skipped')",
              "PRAGMA user_version = 1"})
            ASSERT_TRUE(q.exec(QLatin1String(sql))) << sql;
    }
    QSqlDatabase::removeDatabase("v1");

    QtHistory& history = open();
    history.addActiveSeconds("2026-03-09", 5);
    EXPECT_EQ(history.days("2026-03-09", "2026-03-09"),
              (std::vector<HistoryDay>{{"2026-03-09", 3605}}));
    EXPECT_EQ(history.events("2026-03-01", "2026-03-10"),
              (std::vector<HistoryEvent>{{1773050000, "2026-03-09", "09:53:20", "skipped", 0}}));
    QSqlQuery q(QSqlDatabase::database(QSqlDatabase::connectionNames().constFirst()));
    ASSERT_TRUE(q.exec("SELECT (SELECT user_version FROM pragma_user_version), count(*) "
                       "FROM sqlite_master "
                       "WHERE name = 'events_by_day'") &&
                q.next());
    EXPECT_EQ(q.value(0).toInt(), QtHistory::kSchemaVersion);
    EXPECT_EQ(q.value(1).toInt(), 1) << "version 2's index";
}

TEST_F(OnDisk, FilesAreOwnerOnlyLinksAreNotFollowedAndAFullDiskIsSaidOnce) {
    QDir().mkpath(QFileInfo(path()).absolutePath());
    QFile::setPermissions(QFileInfo(path()).absolutePath(), QFileDevice::Permissions(0x7755));
    open().addActiveSeconds("2026-03-10", 60);
    EXPECT_EQ(mode(QFileInfo(path()).absolutePath()), 0700);
    for (const char* suffix : {"", "-wal", "-shm"})
        EXPECT_EQ(mode(path() + suffix), 0600) << suffix;

    // The disk fills up: said once, and nothing else fails.
    const QString connection = QSqlDatabase::connectionNames().constFirst();
    QSqlQuery full(QSqlDatabase::database(connection));
    ASSERT_TRUE(full.exec("PRAGMA max_page_count = 1"));
    for (int i = 0; i < 50; ++i)
        store->append({kMar10, "2026-03-10", "09:00:00", std::string(200, 'x'), 0});
    EXPECT_EQ(notices().filter(QStringLiteral("The disk is full")).size(), 1);
    full = QSqlQuery();

    // A link where the database belongs: not touched, the history in memory.
    store.reset();
    for (const char* suffix : {"", "-wal", "-shm"}) QFile::remove(path() + suffix);
    const QString target = dir.filePath(QStringLiteral("elsewhere"));
    QFile(target).open(QIODevice::WriteOnly);
    QFile::link(target, path());
    open().addActiveSeconds("2026-03-10", 60);
    EXPECT_TRUE(store->inMemory());
    EXPECT_EQ(QFileInfo(target).size(), 0);
    EXPECT_EQ(store->days("2026-03-10", "2026-03-10").size(), 1u) << "kept for this run";
}

}  // namespace
}  // namespace tamsel::qt
