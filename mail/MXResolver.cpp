#include "mail/MXResolver.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QUdpSocket>

namespace mail {

namespace {

// Windows Sockets codes for the errors a UDP exchange can meet.
int SocketErrorCode(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return 10061;
    case QAbstractSocket::NetworkError: return 10051;
    case QAbstractSocket::SocketAccessError: return 10013;
    case QAbstractSocket::SocketResourceError: return 10055;
    case QAbstractSocket::SocketTimeoutError: return 10060;
    case QAbstractSocket::DatagramTooLargeError: return 10040;
    case QAbstractSocket::AddressInUseError: return 10048;
    case QAbstractSocket::SocketAddressNotAvailableError: return 10049;
    case QAbstractSocket::UnsupportedSocketOperationError: return 10045;
    default: return 10022;
    }
}

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
        throw ESocketError(10049);
    const std::vector<std::uint8_t> query = BuildMxQuery(Domain.toStdString());

    QUdpSocket socket;
    QAbstractSocket::SocketError failure = QAbstractSocket::UnknownSocketError;
    bool failed = false;
    connect(&socket, &QAbstractSocket::errorOccurred, this,
            [&](QAbstractSocket::SocketError error) {
                failure = error;
                failed = true;
            });
    const auto raiseIfFailed = [&] {
        if (failed)
            throw ESocketError(SocketErrorCode(failure));
    };

    // Connected, so the kernel already drops datagrams of other peers.
    socket.connectToHost(server, Port);
    const auto connected = [&] { return failed || socket.state() == QAbstractSocket::ConnectedState; };
    if (!connected())
        wait_.Wait(connected, TimeOut);
    raiseIfFailed();
    if (socket.write(reinterpret_cast<const char *>(query.data()), qint64(query.size()))
        != qint64(query.size())) {
        raiseIfFailed();
        throw ESocketError(SocketErrorCode(socket.error()));
    }

    // Datagrams that do not answer this query are dropped; the time-out covers all of them.
    const QDeadlineTimer deadline(qint64(TimeOut) * 1000);
    QByteArray answer(qsizetype(DnsMaxAnswer), Qt::Uninitialized);
    for (;;) {
        const auto readable = [&] {
            return failed || socket.hasPendingDatagrams() || deadline.hasExpired();
        };
        if (!readable())
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
            throw ESocketError(SocketErrorCode(socket.error()));
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
