// Asks one DNS server for the MX records of a domain over UDP, keeping the window responsive.
#pragma once

#include "mail/SocketWait.h"
#include "mail/core/DnsMessage.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QObject>
#include <QString>

namespace mail {

class TmsMXResolver : public QObject {
    Q_OBJECT
public:
    explicit TmsMXResolver(QObject *parent = nullptr);

    // One query against DNSAddress for Domain; fills MXList, smallest preference first.
    // A truncated answer is asked for again over TCP; TimeOut bounds both exchanges together.
    // Raises ESocketError (at once when the server's port refuses), ETimedOutError,
    // ECanceledError or EResolverError; records read before a fault in the answer stay in MXList.
    void Resolve();
    // Ends the wait in progress with ECanceledError.
    void Cancel();

    QString DNSAddress;
    QString Domain;
    int TimeOut = 60;
    quint16 Port = 53;
    TMXList MXList;

private:
    QByteArray AskOverUdp(const QHostAddress &server, const std::vector<std::uint8_t> &query);
    QByteArray AskOverTcp(const QHostAddress &server, const std::vector<std::uint8_t> &query);

    TSocketWait wait_;
    QDeadlineTimer deadline_;
};

} // namespace mail
