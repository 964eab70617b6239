#include "mail/MXResolver.h"

#include "mail/SocketErrorCodes.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QUdpSocket>

namespace mail {

namespace {

bool SameHost(const QHostAddress &a, const QHostAddress &b)
{
    return a.isEqual(b, QHostAddress::TolerantConversion);
}

} // namespace

TmsMXResolver::TmsMXResolver(QObject *parent) : QObject(parent) {}

void TmsMXResolver::Cancel()
{
    wait_.Cancel();
}

void TmsMXResolver::Resolve()
{
    wait_.ClearFlags();
    MXList.clear();

    // A literal address only: the server list never needs a name lookup.
    QHostAddress server;
    if (!server.setAddress(DNSAddress))
        throw ESocketError(SocketCode::ResolveFailed);
    const std::vector<std::uint8_t> query = BuildMxQuery(Domain.toStdString());

    QUdpSocket socket;
    bool failed = false;
    connect(&socket, &QAbstractSocket::errorOccurred, this, [&](QAbstractSocket::SocketError error) {
        // "Would block" is no failure; the wait simply goes on.
        if (error != QAbstractSocket::TemporaryError)
            failed = true;
    });
    const auto raiseIfFailed = [&] {
        if (failed)
            throw SocketErrorFromQt(socket);
    };

    // Connected, so the kernel already drops datagrams of other peers.
    socket.connectToHost(server, Port);
    const auto connected = [&] { return failed || socket.state() == QAbstractSocket::ConnectedState; };
    wait_.Wait(connected, TimeOut);
    raiseIfFailed();
    if (socket.write(reinterpret_cast<const char *>(query.data()), qint64(query.size()))
        != qint64(query.size())) {
        raiseIfFailed();
        throw SocketErrorFromQt(socket);
    }

    // Datagrams that do not answer this query are dropped; the time-out covers all of them.
    const QDeadlineTimer deadline(qint64(TimeOut) * 1000);
    QByteArray answer(qsizetype(DnsMaxAnswer), Qt::Uninitialized);
    for (;;) {
        const auto readable = [&] {
            return failed || socket.hasPendingDatagrams() || deadline.hasExpired();
        };
        wait_.Wait(readable, TimeOut);
        raiseIfFailed();
        if (!socket.hasPendingDatagrams())
            throw ETimedOutError();
        QHostAddress sender;
        quint16 senderPort = 0;
        const qint64 size = socket.readDatagram(answer.data(), answer.size(), &sender, &senderPort);
        if (size < 0) {
            // Qt reports a datagram that vanished (as after an ICMP refusal) as temporary.
            if (socket.error() == QAbstractSocket::TemporaryError)
                continue;
            throw SocketErrorFromQt(socket);
        }
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(answer.constData());
        if (SameHost(sender, server) && senderPort == Port
            && IsReplyToQuery(query, bytes, std::size_t(size))) {
            try {
                ParseMxAnswer(bytes, std::size_t(size), MXList);
            } catch (...) {
                SortMXList(MXList);
                throw;
            }
            SortMXList(MXList);
            return;
        }
    }
}

} // namespace mail
