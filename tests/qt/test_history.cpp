// The history on a temporary SQLite file (a damaged file, a version 1 file,
// owner-only files and a full disk) and the statistics window over it on the
// offscreen platform: the numbers it shows, its bars in proportion, the CSV
// it writes, and that closing it lets it go.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFileDialog>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/stats_window.h"
#include "engine/history.h"
#include "engine/local_clock.h"
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

using test::modeOf;
using test::takeNotices;

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
            takeNotices().join(' ').contains(QStringLiteral("It is kept as ") + path() + aside));
    }
}

TEST_F(OnDisk, AVersionOneFileIsUpgradedWithItsDaysAndMoments) {
    QDir().mkpath(QFileInfo(path()).absolutePath());
    sqlite3* v1 = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path()).constData(), &v1), SQLITE_OK);
    for (const char* sql :
         {"CREATE TABLE days (day TEXT PRIMARY KEY, active_seconds INTEGER NOT NULL DEFAULT 0)",
          "CREATE TABLE events (id INTEGER PRIMARY KEY, at INTEGER NOT NULL, day TEXT NOT NULL, "
          "time TEXT NOT NULL, kind TEXT NOT NULL, seconds INTEGER NOT NULL DEFAULT 0)",
          "INSERT INTO days VALUES ('2026-03-09', 3600)",
          "INSERT INTO events (at, day, time, kind) VALUES (1773050000, '2026-03-09', "
          "'09:53:20', 'skipped')",
          "PRAGMA user_version = 1"})
        ASSERT_EQ(sqlite3_exec(v1, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(v1);

    QtHistory& history = open();
    history.addActiveSeconds("2026-03-09", 5);
    EXPECT_EQ(history.days("2026-03-09", "2026-03-09"),
              (std::vector<HistoryDay>{{"2026-03-09", 3605}}));
    EXPECT_EQ(history.events("2026-03-01", "2026-03-10"),
              (std::vector<HistoryEvent>{{1773050000, "2026-03-09", "09:53:20", "skipped", 0}}));
    sqlite3_stmt* q = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(history.connection(),
                                 "SELECT (SELECT user_version FROM pragma_user_version), count(*) "
                                 "FROM sqlite_master WHERE name = 'events_by_day'",
                                 -1, &q, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(q), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(q, 0), QtHistory::kSchemaVersion);
    EXPECT_EQ(sqlite3_column_int(q, 1), 1) << "version 2's index";
    sqlite3_finalize(q);
}

TEST_F(OnDisk, FilesAreOwnerOnlyLinksAreNotFollowedAndAFullDiskIsSaidOnce) {
    QDir().mkpath(QFileInfo(path()).absolutePath());
    QFile::setPermissions(QFileInfo(path()).absolutePath(), QFileDevice::Permissions(0x7755));
    open().addActiveSeconds("2026-03-10", 60);
    EXPECT_EQ(modeOf(QFileInfo(path()).absolutePath()), 0700);
    for (const char* suffix : {"", "-wal", "-shm"})
        EXPECT_EQ(modeOf(path() + suffix), 0600) << suffix;

    // The disk fills up: said once, and nothing else fails.
    ASSERT_EQ(
        sqlite3_exec(store->connection(), "PRAGMA max_page_count = 1", nullptr, nullptr, nullptr),
        SQLITE_OK);
    for (int i = 0; i < 50; ++i)
        store->append({kMar10, "2026-03-10", "09:00:00", std::string(200, 'x'), 0});
    EXPECT_EQ(takeNotices().filter(QStringLiteral("The disk is full")).size(), 1);

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

HistoryEvent event(const char* day, const char* time, const char* kind, std::int64_t seconds = 0) {
    LocalDateTime t;
    std::sscanf(day, "%d-%d-%d", &t.year, &t.month, &t.day);
    std::sscanf(time, "%d:%d:%d", &t.hour, &t.minute, &t.second);
    return {secondsFromUtc(t), day, time, kind, seconds};
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

    void seed(const std::vector<HistoryDay>& days, const std::vector<HistoryEvent>& events) {
        for (const HistoryDay& d : days) store.addActiveSeconds(d.day, d.activeSeconds);
        for (const HistoryEvent& e : events) store.append(e);
        SCL::history = std::make_unique<HistoryRecorder>(store);
    }
    QWidget* view() { return static_cast<QtWindow*>(stats.window())->view(); }
    QString text(const char* name) { return view()->findChild<QLabel*>(name)->text(); }

    QTemporaryDir dir;
    sim::SimPlatform sim;
    QtWindowFactory windows;
    QtDialogs dialogs;
    QtHistory store{dir.filePath(QStringLiteral("history.sqlite"))};
    StatsWindow stats;
};

TEST_F(StatsOverQt, ShowsTheSeededHistoryDrawsBarsInProportionAndExportsItByteForByte) {
    seed({{"2024-12-31", 999},
          {"2026-03-01", 3600},
          {"2026-03-06", 1800},
          {"2026-03-09", 7200},
          {"2026-03-10", 7500}},
         {event("2024-12-31", "10:00:00", "break_completed"),  // beyond 400 days: dropped
          event("2026-03-01", "10:00:00", "break_completed"),
          event("2026-03-09", "09:30:00", "break_snoozed"),
          event("2026-03-10", "09:00:00", "break_started_due"),
          event("2026-03-10", "09:02:00", "break_completed"),
          event("2026-03-10", "10:00:00", "break_started_now"),
          event("2026-03-10", "10:02:00", "break_completed"),
          event("2026-03-10", "11:00:00", "break_snoozed"),
          event("2026-03-10", "12:00:00", "skipped"),
          event("2026-03-10", "13:00:00", "paused", 3600),
          event("2026-03-10", "13:15:00", "resumed")});
    stats.showWindow();
    EXPECT_EQ(view()->windowTitle(), "Tamsel Statistics");
    const std::pair<const char*, const char*> shown[] = {
        {"lblActiveToday", "2 h 05 min"}, {"lblTakenToday", "2"},
        {"lblSnoozedToday", "1"},         {"lblSkippedToday", "1"},
        {"lblPausedToday", "15 min"},     {"lblWeekShare", "40 %"},  // 2 taken of 5 due this week
    };
    for (auto [name, expected] : shown) EXPECT_EQ(text(name), expected) << name;

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
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QFileDialog*>(w); dialog && dialog->isVisible()) {
                dialog->selectFile(out);
                QMetaObject::invokeMethod(dialog, "accept");
            }
    });
    view()->findChild<QPushButton*>("btnExport")->click();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(),
              "date,time,record,seconds\n"
              "2026-03-01,,active,3600\n"
              "2026-03-01,10:00:00,break_completed,\n"
              "2026-03-06,,active,1800\n"
              "2026-03-09,,active,7200\n"
              "2026-03-09,09:30:00,break_snoozed,\n"
              "2026-03-10,,active,7500\n"
              "2026-03-10,09:00:00,break_started_due,\n"
              "2026-03-10,09:02:00,break_completed,\n"
              "2026-03-10,10:00:00,break_started_now,\n"
              "2026-03-10,10:02:00,break_completed,\n"
              "2026-03-10,11:00:00,break_snoozed,\n"
              "2026-03-10,12:00:00,skipped,\n"
              "2026-03-10,13:00:00,paused,3600\n"
              "2026-03-10,13:15:00,resumed,\n");
    EXPECT_EQ(file.permissions() & 0x0077, 0) << "readable by its owner only";

    // Closed, the window's widgets go at once; its owner drops the rest.
    QPointer<QWidget> widgets = view();
    widgets->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(stats.closed());
    EXPECT_TRUE(widgets.isNull());
}

