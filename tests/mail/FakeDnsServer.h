// A DNS server in this process that hands each query to the test's responder.
#pragma once

#include "core/DnsTestAnswers.h"

#include "mail/MailHostLookup.h"

#include <QFile>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <functional>

class TFakeDnsServer {
public:
    using Responder = std::function<void(TFakeDnsServer &, unsigned id, const QNetworkDatagram &)>;

    explicit TFakeDnsServer(Responder responder, const char *address = "127.0.0.1", quint16 port = 0)
        : responder_(std::move(responder))
    {
        EXPECT_TRUE(socket_.bind(QHostAddress(QString::fromLatin1(address)), port)) << address;
        QObject::connect(&socket_, &QUdpSocket::readyRead, &socket_, [this] {
            while (socket_.hasPendingDatagrams()) {
                const QNetworkDatagram query = socket_.receiveDatagram();
                ++Queries;
                responder_(*this, unsigned(quint8(query.data()[0]) << 8 | quint8(query.data()[1])), query);
            }
        });
    }
    void Reply(const QNetworkDatagram &query, const std::vector<std::uint8_t> &answer)
    {
        socket_.writeDatagram(reinterpret_cast<const char *>(answer.data()), qint64(answer.size()),
                              query.senderAddress(), quint16(query.senderPort()));
    }
    quint16 Port() const { return socket_.localPort(); }

    int Queries = 0;

private:
    QUdpSocket socket_;
    Responder responder_;
};

// Writes the private resolver configuration that the test main points the lookup at.
inline void WriteResolvConf(const QByteArray &content)
{
    QFile file(mail::TMailHostLookup::ResolvConfPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

inline TFakeDnsServer::Responder Answering(const mail::TMXList &records, unsigned rcode = 0)
{
    return [records, rcode](TFakeDnsServer &server, unsigned id, const QNetworkDatagram &query) {
        server.Reply(query, mail::test::MxAnswer(id, "example.test", records, rcode));
    };
}

