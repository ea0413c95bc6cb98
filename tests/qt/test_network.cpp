// Text fetches against a stand-in HTTP server on this machine: a silent one,
// and one that turns against its client: redirects elsewhere, cookies,
// endless and compressed bodies. Nothing may leave for another address,
// memory stays bounded.

#include <sys/resource.h>

#include <QTcpServer>
#include <QTcpSocket>

#include "common/version.h"
#include "platform/qt/qt_network.h"
#include "platform/qt/qt_timers.h"
#include "qt_test.h"

namespace tamsel::qt {
namespace {

// Answers each request with reply(path): a head, then `filler` bytes of 'x'
// streamed as the client takes them. No reply: never answers.
struct StandIn {
    std::function<std::pair<QByteArray, qint64>(const QByteArray& path)> reply;
    QList<QByteArray> requests;
    QTcpServer tcp;

    StandIn() {
        EXPECT_TRUE(tcp.listen(QHostAddress::LocalHost));
        QObject::connect(&tcp, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = tcp.nextPendingConnection()) serve(s);
        });
    }
    std::string url(const char* path = "/tsupdateosx.txt") const {
        return "http://127.0.0.1:" + std::to_string(tcp.serverPort()) + path;
    }
    void serve(QTcpSocket* s) {
        auto left = std::make_shared<qint64>(-1);
        auto pump = [s, left] {
            for (; *left > 0 && s->bytesToWrite() < 256 * 1024; *left -= 65536)
                s->write(QByteArray(65536, 'x'));
            if (*left == 0) s->disconnectFromHost();
        };
        QObject::connect(s, &QTcpSocket::bytesWritten, pump);
        QObject::connect(s, &QTcpSocket::readyRead, [this, s, left, pump] {
            if (*left >= 0 || !s->peek(8192).contains("\r\n\r\n")) return;
            requests << s->readAll();
            if (!reply) return;
            const auto [head, filler] = reply(requests.last().split(' ').value(1));
            *left = filler;
            s->write(head);
            pump();
        });
    }
};

std::pair<QByteArray, qint64> http(const char* status, const QByteArray& headers,
                                   const QByteArray& body, qint64 filler = 0) {
    return {QByteArray("HTTP/1.1 ") + status + "\r\n" + headers + "Content-Length: " +
                QByteArray::number(body.size() + filler) + "\r\nConnection: close\r\n\r\n" + body,
            filler};
}

TEST(Fetch, ASilentServerFailsAtTheTimeOutWithNoTimerFiringMeanwhile) {
    StandIn server;  // never answers
    QtNetwork network;
    QtTimers timers;
    int fired = 0;
    auto tick = timers.schedule(0.02, true, [&] { ++fired; });
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(network.fetchText(server.url(), 0.3).ok);
    EXPECT_TRUE(clock.elapsed() >= 290 && clock.elapsed() < 1000) << clock.elapsed();
    EXPECT_EQ(fired, 0);
    tick->invalidate();
}

TEST(HostileServer, RequestsStayOnTheServerAskedAndCarryOnlyTheReadmesHeaders) {
    StandIn server, other;
    const QByteArray port = QByteArray::number(server.tcp.serverPort());
    const std::pair<QByteArray, bool> redirects[] = {
        {"/moved.txt", true},  // the same server: followed
        {QByteArray::fromStdString(other.url("/")), false},
        {"http://localhost:" + port + "/", false},
        {"https://127.0.0.1:" + port + "/", false},
    };
    QtNetwork network;
    QByteArray redirected;
    for (const auto& [location, followed] : redirects) {
        SCOPED_TRACE(location.toStdString());
        server.requests.clear();
        const QByteArray head = "Set-Cookie: track=1\r\nLocation: " + location + "\r\n";
        server.reply = [head](const QByteArray& path) {
            return path == "/moved.txt" ? http("200 OK", {}, "2.7") : http("302 Found", head, {});
        };
        const FetchResult r = network.fetchText(server.url(), 5.0);
        EXPECT_EQ(r.body, followed ? "2.7" : "") << r.error;
        ASSERT_EQ(server.requests.size(), followed ? 2 : 1);
        if (followed) redirected = server.requests[1];
    }
    EXPECT_TRUE(other.requests.isEmpty());
    // The followed request: no cookie back, no language, nothing compressed.
    QStringList headers = QString::fromLatin1(redirected).trimmed().split("\r\n").mid(1);
    headers.sort();
    EXPECT_EQ(headers.join(u'|').toStdString(),
              "Accept-Encoding: identity|Accept-Language: *|Connection: Keep-Alive|Host: "
              "127.0.0.1:" +
                  port.toStdString() + "|User-Agent: Tamsel/" + std::string(kVersion));
}

TEST(HostileServer, EndlessAndCompressedBodiesKeepMemoryBounded) {
    QProcess gzip;  // 50 MiB of zeros in about 50 KiB
    gzip.start("sh", {"-c", "head -c 52428800 /dev/zero | gzip -c"});
    ASSERT_TRUE(gzip.waitForFinished(30000));
    const QByteArray bomb = gzip.readAllStandardOutput();
    StandIn server;
    server.reply = [&bomb](const QByteArray& path) {
        if (path == "/bomb") return http("200 OK", "Content-Encoding: gzip\r\n", bomb);
        return http("200 OK", {}, {}, 100 * 1024 * 1024);
    };
    QtNetwork network;
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    EXPECT_EQ(network.fetchText(server.url("/endless"), 10.0).error, "reply too large");
    const FetchResult compressed = network.fetchText(server.url("/bomb"), 10.0);
    EXPECT_TRUE(compressed.ok) << compressed.error;
    EXPECT_LT(compressed.body.size(), 3u * bomb.size()) << "the body is never inflated";
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 16 * 1024) << "KiB more at the peak";
}

}  // namespace
}  // namespace tamsel::qt
