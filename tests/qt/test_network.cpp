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

private:
    QTcpServer server_;
    QByteArray request_;
};

// Runs the main loop until the asynchronous reply arrives (5 s at most).
FetchResult waitFor(QtNetwork& network, const std::string& url) {
    std::optional<FetchResult> result;
    QEventLoop loop;
    network.get(url, [&](const FetchResult& r) {
        result = r;
        loop.quit();
    });
    EXPECT_FALSE(result) << "answered at once, not on the main loop";
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    if (!result) loop.exec();
    return result.value_or(FetchResult{});
}

TEST(BlockingFetch, AGoodReplyIsItsTextAnythingElseAFailure) {
    LocalServer server;
    QtNetwork network;
    struct Case {
        int status;
        QByteArray body;
        std::string error;  // empty: the body is the answer
    };
    const Case cases[] = {{200, "caf\xc3\xa9\n", ""},
                          {404, "not here", "HTTP 404"},
                          {503, "busy", "HTTP 503"},
                          {200, QByteArray(QtNetwork::kMaxBody, 'a'), ""},
                          {200, QByteArray(QtNetwork::kMaxBody + 1, 'a'), "reply too large"}};
    for (const Case& c : cases) {
        server.answer(c.status, c.body);
        const FetchResult r = network.fetchText(server.url(), 5.0);
        EXPECT_EQ(r.ok, c.error.empty()) << c.status << " " << r.error;
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(r.body, c.error.empty() ? c.body.toStdString() : "");
    }
    for (const char* url : {"file:///etc/passwd", "", "not a url", "ftp://127.0.0.1/x"})
        EXPECT_FALSE(network.fetchText(url, 1.0).ok) << url;
}

TEST(BlockingFetch, ASilentServerFailsAtTheTimeOutWithNoTimerFiringMeanwhile) {
    LocalServer server;
    server.silent = true;
    QtNetwork network;
    QtTimers timers;
    int fired = 0;
    auto tick = timers.schedule(0.02, true, [&] { ++fired; });
    QElapsedTimer clock;
    clock.start();
    const FetchResult r = network.fetchText(server.url(), 0.3);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_GE(clock.elapsed(), 290);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(fired, 0);
    tick->invalidate();

    // Nobody listening fails at once.
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    clock.restart();
    EXPECT_FALSE(network.fetchText("http://127.0.0.1:" + std::to_string(port) + "/", 10.0).ok);
    EXPECT_LT(clock.elapsed(), 2000);
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
    EXPECT_EQ(r.error, "no reply within 0.3 s");
}

}  // namespace
}  // namespace tamsel::qt
