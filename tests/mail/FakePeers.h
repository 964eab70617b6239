// In-process DNS, SMTP and HTTP servers on loopback, scripted for what real servers will not do.
#pragma once

#include "PeerProcess.h"
#include "core/DnsTestAnswers.h"

#include "mail/MailHostLookup.h"

#include <QFile>
#include <QNetworkDatagram>

#include <gtest/gtest.h>

#include <sys/socket.h>

// Hands each DNS query to the test's responder.
class TFakeDnsServer {
public:
    using Responder = std::function<void(TFakeDnsServer &, unsigned id, const QNetworkDatagram &)>;

    explicit TFakeDnsServer(Responder responder, const char *address = "127.0.0.1", quint16 port = 0)
    {
        EXPECT_TRUE(socket_.bind(QHostAddress(QString::fromLatin1(address)), port)) << address;
        QObject::connect(&socket_, &QUdpSocket::readyRead, &socket_, [this, responder] {
            for (QNetworkDatagram query; socket_.hasPendingDatagrams(); ++Queries) {
                query = socket_.receiveDatagram();
                responder(*this, unsigned(quint8(query.data()[0]) << 8 | quint8(query.data()[1])), query);
            }
        });
    }
    void Reply(const QNetworkDatagram &query, const std::vector<std::uint8_t> &answer)
    {
        socket_.writeDatagram(reinterpret_cast<const char *>(answer.data()), qint64(answer.size()), query.senderAddress(),
                              quint16(query.senderPort()));
    }
    quint16 Port() const { return socket_.localPort(); }

    int Queries = 0;

private:
    QUdpSocket socket_;
};

inline TFakeDnsServer::Responder Answering(const mail::TMXList &records, unsigned rcode = 0)
{
    return [records, rcode](TFakeDnsServer &server, unsigned id, const QNetworkDatagram &query) {
        server.Reply(query, mail::test::MxAnswer(id, "example.test", records, rcode));
    };
}

// Writes the private resolver configuration that the test main points the lookup at.
inline void WriteResolvConf(const QByteArray &content)
{
    QFile file(mail::TMailHostLookup::ResolvConfPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
}

// Gives the usual positive SMTP answers, except that the command starting with `command` gets `reply`.
class FakeSmtpServer : public QObject {
public:
    explicit FakeSmtpServer(QByteArray greeting = "220 fake ready\r\n", QByteArray command = {}, QByteArray reply = {},
                            const QHostAddress &address = QHostAddress::LocalHost, quint16 port = 0)
    {
        server_.listen(address, port);
        connect(&server_, &QTcpServer::newConnection, this, [=, this] {
            while (QTcpSocket *client = server_.nextPendingConnection()) {
                ++Connections;
                ClientClosed = false;
                connect(client, &QTcpSocket::readyRead, this, [=, this] { Read(client, command, reply); });
                connect(client, &QTcpSocket::disconnected, this, [this] { ClientClosed = true; });
                client->write(greeting);
            }
        });
    }
    QString Server() const { return QString("127.0.0.1:%1").arg(server_.serverPort()); }

    QList<QByteArray> Received; // command lines, "<text>" for a whole message
    int Connections = 0;
    bool ClientClosed = false;

private:
    void Read(QTcpSocket *client, const QByteArray &command, const QByteArray &reply)
    {
        buffer_ += client->readAll();
        for (qsizetype end; (end = buffer_.indexOf("\r\n")) >= 0; buffer_.remove(0, end + 2)) {
            const QByteArray line = buffer_.left(end);
            if (inData_ && line != ".")
                continue;
            Received.append(inData_ ? "<text>" : line);
            const QByteArray usual = inData_ ? "250 queued\r\n" : line == "DATA" ? "354 go ahead\r\n"
                                                             : line == "QUIT" ? "221 bye\r\n" : "250 ok\r\n";
            inData_ = line == "DATA";
            client->write(!command.isEmpty() && line.startsWith(command) ? reply : usual);
        }
    }

    QTcpServer server_;
    QByteArray buffer_;
    bool inData_ = false;
};

// Answers each HTTP request with what the handler returns for its request line and closes, unless
// KeepOpen or Reset (a connection reset instead of a close); a null answer leaves it silent.
class TFakeHttpServer : public QObject {
public:
    explicit TFakeHttpServer(std::function<QByteArray(const QByteArray &)> handler)
    {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost));
        connect(&server_, &QTcpServer::newConnection, this, [this, handler] {
            QTcpSocket *socket = server_.nextPendingConnection();
            connect(socket, &QIODevice::readyRead, this, [this, socket, handler] {
                Requests.append(socket->readAll());
                const QByteArray answer = handler(Requests.last().left(Requests.last().indexOf('\r')));
                socket->write(answer);
                socket->flush();
                const linger abortive{1, 0};
                if (Reset && setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive) == 0)
                    socket->abort();
                else if (!answer.isNull() && !KeepOpen)
                    socket->disconnectFromHost();
            });
        });
    }
    QString Url(const QString &path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path); }

    QList<QByteArray> Requests;
    bool KeepOpen = false, Reset = false;

private:
    QTcpServer server_;
};
