#include "mail/MXResolver.h"

#include "mail/RawSocket.h"

#include <QHostAddress>

namespace mail {

namespace {

const std::uint8_t *Bytes(const QByteArray &data)
{
    return reinterpret_cast<const std::uint8_t *>(data.constData());
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
    // One deadline for the server, however its answer arrives: a peer that trickles a byte at a
    // time keeps every single wait short of the time-out but cannot hold the whole lookup.
    deadline_ = QDeadlineTimer(qint64(TimeOut) * 1000);

    // A literal address only: the server list never needs a name lookup.
    QHostAddress server;
    if (!server.setAddress(DNSAddress))
        throw ESocketError(SocketCode::ResolveFailed);
    const std::vector<std::uint8_t> query = BuildMxQuery(Domain.toStdString());

    QByteArray answer = AskOverUdp(server, query);
    // A truncated answer may hold the worst hosts only: the whole one comes over TCP.
    if (IsTruncatedAnswer(Bytes(answer), std::size_t(answer.size()))) {
        try {
            answer = AskOverTcp(server, query);
        } catch (const ECanceledError &) {
            throw;
        } catch (const EMailError &) {
            // Without TCP the partial answer is still better than none.
        }
    }
    try {
        ParseMxAnswer(Bytes(answer), std::size_t(answer.size()), MXList);
    } catch (...) {
        SortMXList(MXList);
        throw;
    }
    SortMXList(MXList);
}

QByteArray TmsMXResolver::AskOverUdp(const QHostAddress &server, const std::vector<std::uint8_t> &query)
{
    // Connected, so the kernel drops datagrams of other peers and reports an ICMP refusal.
    TRawSocket socket(TRawSocket::Kind::Datagram, wait_);
    socket.Connect(server, Port, SecondsLeft(deadline_));
    socket.SendAll(reinterpret_cast<const char *>(query.data()), query.size(), SecondsLeft(deadline_));
    // Datagrams that do not answer this query are dropped; the deadline covers all of them.
    QByteArray answer(qsizetype(DnsMaxAnswer), Qt::Uninitialized);
    for (;;) {
        const std::size_t size = socket.Receive(answer.data(), DnsMaxAnswer, SecondsLeft(deadline_));
        if (IsReplyToQuery(query, Bytes(answer), size)) {
            answer.resize(qsizetype(size));
            return answer;
        }
    }
}

QByteArray TmsMXResolver::AskOverTcp(const QHostAddress &server, const std::vector<std::uint8_t> &query)
{
    TRawSocket socket(TRawSocket::Kind::Stream, wait_);
    socket.Connect(server, Port, SecondsLeft(deadline_));
    const std::vector<std::uint8_t> framed = FrameForTcp(query);
    socket.SendAll(reinterpret_cast<const char *>(framed.data()), framed.size(), SecondsLeft(deadline_));
    // Two length bytes, then the message; the server may send both in any pieces.
    QByteArray received;
    std::size_t wanted = 2;
    char buffer[4096];
    while (std::size_t(received.size()) < wanted) {
        const std::size_t n = socket.Receive(buffer, sizeof buffer, SecondsLeft(deadline_));
        if (n == 0)
            throw EResolverError("Malformed response: read past the end");
        received.append(buffer, qsizetype(n));
        if (wanted == 2 && received.size() >= 2)
            wanted = 2 + (std::size_t(Bytes(received)[0]) << 8 | Bytes(received)[1]);
    }
    QByteArray answer = received.mid(2, qsizetype(wanted - 2));
    if (!IsReplyToQuery(query, Bytes(answer), std::size_t(answer.size())))
        throw EResolverError("IDs in the query and response are different");
    return answer;
}

} // namespace mail
