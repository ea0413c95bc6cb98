// The history on a temporary SQLite file, and the statistics window over it
// on the offscreen platform.

#include <sqlite3.h>

#include <QFileDialog>
#include <QStyle>
#include <QStyleFactory>

#include "app/stats_window.h"
#include "engine/history.h"
#include "engine/scl.h"
#include "platform/qt/qt_history.h"
#include "platform/qt/views/bar_chart.h"
#include "platform/qt/views/qt_dialogs.h"
#include "platform/qt/views/views.h"
#include "qt_test.h"
#include "sim/sim_platform.h"

namespace tamsel::qt {
namespace {

constexpr double kMar10 = 1773100800;  // 2026-03-10 00:00 UTC, a Tuesday

using namespace test;

class OnDisk : public ::testing::Test {
protected:
    ~OnDisk() override { takeNotices(); }
    QString path() const { return dir.filePath(QStringLiteral("tamsel/history.sqlite")); }
    QtHistory& open() {
        store.reset();
        store = std::make_unique<QtHistory>(path());
        store->inMemory();  // opened at its first use: here
        return *store;
    }
    QTemporaryDir dir;
    std::unique_ptr<QtHistory> store;
};

TEST_F(OnDisk, ADamagedFileIsSetAsideUnderANewNameAndAFreshOneStarts) {
    const QByteArray garbage(3000, '\x5a');
    for (const char* aside : {".damaged", ".damaged-2"}) {
        store.reset();
        write(path(), garbage);
        open().append({kMar10, "2026-03-10", "09:00:00", "break_completed", 0});
        EXPECT_EQ(store->setAsidePath(), path() + aside);
        EXPECT_EQ(contentsOf(path() + aside), garbage) << "kept as it was";
        EXPECT_EQ(store->events("2026-03-10", "2026-03-10").size(), 1u);
        EXPECT_FALSE(store->inMemory());
        EXPECT_TRUE(takeNotices().join(' ').contains("It is kept as " + path() + aside));
    }
}

TEST_F(OnDisk, AVersionOneFileIsUpgradedWithItsDaysAndMoments) {
    write(path(), {});
    sqlite3* v1 = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path()).constData(), &v1), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(v1,
                           "CREATE TABLE days (day TEXT PRIMARY KEY, active_seconds INTEGER NOT "
                           "NULL DEFAULT 0); CREATE TABLE events (id INTEGER PRIMARY KEY, at "
                           "INTEGER NOT NULL, day TEXT NOT NULL, time TEXT NOT NULL, kind TEXT NOT "
                           "NULL, seconds INTEGER NOT NULL DEFAULT 0);"
                           "INSERT INTO days VALUES ('2026-03-09', 3600);"
                           "INSERT INTO events (at, day, time, kind) VALUES (1773050000, "
                           "'2026-03-09', '09:53:20', 'skipped'); PRAGMA user_version = 1",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(v1);

    open().addActiveSeconds("2026-03-09", 5);
    EXPECT_EQ(store->events("2026-03-01", "2026-03-10"),
              (std::vector<HistoryEvent>{{1773050000, "2026-03-09", "09:53:20", "skipped", 0}}));
    open();  // once upgraded, opened as it is
    EXPECT_EQ(store->days("2026-03-09", "2026-03-09"),
              (std::vector<HistoryDay>{{"2026-03-09", 3605}}));
}

TEST_F(OnDisk, FilesAreOwnerOnlyAndLinksAreNotFollowed) {
    const QString folder = QFileInfo(path()).absolutePath();
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7755));
    open().addActiveSeconds("2026-03-10", 60);
    EXPECT_EQ(modeOf(folder), 0700);
    for (const char* suffix : {"", "-wal", "-shm"})
        EXPECT_EQ(modeOf(path() + suffix), 0600) << suffix;

    // A link where the database belongs: not touched, the history in memory.
    store.reset();
    for (const char* suffix : {"", "-wal", "-shm"}) QFile::remove(path() + suffix);
    const QString target = dir.filePath(QStringLiteral("elsewhere"));
    write(target, {});
    QFile::link(target, path());
    open().addActiveSeconds("2026-03-10", 60);
    EXPECT_TRUE(store->inMemory());
    EXPECT_EQ(QFileInfo(target).size(), 0);
    EXPECT_EQ(store->days("2026-03-10", "2026-03-10").size(), 1u) << "kept for this run";
}

class StatsOverQt : public ::testing::Test {
protected:
    StatsOverQt() {
        sim.clock.jumpWall(kMar10 + 15 * 3600 - sim.clock.now());
        Platform p = sim.platform();
        p.windows = &windows;
        p.dialogs = &dialogs;
        p.history = &store;
        SCL::reset(p);
    }
    ~StatsOverQt() override { SCL::reset(sim.platform()); }
    // Rows as the export writes them: a day's active seconds, or an event.
    void seed(const std::string& csv) {
        for (const QString& row : QString::fromStdString(csv).split('\n', Qt::SkipEmptyParts)) {
            const QStringList f = row.split(',');
            if (f[2] == "active") {
                store.addActiveSeconds(f[0].toStdString(), f[3].toLongLong());
                continue;
            }
            const QDateTime at(QDate::fromString(f[0], Qt::ISODate), QTime::fromString(f[1]),
                               Qt::UTC);
            store.append({double(at.toSecsSinceEpoch()), f[0].toStdString(), f[1].toStdString(),
                          f[2].toStdString(), f[3].toLongLong()});
        }
        SCL::history = std::make_unique<HistoryRecorder>(store);
    }
    QWidget* view() { return static_cast<QtWindow*>(stats.window())->view(); }

