// HTTP client that fetches one small text document (the DNS list file) with a GET request.
#pragma once

#include "mail/SocketWait.h"
#include "mail/core/HttpErrors.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace mail {

class THttpResponseParser;
struct THttpAddress;

class THttpCli : public QObject {
    Q_OBJECT
public:
    explicit THttpCli(QObject *parent = nullptr);

    // Fetches URL, following redirections, and appends the body lines to RcvdBody. Waits while
    // processing events. Throws EHttpException for a status of 400 or above, ESocketError when
    // the connection fails or is reset, ETimedOutError after TimeOut and EHttpProtocolError
    // otherwise.
    void Get();
    // Ends the wait in progress with ECanceledError.
    void Cancel();

    QString URL;
    QString Agent;
    QStringList RcvdBody;
    bool NoCache = false;
    QString Proxy;                           // empty: direct connection
    QString ProxyPort = QStringLiteral("80");
    int TimeOut = 30;                        // seconds for the whole Get, redirections included
    int MaxRedirections = 5;
    std::uint64_t MaxBodySize = 1024 * 1024;

    int StatusCode = 0;
    QString ReasonPhrase;

private:
    void Exchange(const THttpAddress &target, THttpResponseParser &response);
    QDeadlineTimer deadline_;
    TSocketWait wait_;
};

} // namespace mail
