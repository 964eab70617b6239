// Moves the bytes of one GET exchange and waits for them while events keep being processed.
#include "mail/HttpCli.h"

#include "mail/HostNameLookup.h"
#include "mail/RawSocket.h"
#include "mail/core/MailErrors.h"
#include "mail/core/HttpRequest.h"
#include "mail/core/HttpResponse.h"

#include <chrono>

namespace mail {

THttpCli::THttpCli(QObject *parent) : QObject(parent) {}

void THttpCli::Cancel()
{
    wait_.Cancel();
}

void THttpCli::Get()
{
    wait_.ClearFlags();
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

    // Only the named server or proxy is contacted, whatever the environment asks for.
    THostNameLookup lookup;
    const QHostAddress address = lookup.Resolve(host, wait_, SecondsLeft(deadline_));
    TRawSocket socket(TRawSocket::Kind::Stream, wait_);
    socket.Connect(address, port, SecondsLeft(deadline_));
    socket.SendAll(request.data(), request.size(), SecondsLeft(deadline_));

    // A body without a length ends when the server closes the connection in order; a reset on
    // the way raises, so a cut-off list is never taken for the whole one.
    char buffer[4096];
    while (!response.Complete() && !response.IsRedirection()) {
        const std::size_t received = socket.Receive(buffer, sizeof buffer, SecondsLeft(deadline_));
        if (received == 0) {
            response.Finish();
            break;
        }
        response.Feed(std::string_view(buffer, received));
    }
}

} // namespace mail
