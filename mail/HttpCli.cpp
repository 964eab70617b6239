// Moves the bytes of one GET exchange and waits for them while events keep being processed.
#include "mail/HttpCli.h"

#include "mail/SocketErrorCodes.h"
#include "mail/core/MailErrors.h"
#include "mail/core/HttpRequest.h"
#include "mail/core/HttpResponse.h"

#include <QNetworkProxy>
#include <QTcpSocket>

#include <chrono>

namespace mail {

THttpCli::THttpCli(QObject *parent) : QObject(parent) {}

void THttpCli::Get()
{
    StatusCode = 0;
    ReasonPhrase.clear();
    deadline_ = QDeadlineTimer(std::chrono::seconds(TimeOut));
    THttpAddress target = SplitHttpAddress(URL.toStdString());
    for (int redirections = 0;; ++redirections) {
        THttpResponseParser response(MaxBodySize);
        Exchange(target, response);
        StatusCode = response.StatusCode;
        ReasonPhrase = QString::fromLatin1(response.ReasonPhrase);
        if (response.IsRedirection()) {
            if (redirections >= MaxRedirections)
                throw EHttpProtocolError("Too many redirections");
            target = ResolveRedirection(target, response.Location);
            continue;
        }
        if (StatusCode >= 400)
            throw EHttpException(StatusCode, response.ReasonPhrase);
        for (const std::string &line : response.BodyLines)
            RcvdBody.append(QString::fromLatin1(line));
        return;
    }
}

void THttpCli::Exchange(const THttpAddress &target, THttpResponseParser &response)
{
    const bool viaProxy = !Proxy.isEmpty();
    const std::string request = BuildHttpRequest(target, Agent.toStdString(), NoCache, viaProxy);
    const QString host = viaProxy ? Proxy : QString::fromStdString(target.Host);
    bool portValid = false;
    const quint16 port = (viaProxy ? ProxyPort : QString::fromStdString(target.Port)).toUShort(&portValid);
    if (!portValid || port == 0)
        throw EHttpProtocolError("Invalid port");

    QTcpSocket socket;
    // Only the named server or proxy is contacted, whatever the environment asks for.
    socket.setProxy(QNetworkProxy::NoProxy);
    bool failed = false;
    const auto failure = connect(&socket, &QAbstractSocket::errorOccurred, this,
                                 [&failed] { failed = true; });
    Q_ASSERT(failure);
    socket.connectToHost(host, port);
    WaitUntil([&] {
        if (failed)
            throw SocketErrorFromQt(socket);
        return socket.state() == QAbstractSocket::ConnectedState;
    });

    socket.write(request.data(), static_cast<qint64>(request.size()));
    WaitUntil([&] {
        const QByteArray bytes = socket.readAll();
        response.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        if (response.Complete() || response.IsRedirection())
            return true;
        if (failed && socket.error() != QAbstractSocket::RemoteHostClosedError)
            throw SocketErrorFromQt(socket);
        // A body without a length ends when the server closes the connection.
        if (failed || socket.state() == QAbstractSocket::UnconnectedState) {
            response.Finish();
            return true;
        }
        return false;
    });
    socket.abort();
}

void THttpCli::WaitUntil(const std::function<bool()> &done)
{
    // One limit for the whole request: each wait gets the whole seconds that are left of it.
    const qint64 left = deadline_.remainingTime();
    if (left == 0)
        throw ETimedOutError();
    wait_.Wait(done, static_cast<int>((left + 999) / 1000));
}

} // namespace mail
