#include "platform/qt/qt_network.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <optional>

#include "common/version.h"
#include "platform/qt/modal_gate.h"

namespace tamsel::qt {

namespace {

std::optional<QUrl> webAddress(const std::string& url) {
    QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || address.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return std::nullopt;
    return address;
}

FetchResult failure(std::string error) {
    return FetchResult{false, {}, std::move(error)};
}

// Reads a reply up to the cap and calls finish once with the outcome. The
// reply is aborted when the body grows past the cap or the time runs out.
// With errorStatusFails false an HTTP error status still delivers its body.
// Returns the object every handler of ours hangs on: deleting it silences
// them, and leaves Qt's own wiring of the reply alone.
QObject* collect(QNetworkReply* reply, int timeoutMs, bool errorStatusFails,
                 std::function<void(const FetchResult&)> finish) {
    struct State {
        QByteArray body;
        bool tooLarge = false;
        bool timedOut = false;
    };
    auto state = std::make_shared<State>();
    auto* handlers = new QObject(reply);

    auto* timer = new QTimer(handlers);
    timer->setSingleShot(true);
    // A coarse timer may end the wait up to 5 % early.
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, handlers, [reply, state] {
        state->timedOut = true;
        reply->abort();
    });
    timer->start(timeoutMs);

    QObject::connect(reply, &QNetworkReply::readyRead, handlers, [reply, state] {
        if (state->tooLarge) return;
        state->body += reply->read(QtNetwork::kMaxBody + 1 - state->body.size());
        if (state->body.size() > QtNetwork::kMaxBody) {
            state->tooLarge = true;
            reply->abort();
        }
    });

    QObject::connect(
        reply, &QNetworkReply::finished, handlers,
        [reply, state, timeoutMs, errorStatusFails, finish = std::move(finish)] {
            reply->deleteLater();
            if (!state->tooLarge && !state->timedOut && reply->isReadable()) {
                state->body += reply->read(QtNetwork::kMaxBody + 1 - state->body.size());
                state->tooLarge = state->body.size() > QtNetwork::kMaxBody;
            }
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            FetchResult result;
            if (state->tooLarge) {
                result = failure("reply too large");
            } else if (state->timedOut) {
                result = failure("no reply within " +
                                 QString::number(timeoutMs / 1000.0, 'g', 3).toStdString() + " s");
            } else if (status >= 400) {
                result = errorStatusFails
                             ? failure("HTTP " + std::to_string(status))
                             : FetchResult{true, QString::fromUtf8(state->body).toStdString(), {}};
            } else if (reply->error() != QNetworkReply::NoError) {
                result = failure(reply->errorString().toStdString());
            } else {
                result = FetchResult{true, QString::fromUtf8(state->body).toStdString(), {}};
            }
            finish(result);
        });
    return handlers;
}

// Every header a request carries is one the README lists: Qt would add the
// user's language, offer compressed replies (which it would then inflate
// without bound) and send back cookies.
QNetworkRequest requestFor(const QUrl& address) {
    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QByteArray("Tamsel/") + QByteArray::fromStdString(std::string(kVersion)));
    request.setRawHeader("Accept-Language", "*");
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    // A redirect may move within the server the build names, never to
    // another host, port or scheme (https to http included).
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::SameOriginRedirectPolicy);
    request.setMaximumRedirectsAllowed(QtNetwork::kMaxRedirects);
    return request;
}

QNetworkReply* send(QNetworkAccessManager& manager, const QUrl& address) {
    QNetworkReply* reply = manager.get(requestFor(address));
    // Qt stops reading from the socket while this much waits unread.
    reply->setReadBufferSize(QtNetwork::kMaxBody + 1);
    return reply;
}

}  // namespace

QtNetwork::QtNetwork(int getTimeoutMs)
    : manager_(std::make_unique<QNetworkAccessManager>()), getTimeoutMs_(getTimeoutMs) {}

QtNetwork::~QtNetwork() = default;

FetchResult QtNetwork::fetchText(const std::string& url, double timeoutSeconds) {
    const std::optional<QUrl> address = webAddress(url);
    if (!address) return failure("not a web address: " + url);
    // Within a millisecond and an hour: a bad value must neither hang nor
    // fail every fetch.
    const double seconds = std::isfinite(timeoutSeconds) ? timeoutSeconds : 30.0;
    const int timeoutMs = static_cast<int>(std::clamp(seconds, 0.001, 3600.0) * 1000.0);

    ModalScope modal;
    // The outcome lives with the reply's handlers, not on this stack: the
    // wait can end before the reply does (the application quitting).
    struct Wait {
        std::optional<FetchResult> result;
        QPointer<QEventLoop> loop;
    };
    auto wait = std::make_shared<Wait>();
    QEventLoop loop;
    wait->loop = &loop;
    const QPointer<QNetworkReply> reply = send(*manager_, *address);
    // An error page is no version number.
    const QPointer<QObject> handlers =
        collect(reply, timeoutMs, true, [wait](const FetchResult& outcome) {
            wait->result = outcome;
            if (wait->loop) wait->loop->quit();
        });
    if (!wait->result) loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!wait->result && reply) {
        // Nothing of this fetch may run after it returned.
        delete handlers.data();
        reply->abort();
        reply->deleteLater();
    }
    return wait->result.value_or(failure("the fetch was interrupted"));
}

void QtNetwork::get(const std::string& url, std::function<void(const FetchResult&)> done) {
    const std::optional<QUrl> address = webAddress(url);
    if (!address) {
        // Still later, on the main loop, as a reply would be.
        QTimer::singleShot(0, manager_.get(), [done, url] {
            if (done) done(failure("not a web address: " + url));
        });
        return;
    }
    // One time-out, collect()'s own: Qt's transfer time-out would end the
    // same wait first and call it "Operation canceled".
    // A usage event's reply is printed whatever its status.
    collect(send(*manager_, *address), getTimeoutMs_, false,
            [done = std::move(done)](const FetchResult& r) {
                if (done) done(r);
            });
}

}  // namespace tamsel::qt