// The pictures in docs/ and the README, light and dark, taken by
// docs/take_screenshots.py with QT_SCALE_FACTOR=2 and TAMSEL_SHOTS=docs.
TEST_F(StatsOverQt, DISABLED_Screenshots) {
    std::vector<HistoryDay> days;
    std::vector<HistoryEvent> events;
    for (int i = 13; i >= 0; --i) {
        const std::string day = shiftDay("2026-03-10", -i);
        if (i % 7 == 2 || i % 7 == 3) continue;  // a weekend
        days.push_back(
            {day, i == 0 ? 4 * 3600 + 35 * 60 : (4 + i * 37 % 5) * 3600 + i * 611 % 3000});
        for (int b = 0; b < 6 + i % 4; ++b)
            events.push_back(event(day.c_str(), "10:00:00",
                                   b < 5 + i % 3 ? "break_completed" : "break_snoozed"));
    }
    events.push_back(event("2026-03-10", "11:00:00", "skipped"));
    events.push_back(event("2026-03-10", "12:30:00", "paused", 1800));
    seed(days, events);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QPalette light = QApplication::style()->standardPalette();
    QPalette dark = light;
    for (auto [role, colour] : {std::pair{QPalette::Window, QColor(0x2b, 0x2d, 0x30)},
                                {QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6)},
                                {QPalette::Base, QColor(0x1f, 0x20, 0x22)},
                                {QPalette::Text, QColor(0xe6, 0xe6, 0xe6)},
                                {QPalette::Button, QColor(0x3a, 0x3d, 0x41)},
                                {QPalette::ButtonText, QColor(0xe6, 0xe6, 0xe6)},
                                {QPalette::PlaceholderText, QColor(0xa0, 0xa4, 0xa8)},
                                {QPalette::Highlight, QColor(0x3d, 0x8e, 0xd9)}})
        dark.setColor(role, colour);
    for (auto [palette, name] :
         {std::pair{light, "statistics.png"}, {dark, "statistics-dark.png"}}) {
        QApplication::setPalette(palette);
        StatsWindow shot;
        shot.showWindow();
        QWidget* w = static_cast<QtWindow*>(shot.window())->view();
        w->resize(w->sizeHint());
        const QString path = qEnvironmentVariable("TAMSEL_SHOTS") + QLatin1Char('/') + name;
        EXPECT_TRUE(w->grab().save(path)) << path.toStdString();
    }
}

}  // namespace
}  // namespace tamsel::qt
