#include "platform/qt/qt_history.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>
#include <span>
#include <string>
#include <utility>

#include "platform/qt/desktop/user_notice.h"
#include "platform/qt/private_files.h"

namespace tamsel::qt {

namespace {

// A file that fails so is no use as it stands: it is set aside. Anything
// else (busy, out of memory, a full disk) leaves the file where it is.
bool unusable(int code) {
    switch (code & 0xff) {  // extended codes keep the primary one in the low byte
        case SQLITE_PERM:
        case SQLITE_READONLY:
        case SQLITE_CORRUPT:
        case SQLITE_CANTOPEN:
        case SQLITE_NOTADB: return true;
        default: return false;
    }
}

// One prepared statement, finalized when it goes.
class Statement {
public:
    // No statement (get() is null) when db is null or sql does not prepare.
    Statement(sqlite3* db, const char* sql) {
        if (db) sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

void bind(sqlite3_stmt* stmt, int index, const std::string& text) {
    sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

std::string textAt(sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)))
                : std::string();
}

// Runs a statement to its end: SQLITE_DONE, or the code it failed with.
int runToEnd(sqlite3_stmt* stmt) {
    if (!stmt) return SQLITE_MISUSE;
    int code;
    while ((code = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    sqlite3_reset(stmt);
    return code;
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

QtHistory::QtHistory(const QString& path) : path_(path) {}

// At the first use, not at start: the library and the file cost the first
// windows several milliseconds.
void QtHistory::open() {
    if (opened_) return;
    opened_ = true;
    // Checked before the open so that a link or another's file is said and
    // left alone; in a folder only this user may write, nobody can put one
    // in between the check and the open (which follows no link either).
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
    int failed = SQLITE_OK;
    {
        const OwnerOnlyFiles ownerOnly;
        failed = sqlite3_open_v2(QFile::encodeName(file).constData(), &db_,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOFOLLOW,
                                 nullptr);
        if (failed == SQLITE_OK) failed = settle();
        if (failed == SQLITE_OK && !upgrade()) failed = SQLITE_ERROR;
    }
    if (failed != SQLITE_OK) {
        close();
        return unusable(failed) ? Opened::Damaged : Opened::Failed;
    }
    sqlite3_prepare_v2(db_,
                       "INSERT INTO days (day, active_seconds) VALUES (?, ?) ON CONFLICT (day) "
                       "DO UPDATE SET active_seconds = active_seconds + excluded.active_seconds",
                       -1, &addActive_, nullptr);
    sqlite3_prepare_v2(db_,
                       "INSERT INTO events (at, day, time, kind, seconds) VALUES (?, ?, ?, ?, ?)",
                       -1, &append_, nullptr);
    for (const char* suffix : kSuffixes) makeOwnerOnly(file + QLatin1String(suffix));
    return Opened::Yes;
}

// SQLITE_OK once the settings took and the file checks out; else why not.
// The check runs only after the settings took, so a failed one is no open.
int QtHistory::settle() {
    const auto why = [this] {
        const int code = sqlite3_extended_errcode(db_);
        return code != SQLITE_OK ? code : SQLITE_ERROR;
    };
    // A program reading the file (the sqlite3 shell) may hold it a moment.
    sqlite3_busy_timeout(db_, 200);
    for (const char* pragma : {"PRAGMA auto_vacuum = INCREMENTAL", "PRAGMA journal_mode = WAL",
                               "PRAGMA synchronous = NORMAL", "PRAGMA cache_size = -256"})
        if (!exec(pragma)) return why();
    const Statement check(db_, "PRAGMA quick_check");
    if (!check.get()) return why();
    if (const int step = sqlite3_step(check.get()); step != SQLITE_ROW)
        return step != SQLITE_OK ? step : SQLITE_ERROR;
    return textAt(check.get(), 0) == "ok" ? SQLITE_OK : SQLITE_CORRUPT;
}

// Each step once, in its own transaction; a later Tamsel only adds.
bool QtHistory::upgrade() {
    const Statement version(db_, "PRAGMA user_version");
    if (!version.get() || sqlite3_step(version.get()) != SQLITE_ROW) return false;
    const int from = sqlite3_column_int(version.get(), 0);
    for (const Step& step : kSteps) {
        if (step.version <= from) continue;
        bool ok = exec("BEGIN");
        for (const char* sql : step.statements) ok = ok && exec(sql);
        const std::string mark = "PRAGMA user_version = " + std::to_string(step.version);
        if (!(ok && exec(mark.c_str()))) {
            exec("ROLLBACK");
            return false;
        }
        if (!exec("COMMIT")) return false;
    }
    return true;
}

bool QtHistory::exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

void QtHistory::close() {
    sqlite3_finalize(std::exchange(addActive_, nullptr));
    sqlite3_finalize(std::exchange(append_, nullptr));
    sqlite3_close(std::exchange(db_, nullptr));  // also after a failed open
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

void QtHistory::report(int code) {
    if (failureTold_) return;
    failureTold_ = true;
    if ((code & 0xff) == SQLITE_FULL)
        say(QCoreApplication::translate("Tamsel",
                                        "The disk is full: Tamsel's history %1 cannot grow, so "
                                        "what happens now is not kept. The reminders go on as "
                                        "before.")
                .arg(path_));
    else
        say(QCoreApplication::translate("Tamsel",
                                        "Tamsel could not write its history %1 (%2). The reminders "
                                        "go on as before; what could not be written is not kept.")
                .arg(path_, QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code))));
}

void QtHistory::addActiveSeconds(const std::string& day, std::int64_t seconds) {
    open();
    if (!addActive_) return;
    bind(addActive_, 1, day);
    sqlite3_bind_int64(addActive_, 2, seconds);
    if (const int code = runToEnd(addActive_); code != SQLITE_DONE) report(code);
}

void QtHistory::append(const HistoryEvent& event) {
    open();
    if (!append_) return;
    sqlite3_bind_int64(append_, 1, static_cast<sqlite3_int64>(event.at));
    bind(append_, 2, event.day);
    bind(append_, 3, event.time);
    bind(append_, 4, event.kind);
    sqlite3_bind_int64(append_, 5, event.seconds);
    if (const int code = runToEnd(append_); code != SQLITE_DONE) report(code);
}

std::vector<HistoryDay> QtHistory::days(const std::string& from, const std::string& to) {
    open();
    std::vector<HistoryDay> list;
    if (!db_) return list;
    const Statement q(
        db_, "SELECT day, active_seconds FROM days WHERE day BETWEEN ? AND ? ORDER BY day");
    if (!q.get()) return list;
    bind(q.get(), 1, from);
    bind(q.get(), 2, to);
    int code;
    while ((code = sqlite3_step(q.get())) == SQLITE_ROW)
        list.push_back({textAt(q.get(), 0), sqlite3_column_int64(q.get(), 1)});
    if (code != SQLITE_DONE) report(code);
    return list;
}

std::vector<HistoryEvent> QtHistory::events(const std::string& from, const std::string& to) {
    open();
    std::vector<HistoryEvent> list;
    if (!db_) return list;
    const Statement q(db_,
                      "SELECT at, day, time, kind, seconds FROM events "
                      "WHERE day BETWEEN ? AND ? ORDER BY id");
    if (!q.get()) return list;
    bind(q.get(), 1, from);
    bind(q.get(), 2, to);
    int code;
    while ((code = sqlite3_step(q.get())) == SQLITE_ROW)
        list.push_back({static_cast<double>(sqlite3_column_int64(q.get(), 0)), textAt(q.get(), 1),
                        textAt(q.get(), 2), textAt(q.get(), 3), sqlite3_column_int64(q.get(), 4)});
    if (code != SQLITE_DONE) report(code);
    return list;
}

void QtHistory::forgetBefore(const std::string& day) {
    open();
    if (!db_) return;
    bool ok = exec("BEGIN");
    for (const char* sql : {"DELETE FROM events WHERE day < ?", "DELETE FROM days WHERE day < ?"}) {
        const Statement q(db_, sql);
        if (ok && q.get()) bind(q.get(), 1, day);
        ok = ok && q.get() && runToEnd(q.get()) == SQLITE_DONE;
    }
    const int failed = ok ? SQLITE_OK : sqlite3_extended_errcode(db_);
    ok = ok ? exec("COMMIT") : (exec("ROLLBACK"), false);
    if (!ok) report(failed != SQLITE_OK ? failed : sqlite3_extended_errcode(db_));
    // The pages freed go back to the file system, one per step.
    const Statement vacuum(db_, "PRAGMA incremental_vacuum");
    runToEnd(vacuum.get());
}

}  // namespace tamsel::qt
