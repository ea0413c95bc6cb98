#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace tamsel::qt {

// One Tamsel per user. The first process holds a lock file and listens on a
// socket, both in the user's runtime folder ($XDG_RUNTIME_DIR); a later one
// finds the lock taken, asks the first over the socket to show its
// preferences, and ends. Only the same user's processes are heard, and only
// the one request; anything else is dropped.
class SingleInstance {
public:
    // The one thing a second launch may ask.
    static constexpr const char* kShowPreferences = "show-preferences\n";
    // Longest request read from a connection.
    static constexpr int kMaxRequest = 64;

    explicit SingleInstance(QString runtimeFolder = defaultFolder());
    ~SingleInstance();

    // True when this process is the one instance (or cannot tell: no
    // runtime folder); false when another runs and was asked to show its
    // preferences. Decided within about 2.5 s.
    bool claim();
    // What to do when a second launch asks.
    void onShowPreferences(std::function<void()> show) { show_ = std::move(show); }

    QString socketPath() const { return folder_ + QStringLiteral("/tamsel.socket"); }
    static QString defaultFolder();

private:
    void accept();
    bool askRunning();

    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
    std::function<void()> show_;
    bool refusalReported_ = false;
};

}  // namespace tamsel::qt
