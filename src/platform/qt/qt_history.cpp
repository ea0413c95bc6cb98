#include "platform/qt/qt_history.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>
#include <cstdio>
#include <span>

#include "platform/qt/desktop/user_notice.h"
#include "platform/qt/private_files.h"

namespace tamsel::qt {

namespace {

// SQLite's primary result codes; extended codes keep them in the low byte.
constexpr int kPerm = 3, kReadOnly = 8, kCorrupt = 11, kFull = 13, kCantOpen = 14, kNotADb = 26;

int primaryCode(const QSqlError& error) {
    return error.nativeErrorCode().toInt() & 0xff;
}

// A file that fails so is no use as it stands: it is set aside. Anything
// else (busy, out of memory, a full disk) leaves the file where it is.
bool unusable(const QSqlError& error) {
    const int code = primaryCode(error);
    return code == kPerm || code == kReadOnly || code == kCorrupt || code == kCantOpen ||
           code == kNotADb;
}

// Version 1: a row per day and one per moment.
constexpr const char* kVersion1[] = {
    "CREATE TABLE days (day TEXT PRIMARY KEY, active_seconds INTEGER NOT NULL DEFAULT 0)",
    "CREATE TABLE events (id INTEGER PRIMARY KEY, at INTEGER NOT NULL, day TEXT NOT NULL, "
    "time TEXT NOT NULL, kind TEXT NOT NULL, seconds INTEGER NOT NULL DEFAULT 0)",
};
// Version 2: the statistics read the moments of a few days at a time.
constexpr const char* kVersion2[] = {"CREATE INDEX events_by_day ON events (day)"};
struct Step {
    int version;
    std::span<const char* const> statements;
};
constexpr Step kSteps[] = {{1, kVersion1}, {2, kVersion2}};

// The database and the files SQLite keeps beside it.
constexpr const char* kSuffixes[] = {"", "-wal", "-shm", "-journal"};

void say(const QString& text) {
    std::fprintf(stderr, "tamsel: %s\n", qPrintable(text));
    std::fflush(stderr);
    tellUser(text);
}

}  // namespace

QtHistory::QtHistory()
    : QtHistory(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                QStringLiteral("/tamsel/history.sqlite")) {}

QtHistory::QtHistory(const QString& path)
    : path_(path),
      connection_(QStringLiteral("tamsel-history-%1").arg(reinterpret_cast<quintptr>(this))) {}

// At the first use, not at start: the driver and the file cost the first
// windows several milliseconds.
void QtHistory::open() {
    if (opened_) return;
    opened_ = true;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        inMemory_ = true;
        say(QCoreApplication::translate("Tamsel",
                                        "Tamsel keeps no history: Qt's SQLite driver is not "
                                        "installed (on Debian, the package libqt6sql6-sqlite)."));
        return;
    }
    // Qt 6.4's driver cannot ask SQLite not to follow links. Checked here
    // instead, in a folder only this user may write: nobody else can put a
    // link in between the check and the open.
    const QString folder = QFileInfo(path_).absolutePath();
    QString why = whyNotPrivateFolder(folder, Create::Yes);
    if (!why.isEmpty())
        why = QCoreApplication::translate("Tamsel", "its folder %1 %2").arg(folder, why);
    for (const char* suffix : kSuffixes) {
        const QString file = path_ + QLatin1String(suffix);
        if (const QString not_ = whyNotWritable(file); why.isEmpty() && !not_.isEmpty())
            why = QStringLiteral("%1 %2").arg(file, not_);
    }
    if (!why.isEmpty()) {
        useMemory(why);
        return;
    }
    Opened opened = openAt(path_);
    if (opened == Opened::Damaged &&
        setAside(QCoreApplication::translate("Tamsel", "could not be read")))
        opened = openAt(path_);
    if (opened != Opened::Yes)
        useMemory(QCoreApplication::translate("Tamsel", "%1 cannot be opened").arg(path_));
}

QtHistory::~QtHistory() {
    close();
}

QtHistory::Opened QtHistory::openAt(const QString& file) {
    Opened opened = Opened::Failed;
    {
        const OwnerOnlyFiles ownerOnly;
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        db_.setDatabaseName(file);
        // A program reading the file (the sqlite3 shell) may hold it a moment.
        db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=200"));
        QSqlQuery q(db_);
        auto run = [&q](const char* sql) { return q.exec(QLatin1String(sql)); };
        if (!db_.open()) {
            opened = unusable(db_.lastError()) ? Opened::Damaged : Opened::Failed;
        } else if (!run("PRAGMA auto_vacuum = INCREMENTAL") || !run("PRAGMA journal_mode = WAL") ||
                   !run("PRAGMA synchronous = NORMAL") || !run("PRAGMA cache_size = -256") ||
                   !run("PRAGMA quick_check") || !q.next()) {
            opened = unusable(q.lastError()) ? Opened::Damaged : Opened::Failed;
        } else if (q.value(0).toString() != QLatin1String("ok")) {
            opened = Opened::Damaged;
        } else if (run("PRAGMA user_version") && q.next()) {
            // Each step once, in its own transaction; a later Tamsel only adds.
            const int version = q.value(0).toInt();
            bool ok = true;
            for (const Step& step : kSteps) {
                if (!ok || step.version <= version) continue;
                ok = db_.transaction();
                for (const char* sql : step.statements) ok = ok && run(sql);
                ok = ok && q.exec(QStringLiteral("PRAGMA user_version = %1").arg(step.version));
                ok = ok ? db_.commit() : (db_.rollback(), false);
            }
            opened = ok ? Opened::Yes : Opened::Failed;
        }
    }
    if (opened != Opened::Yes) {
        close();
        return opened;
    }
    addActive_ = std::make_unique<QSqlQuery>(db_);
    addActive_->prepare(
        QStringLiteral("INSERT INTO days (day, active_seconds) VALUES (?, ?) ON CONFLICT (day) "
                       "DO UPDATE SET active_seconds = active_seconds + excluded.active_seconds"));
    append_ = std::make_unique<QSqlQuery>(db_);
    append_->prepare(
        QStringLiteral("INSERT INTO events (at, day, time, kind, seconds) VALUES (?, ?, ?, ?, ?)"));
    for (const char* suffix : kSuffixes) makeOwnerOnly(file + QLatin1String(suffix));
    return opened;
}

