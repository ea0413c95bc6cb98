#pragma once

#include <QString>

#include "common/platform.h"

struct sqlite3;
struct sqlite3_stmt;

namespace tamsel::qt {

// The history in SQLite (its C library, not Qt SQL: one library less in
// memory all day, and a file opened without following links): one database in WAL mode, owner-
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
    // The open connection, for tests that make SQLite fail on purpose.
    sqlite3* connection() {
        open();
        return db_;
    }

    static constexpr int kSchemaVersion = 2;

private:
    enum class Opened { Yes, Damaged, Failed };
    void open();
    Opened openAt(const QString& file);
    int settle();
    bool upgrade();
    void close();
    bool setAside(const QString& why);
    void useMemory(const QString& why);
    bool exec(const char* sql);
    void report(int code);

    QString path_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* addActive_ = nullptr;
    sqlite3_stmt* append_ = nullptr;
    QString setAside_;
    bool opened_ = false;
    bool inMemory_ = false;
    bool failureTold_ = false;
};

}  // namespace tamsel::qt