    QTemporaryDir dir;
    sim::SimPlatform sim;
    QtWindowFactory windows;
    QtDialogs dialogs;
    QtHistory store{dir.filePath(QStringLiteral("history.sqlite"))};
    StatsWindow stats;
};

TEST_F(StatsOverQt, ShowsTheSeededHistoryDrawsBarsInProportionAndExportsItByteForByte) {
    const std::string csv =
        "2026-03-01,,active,3600\n2026-03-01,10:00:00,break_completed,\n"
        "2026-03-06,,active,1800\n2026-03-09,,active,7200\n2026-03-09,09:30:00,break_snoozed,\n"
        "2026-03-10,,active,7500\n2026-03-10,09:00:00,break_started_due,\n"
        "2026-03-10,09:02:00,break_completed,\n2026-03-10,10:00:00,break_started_now,\n"
        "2026-03-10,10:02:00,break_completed,\n2026-03-10,11:00:00,break_snoozed,\n"
        "2026-03-10,12:00:00,skipped,\n2026-03-10,13:00:00,paused,3600\n"
        "2026-03-10,13:15:00,resumed,\n";
    seed("2024-12-31,,active,999\n2024-12-31,10:00:00,break_completed,\n" + csv);
    stats.showWindow();
    const std::pair<const char*, const char*> shown[] = {
        {"lblActiveToday", "2 h 05 min"}, {"lblTakenToday", "2"},
        {"lblSnoozedToday", "1"},         {"lblSkippedToday", "1"},
        {"lblPausedToday", "15 min"},     {"lblWeekShare", "40 %"},  // 2 taken of 5 due this week
    };
    for (auto [name, expected] : shown)
        EXPECT_EQ(view()->findChild<QLabel*>(name)->text(), expected) << name;

    auto* chart = view()->findChild<BarChart*>("chartDays");
    ASSERT_EQ(chart->bars().size(), 14u);
    EXPECT_EQ(chart->bars().front().label, "Wed\n25");
    EXPECT_EQ(chart->bars().back(), (ChartBar{"Tue\n10", 7500, 2, 2}));
    EXPECT_EQ(chart->bars()[12], (ChartBar{"Mon\n9", 7200, 0, 1}));
    const double tallest = chart->barRect(13).height();
    EXPECT_GT(tallest, 50);
    for (int i = 0; i < 14; ++i)
        EXPECT_NEAR(chart->barRect(i).height(), tallest * chart->bars()[i].value / 7500, 0.5) << i;

    const QString out = dir.filePath(QStringLiteral("export.csv"));
    QTimer::singleShot(0, [out] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        dialog->selectFile(out);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    view()->findChild<QPushButton*>("btnExport")->click();
    EXPECT_EQ(contentsOf(out).toStdString(), "date,time,record,seconds\n" + csv)
        << "all but what is beyond 400 days";
    EXPECT_EQ(modeOf(out), 0600);
}

// The statistics pictures in docs/, light and dark: docs/take_screenshots.py
// runs this with QT_SCALE_FACTOR=2 and TAMSEL_SHOTS=docs.
TEST_F(StatsOverQt, DISABLED_Screenshots) {
    std::string csv = "2026-03-10,11:00:00,skipped,\n2026-03-10,12:30:00,paused,1800\n";
    for (int i = 13; i >= 0; --i) {
        const std::string day = shiftDay("2026-03-10", -i);
        if (i % 7 == 2 || i % 7 == 3) continue;  // a weekend
        csv += day + ",,active," +
               std::to_string(i == 0 ? 16500 : (4 + i * 37 % 5) * 3600 + i * 611 % 3000) + '\n';
        for (int b = 0; b < 6 + i % 4; ++b)
            csv += day +
                   (b < 5 + i % 3 ? ",10:00:00,break_completed,\n" : ",10:00:00,break_snoozed,\n");
    }
    seed(csv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QPalette light = QApplication::style()->standardPalette();
    QPalette dark = light;
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(0xe6e6e6));
    dark.setColor(QPalette::Window, QColor(0x2b2d30));
    dark.setColor(QPalette::Base, QColor(0x1f2022));
    dark.setColor(QPalette::Button, QColor(0x3a3d41));
    dark.setColor(QPalette::PlaceholderText, QColor(0xa0a4a8));
    dark.setColor(QPalette::Highlight, QColor(0x3d8ed9));
    for (auto [palette, name] :
         {std::pair{light, "statistics.png"}, {dark, "statistics-dark.png"}}) {
        QApplication::setPalette(palette);
        StatsWindow shot;
        shot.showWindow();
        QWidget* w = static_cast<QtWindow*>(shot.window())->view();
        w->resize(w->sizeHint());
        EXPECT_TRUE(w->grab().save(qEnvironmentVariable("TAMSEL_SHOTS") + '/' + name));
    }
}

}  // namespace
}  // namespace tamsel::qt
