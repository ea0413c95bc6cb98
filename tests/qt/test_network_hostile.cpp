// A stand-in for the maker's server that turns against its client:
// redirects elsewhere, endless and compressed bodies, cookies, a quit in
// mid-fetch. Nothing may leave for another address, memory stays bounded.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <functional>
#include <memory>

#include "common/version.h"
#include "platform/qt/qt_network.h"

namespace tamsel::qt {
namespace {

// Answers each request with `head` (status line, headers, start of body),
// then streams `filler` more bytes as the client takes them.
class StandIn {
public:
    struct Answer {
        QByteArray head;
        qint64 filler = 0;
    };
    std::function<Answer(const QByteArray& path)> reply;
    QList<QByteArray> requests;  // each request's head
    int connections = 0;
    int closed = 0;

    StandIn() {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost));
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) serve(socket);
        });
    }
    quint16 port() const { return server_.serverPort(); }
    std::string url(const char* path = "/tsupdateosx.txt") const {
        return "http://127.0.0.1:" + std::to_string(port()) + path;
    }

private:
    void serve(QTcpSocket* socket) {
        ++connections;
        auto left = std::make_shared<qint64>(-1);
        QObject::connect(socket, &QTcpSocket::disconnected, [this] { ++closed; });
        auto pump = [socket, left] {
            while (*left > 0 && socket->bytesToWrite() < 256 * 1024) {
                const qint64 n = std::min<qint64>(*left, 64 * 1024);
                socket->write(QByteArray(n, 'x'));
                *left -= n;
            }
            if (*left == 0) socket->disconnectFromHost();
        };
        QObject::connect(socket, &QTcpSocket::bytesWritten, pump);
        QObject::connect(socket, &QTcpSocket::readyRead, [this, socket, left, pump] {
            if (*left >= 0 || !socket->peek(8192).contains("\r\n\r\n")) return;
            const QByteArray head = socket->readAll();
            requests << head;
            if (!reply) return;  // silent
            const Answer a = reply(head.split(' ').value(1));
            *left = a.filler;
            socket->write(a.head);
            pump();
        });
    }
    QTcpServer server_;
};

QByteArray http(const char* status, const QByteArray& headers, const QByteArray& body,
                qint64 filler = 0) {
    return QByteArray("HTTP/1.1 ") + status + "\r\n" + headers +
           "Content-Length: " + QByteArray::number(body.size() + filler) +
           "\r\nConnection: close\r\n\r\n" + body;
}

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(HostileServer, RedirectsNeverLeaveTheServerAsked) {
    StandIn server, other;
    other.reply = [](const QByteArray&) { return StandIn::Answer{http("200 OK", {}, "9.9")}; };
    const std::string port = std::to_string(server.port());
    struct Row {
        std::string location;
        bool followed;
    };
    const Row rows[] = {
        {"/moved.txt", true},
        {"http://127.0.0.1:" + std::to_string(other.port()) + "/tsupdateosx.txt", false},
        {"http://localhost:" + port + "/tsupdateosx.txt", false},
        {"https://127.0.0.1:" + port + "/tsupdateosx.txt", false},
    };
    QtNetwork network;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.location);
        server.requests.clear();
        server.reply = [&row](const QByteArray& path) {
            if (path == "/moved.txt") return StandIn::Answer{http("200 OK", {}, "2.7")};
            return StandIn::Answer{http(
                "302 Found", "Location: " + QByteArray::fromStdString(row.location) + "\r\n", {})};
        };
        const FetchResult r = network.fetchText(server.url(), 5.0);
        EXPECT_EQ(r.ok, row.followed) << r.error;
        EXPECT_EQ(r.body, row.followed ? "2.7" : "");
        EXPECT_EQ(server.requests.size(), row.followed ? 2 : 1);
    }
    EXPECT_EQ(other.connections, 0);
}

TEST(HostileServer, RequestsCarryOnlyTheHeadersTheReadmeLists) {
    StandIn server;
    server.reply = [](const QByteArray&) {
        return StandIn::Answer{http("200 OK", "Set-Cookie: track=1\r\n", "2.7")};
    };
    QtNetwork network;
    network.fetchText(server.url(), 5.0);
    network.fetchText(server.url(), 5.0);  // a cookie would go back here
    ASSERT_EQ(server.requests.size(), 2);
    QStringList headers;
    for (const QByteArray& line : server.requests[1].trimmed().split('\n').mid(1))
        headers << QString::fromLatin1(line.trimmed());
    headers.sort();
    EXPECT_EQ(headers.join(u'|').toStdString(),
              "Accept-Encoding: identity|Accept-Language: *|Connection: Keep-Alive|Host: "
              "127.0.0.1:" +
                  std::to_string(server.port()) + "|User-Agent: Tamsel/" + std::string(kVersion));
}

TEST(HostileServer, EndlessAndCompressedBodiesKeepMemoryBounded) {
    // 50 MiB of zeros in about 50 KiB, sent as a compressed version file.
    QProcess gzip;
    gzip.start(QStringLiteral("sh"),
               {QStringLiteral("-c"), QStringLiteral("head -c 52428800 /dev/zero | gzip -c")});
    ASSERT_TRUE(gzip.waitForFinished(30000));
    const QByteArray bomb = gzip.readAllStandardOutput();
    ASSERT_LT(bomb.size(), QtNetwork::kMaxBody);

    StandIn server;
    server.reply = [&bomb](const QByteArray& path) {
        if (path == "/bomb")
            return StandIn::Answer{http("200 OK", "Content-Encoding: gzip\r\n", bomb)};
        return StandIn::Answer{http("200 OK", {}, {}, 100 * 1024 * 1024), 100 * 1024 * 1024};
    };
    QtNetwork network;
    const long before = peakKiB();
    const FetchResult endless = network.fetchText(server.url("/endless"), 10.0);
    EXPECT_EQ(endless.error, "reply too large");
    const FetchResult compressed = network.fetchText(server.url("/bomb"), 10.0);
    EXPECT_TRUE(compressed.ok) << compressed.error;
    EXPECT_LT(compressed.body.size(), 3u * bomb.size()) << "the body is never inflated";
    EXPECT_LT(peakKiB() - before, 16 * 1024) << "KiB more at the peak";
}

TEST(HostileServer, AQuitInMidFetchEndsTheRequestThen) {
    StandIn server;  // never answers
    QtNetwork network;
    FetchResult result{true, {}, {}};
    QElapsedTimer clock;
    clock.start();
    qint64 returnedAfter = -1;
    QTimer::singleShot(0, [&] {
        result = network.fetchText(server.url(), 5.0);
        returnedAfter = clock.elapsed();
    });
    QTimer::singleShot(100, [] { QCoreApplication::exit(0); });  // the desktop ends the session
    QCoreApplication::exec();
    EXPECT_FALSE(result.ok);
    EXPECT_LT(returnedAfter, 1000);
    // Nothing of the fetch outlives it: the connection is closed at once,
    // not when its time-out would have come.
    QEventLoop settle;
    QTimer::singleShot(300, &settle, &QEventLoop::quit);
    settle.exec();
    EXPECT_EQ(server.closed, 1);
}

}  // namespace
}  // namespace tamsel::qt
