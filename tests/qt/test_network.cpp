// Text fetches against a small HTTP server on this machine: time-outs,
// error statuses, the size cap, and the asynchronous GET.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "platform/qt/qt_network.h"
#include "platform/qt/qt_timers.h"

namespace tamsel::qt {
namespace {

// Answers every request with one fixed reply, or never when silent.
class LocalServer {
public:
    LocalServer() {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost));
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                ++connections;
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    request_ += socket->readAll();
                    if (silent || !request_.contains("\r\n\r\n")) return;
                    socket->write(reply);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    std::string url(const char* path = "/tsupdateosx.txt") const {
        return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
    }
    void answer(int status, const QByteArray& body) {
        reply = "HTTP/1.1 " + QByteArray::number(status) +
                " Status\r\nContent-Type: text/plain\r\n" +
                "Content-Length: " + QByteArray::number(body.size()) +
                "\r\nConnection: close\r\n\r\n" + body;
    }

    bool silent = false;
    QByteArray reply;
    int connections = 0;

private:
    QTcpServer server_;
    QByteArray request_;
};

// Runs the main loop until the asynchronous reply arrives (5 s at most).
FetchResult waitFor(QtNetwork& network, const std::string& url, bool* calledAtOnce = nullptr) {
    std::optional<FetchResult> result;
    QEventLoop loop;
    network.get(url, [&](const FetchResult& r) {
        result = r;
        loop.quit();
    });
    if (calledAtOnce) *calledAtOnce = result.has_value();
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    if (!result) loop.exec();
    EXPECT_TRUE(result.has_value()) << "no reply within 5 s";
    return result.value_or(FetchResult{});
}

TEST(BlockingFetch, AGoodReplyIsItsText) {
    LocalServer server;
    server.answer(200, "2.7\n");
    QtNetwork network;
    const FetchResult r = network.fetchText(server.url(), 5.0);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.body, "2.7\n");

    server.answer(200, "caf\xc3\xa9");
    EXPECT_EQ(network.fetchText(server.url(), 5.0).body, "caf\xc3\xa9");
}

TEST(BlockingFetch, AServerThatNeverAnswersFailsRightAfterTheTimeOut) {
    LocalServer server;
    server.silent = true;
    QtNetwork network;
    QElapsedTimer clock;
    clock.start();
    const FetchResult r = network.fetchText(server.url(), 0.3);
    const qint64 ms = clock.elapsed();
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_TRUE(r.body.empty());
    EXPECT_GE(ms, 290);
    EXPECT_LT(ms, 1000);
    EXPECT_EQ(server.connections, 1);
}

TEST(BlockingFetch, NoTimerOfTheSystemFiresWhileItWaits) {
    LocalServer server;
    server.silent = true;
    QtNetwork network;
    QtTimers timers;
    int fired = 0;
    auto tick = timers.schedule(0.02, true, [&] { ++fired; });
    network.fetchText(server.url(), 0.2);
    EXPECT_EQ(fired, 0);
    // The held firing comes once, on the main loop, right after.
    QEventLoop settle;
    QTimer::singleShot(5, &settle, &QEventLoop::quit);
    settle.exec();
    EXPECT_EQ(fired, 1);
    tick->invalidate();
}

TEST(BlockingFetch, ErrorStatusesAreFailures) {
    LocalServer server;
    QtNetwork network;
    server.answer(404, "not here");
    FetchResult r = network.fetchText(server.url(), 5.0);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "HTTP 404");
    EXPECT_TRUE(r.body.empty());

    server.answer(503, "busy");
    r = network.fetchText(server.url(), 5.0);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "HTTP 503");
}

TEST(BlockingFetch, ABodyOverTheCapIsAFailure) {
    LocalServer server;
    QtNetwork network;
    server.answer(200, QByteArray(QtNetwork::kMaxBody, 'a'));
    FetchResult r = network.fetchText(server.url(), 5.0);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.body.size(), static_cast<std::size_t>(QtNetwork::kMaxBody));

    server.answer(200, QByteArray(QtNetwork::kMaxBody + 1, 'a'));
    r = network.fetchText(server.url(), 5.0);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "reply too large");
    EXPECT_TRUE(r.body.empty());
}

TEST(BlockingFetch, OnlyWebAddressesAreFetched) {
    QtNetwork network;
    for (const char* url : {"file:///etc/passwd", "", "not a url", "ftp://127.0.0.1/x"}) {
        const FetchResult r = network.fetchText(url, 1.0);
        EXPECT_FALSE(r.ok) << url;
        EXPECT_FALSE(r.error.empty()) << url;
    }
}

TEST(BlockingFetch, NobodyListeningFailsWithoutWaitingForTheTimeOut) {
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    QtNetwork network;
    QElapsedTimer clock;
    clock.start();
    const FetchResult r = network.fetchText("http://127.0.0.1:" + std::to_string(port) + "/", 10.0);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST(AsyncGet, TheReplyArrivesLaterOnTheMainLoop) {
    LocalServer server;
    server.answer(200, "ok 123");
    QtNetwork network;
    bool calledAtOnce = true;
    const FetchResult r = waitFor(network, server.url("/logistics/ln.php?cat=x"), &calledAtOnce);
    EXPECT_FALSE(calledAtOnce);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.body, "ok 123");
}

TEST(AsyncGet, AnErrorStatusStillDeliversItsBody) {
    LocalServer server;
    QtNetwork network;
    server.answer(500, "oops");
    const FetchResult r = waitFor(network, server.url());
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.body, "oops");
}

TEST(AsyncGet, FailuresCarryAReadableError) {
    LocalServer server;
    QtNetwork network;

    server.answer(200, QByteArray(QtNetwork::kMaxBody + 10, 'b'));
    EXPECT_EQ(waitFor(network, server.url()).error, "reply too large");

    bool calledAtOnce = true;
    const FetchResult bad = waitFor(network, "javascript:alert(1)", &calledAtOnce);
    EXPECT_FALSE(calledAtOnce) << "even a refused address answers later";
    EXPECT_FALSE(bad.ok);
}

TEST(AsyncGet, AServerThatNeverAnswersIsGivenUpAtTheTimeOutInPlainWords) {
    LocalServer server;
    server.silent = true;
    QtNetwork network(300);
    QElapsedTimer clock;
    clock.start();
    const FetchResult r = waitFor(network, server.url("/logistics/ln.php?cat=x"));
    EXPECT_GE(clock.elapsed(), 290);
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "no reply within 0.3 s");
}

}  // namespace
}  // namespace tamsel::qt
