#pragma once

#include <QtGlobal>
#include <memory>

#include "common/platform.h"

class QNetworkAccessManager;

namespace tamsel::qt {

// HTTP GET of short texts. A failure is any transport error, a status of
// 400 or more, a time-out, a body over kMaxBody, or a redirect that leaves
// the server asked.
class QtNetwork : public Network {
public:
    // getTimeoutMs: how long an asynchronous GET may take in all.
    explicit QtNetwork(int getTimeoutMs = kGetTimeoutMs);
    ~QtNetwork() override;
    // Waits in a nested loop that takes no user input and holds back every
    // timer of the system, so nothing else of Tamsel runs meanwhile.
    FetchResult fetchText(const std::string& url, double timeoutSeconds) override;
    void get(const std::string& url, std::function<void(const FetchResult&)> done) override;

    static constexpr qint64 kMaxBody = 64 * 1024;
    static constexpr int kGetTimeoutMs = 30'000;
    // Redirects within the same server (scheme, host and port) only.
    static constexpr int kMaxRedirects = 3;

private:
    std::unique_ptr<QNetworkAccessManager> manager_;
    int getTimeoutMs_;
};

}  // namespace tamsel::qt
