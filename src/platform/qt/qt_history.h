#pragma once

#include <QSqlDatabase>
#include <QString>
#include <memory>

#include "common/platform.h"

class QSqlError;
class QSqlQuery;

namespace tamsel::qt {

// The history in SQLite through Qt SQL: one database in WAL mode, owner-
// only in an owner-only folder, with a schema version it upgrades itself.
// A file that is damaged or cannot be opened is set aside under a new name,
// never deleted, and a fresh one started; a folder or file that is not
// safely the user's is not touched and the history lives in memory for
// this run. Each is said once. A write that fails (a full disk) loses only
// what it carried and holds nothing up.
class QtHistory : public History {
public:
    // The user's history: $XDG_DATA_HOME/tamsel/history.sqlite on Linux,
    // ~/Library/Application Support/tamsel/history.sqlite on macOS.
    QtHistory();
    explicit QtHistory(const QString& path);
    ~QtHistory() override;
    QtHistory(const QtHistory&) = delete;
    QtHistory& operator=(const QtHistory&) = delete;

    void addActiveSeconds(const std::string& day, std::int64_t seconds) override;
    void append(const HistoryEvent& event) override;
    std::vector<HistoryDay> days(const std::string& from, const std::string& to) override;
    std::vector<HistoryEvent> events(const std::string& from, const std::string& to) override;
    void forgetBefore(const std::string& day) override;

    QString fileName() const { return path_; }
    // Where a damaged file was moved; empty when none was.
    QString setAsidePath() {
        open();
        return setAside_;
    }
    bool inMemory() {
        open();
        return inMemory_;
    }

    static constexpr int kSchemaVersion = 2;

private:
    enum class Opened { Yes, Damaged, Failed };
    void open();
    Opened openAt(const QString& file);
    void close();
    bool setAside(const QString& why);
    void useMemory(const QString& why);
    void report(const QSqlError& error);

    QString path_;
    QString connection_;
    QSqlDatabase db_;
    std::unique_ptr<QSqlQuery> addActive_;
    std::unique_ptr<QSqlQuery> append_;
    QString setAside_;
    bool opened_ = false;
    bool inMemory_ = false;
    bool failureTold_ = false;
};

}  // namespace tamsel::qt