void QtHistory::close() {
    addActive_.reset();
    append_.reset();
    if (db_.isValid()) db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection_);
}

bool QtHistory::setAside(const QString& why) {
    close();
    QString target = path_ + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo(target).exists() || QFileInfo(target).isSymLink(); ++n)
        target = path_ + QStringLiteral(".damaged-%1").arg(n);
    if (!QFile::rename(path_, target)) return false;
    for (const char* suffix : kSuffixes) {
        if (!*suffix || !QFileInfo(path_ + QLatin1String(suffix)).exists()) continue;
        QFile::rename(path_ + QLatin1String(suffix), target + QLatin1String(suffix));
        makeOwnerOnly(target + QLatin1String(suffix));
    }
    makeOwnerOnly(target);
    setAside_ = target;
    say(QCoreApplication::translate(
            "Tamsel", "Tamsel's history %1 %2. It is kept as %3, and a fresh history starts now.")
            .arg(path_, why, target));
    return true;
}

void QtHistory::useMemory(const QString& why) {
    close();
    inMemory_ = true;
    say(QCoreApplication::translate("Tamsel",
                                    "Tamsel does not keep its history on disk this time: %1. The "
                                    "statistics show what happens until Tamsel quits.")
            .arg(why));
    openAt(QStringLiteral(":memory:"));
}

void QtHistory::report(const QSqlError& error) {
    if (failureTold_) return;
    failureTold_ = true;
    if (primaryCode(error) == kFull)
        say(QCoreApplication::translate("Tamsel",
                                        "The disk is full: Tamsel's history %1 cannot grow, so "
                                        "what happens now is not kept. The reminders go on as "
                                        "before.")
                .arg(path_));
    else
        say(QCoreApplication::translate("Tamsel",
                                        "Tamsel could not write its history %1 (%2). The reminders "
                                        "go on as before; what could not be written is not kept.")
                .arg(path_, error.text()));
}

void QtHistory::addActiveSeconds(const std::string& day, std::int64_t seconds) {
    open();
    if (!addActive_) return;
    addActive_->bindValue(0, QString::fromStdString(day));
    addActive_->bindValue(1, static_cast<qlonglong>(seconds));
    if (!addActive_->exec()) report(addActive_->lastError());
}

void QtHistory::append(const HistoryEvent& event) {
    open();
    if (!append_) return;
    append_->bindValue(0, static_cast<qlonglong>(event.at));
    append_->bindValue(1, QString::fromStdString(event.day));
    append_->bindValue(2, QString::fromStdString(event.time));
    append_->bindValue(3, QString::fromStdString(event.kind));
    append_->bindValue(4, static_cast<qlonglong>(event.seconds));
    if (!append_->exec()) report(append_->lastError());
}

std::vector<HistoryDay> QtHistory::days(const std::string& from, const std::string& to) {
    open();
    std::vector<HistoryDay> list;
    if (!db_.isOpen()) return list;
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
        "SELECT day, active_seconds FROM days WHERE day BETWEEN ? AND ? ORDER BY day"));
    q.bindValue(0, QString::fromStdString(from));
    q.bindValue(1, QString::fromStdString(to));
    if (!q.exec()) report(q.lastError());
    while (q.next()) list.push_back({q.value(0).toString().toStdString(), q.value(1).toLongLong()});
    return list;
}

std::vector<HistoryEvent> QtHistory::events(const std::string& from, const std::string& to) {
    open();
    std::vector<HistoryEvent> list;
    if (!db_.isOpen()) return list;
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    q.prepare(
        QStringLiteral("SELECT at, day, time, kind, seconds FROM events "
                       "WHERE day BETWEEN ? AND ? ORDER BY id"));
    q.bindValue(0, QString::fromStdString(from));
    q.bindValue(1, QString::fromStdString(to));
    if (!q.exec()) report(q.lastError());
    while (q.next())
        list.push_back({static_cast<double>(q.value(0).toLongLong()),
                        q.value(1).toString().toStdString(), q.value(2).toString().toStdString(),
                        q.value(3).toString().toStdString(), q.value(4).toLongLong()});
    return list;
}

void QtHistory::forgetBefore(const std::string& day) {
    open();
    if (!db_.isOpen()) return;
    QSqlQuery q(db_);
    bool ok = db_.transaction();
    for (const char* table : {"events", "days"}) {
        ok = ok && q.prepare(QStringLiteral("DELETE FROM %1 WHERE day < ?").arg(table));
        q.bindValue(0, QString::fromStdString(day));
        ok = ok && q.exec();
    }
    ok = ok ? db_.commit() : (db_.rollback(), false);
    if (!ok) report(q.lastError());
    // The pages freed go back to the file system, one per step.
    if (q.exec(QStringLiteral("PRAGMA incremental_vacuum")))
        while (q.next()) {
        }
}

}  // namespace tamsel::qt
