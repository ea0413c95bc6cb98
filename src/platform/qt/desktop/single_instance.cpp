#include "platform/qt/desktop/single_instance.h"

#include <unistd.h>

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <cstdio>

#include "platform/qt/desktop/os_services.h"

namespace tamsel::qt {

namespace {

// A client that says nothing is dropped after this.
constexpr int kClientPatienceMs = 2000;
constexpr int kClaimMs = 2500;

void say(const QString& text) {
    std::fprintf(stderr, "tamsel: %s\n", qPrintable(text));
    std::fflush(stderr);
}

}  // namespace

QString SingleInstance::defaultFolder() {
    // $XDG_RUNTIME_DIR, which Qt checks is the user's own and private;
    // never a bare name in /tmp, where another user could take it first.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

SingleInstance::SingleInstance(QString runtimeFolder) : folder_(std::move(runtimeFolder)) {}

SingleInstance::~SingleInstance() {
    server_.close();
    if (lock_) lock_->unlock();
}

bool SingleInstance::claim() {
    if (folder_.isEmpty()) {
        say(
            QStringLiteral("no private runtime folder ($XDG_RUNTIME_DIR), so a second Tamsel "
                           "cannot be told from this one."));
        return true;
    }
    lock_ = std::make_unique<QLockFile>(folder_ + QStringLiteral("/tamsel.lock"));
    // Stale only when its process is gone (a crash), never by its age.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        if (lock_->error() != QLockFile::LockFailedError) {
            say(QStringLiteral("cannot use %1; running without the one-instance check.")
                    .arg(folder_));
            return true;
        }
        return !askRunning();
    }
    // A socket left by a crashed run goes; ours replaces it.
    QLocalServer::removeServer(socketPath());
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.setMaxPendingConnections(4);
    if (!server_.listen(socketPath())) {
        say(QStringLiteral("cannot listen on %1 (%2): a second launch will not find this one.")
                .arg(socketPath(), server_.errorString()));
        return true;
    }
    QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] { accept(); });
    return true;
}

bool SingleInstance::askRunning() {
    const QDeadlineTimer deadline(kClaimMs);
    QLocalSocket socket;
    // The first one may have its lock but not yet its socket.
    while (!deadline.hasExpired()) {
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(250)) break;
        socket.abort();
        QThread::msleep(100);
    }
    if (socket.state() != QLocalSocket::ConnectedState) {
        say(QStringLiteral("another Tamsel holds %1/tamsel.lock but does not answer; not "
                           "starting a second one.")
                .arg(folder_));
        return true;
    }
    socket.write(kShowPreferences);
    socket.waitForBytesWritten(500);
    // Its "ok" says it was heard; a busy one may be slower, and that is fine.
    socket.waitForReadyRead(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)));
    say(QStringLiteral("Tamsel is running already; it shows its preferences."));
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const std::optional<unsigned> peer = peerUserId(socket->socketDescriptor());
        if (!peer || *peer != ::getuid()) {
            if (!refusalReported_) {
                refusalReported_ = true;
                say(QStringLiteral("refused a connection from another user (uid %1) on %2.")
                        .arg(peer ? QString::number(*peer) : QStringLiteral("unknown"),
                             socketPath()));
            }
            socket->abort();
            socket->deleteLater();
            continue;
        }
        QTimer::singleShot(kClientPatienceMs, socket, [socket] { socket->abort(); });
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (!socket->canReadLine() && socket->bytesAvailable() < kMaxRequest) return;
            const QByteArray line = socket->readLine(kMaxRequest + 1);
            if (line == kShowPreferences) {
                socket->write("ok\n");
                socket->flush();
                if (show_) show_();
            }
            socket->disconnectFromServer();
        });
    }
}

}  // namespace tamsel::qt
