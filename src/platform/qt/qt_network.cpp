#include "platform/qt/qt_network.h"

#include <QCoreApplication>
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
void collect(QNetworkReply* reply, int timeoutMs, bool errorStatusFails,
             std::function<void(const FetchResult&)> finish) {
    struct State {
        QByteArray body;
        bool tooLarge = false;
        bool timedOut = false;
    };
    auto state = std::make_shared<State>();

    auto* timer = new QTimer(reply);
    timer->setSingleShot(true);
    // A coarse timer may end the wait up to 5 % early.
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, reply, [reply, state] {
        state->timedOut = true;
        reply->abort();
    });
    timer->start(timeoutMs);

    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, state] {
        if (state->tooLarge) return;
        state->body += reply->read(QtNetwork::kMaxBody + 1 - state->body.size());
        if (state->body.size() > QtNetwork::kMaxBody) {
            state->tooLarge = true;
            reply->abort();
        }
    });

    QObject::connect(
        reply, &QNetworkReply::finished, reply,
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
}

QNetworkRequest requestFor(const QUrl& address) {
    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Tamsel/") + QCoreApplication::applicationVersion());
    return request;
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
    QEventLoop loop;
    FetchResult result;
    bool finished = false;
    // An error page is no version number.
    collect(manager_->get(requestFor(*address)), timeoutMs, true,
            [&result, &finished, &loop](const FetchResult& outcome) {
                result = outcome;
                finished = true;
                loop.quit();
            });
    if (!finished) loop.exec(QEventLoop::ExcludeUserInputEvents);
    return result;
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
    collect(manager_->get(requestFor(*address)), getTimeoutMs_, false,
            [done = std::move(done)](const FetchResult& r) {
                if (done) done(r);
            });
}

}  // namespace tamsel::qt
