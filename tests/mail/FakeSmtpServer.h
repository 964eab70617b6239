// A scripted SMTP server in this process, for what a real server will not do.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

// Gives the usual positive answers, except that the command starting with `command` gets `reply`.
class FakeSmtpServer : public QObject {
public:
    explicit FakeSmtpServer(QByteArray greeting = "220 fake ready\r\n", QByteArray command = {}, QByteArray reply = {},
                            const QHostAddress &address = QHostAddress::LocalHost, quint16 port = 0)
        : greeting_(std::move(greeting)), command_(std::move(command)), reply_(std::move(reply))
    {
        server_.listen(address, port);
        QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *client = server_.nextPendingConnection()) {
                ++Connections;
                ClientClosed = false;
                QObject::connect(client, &QTcpSocket::readyRead, this, [this, client] { Read(client); });
                QObject::connect(client, &QTcpSocket::disconnected, this, [this] { ClientClosed = true; });
                client->write(greeting_);
            }
        });
    }

    // By name, so that the client resolves it.
    QString Server() const { return QString("127.0.0.1:%1").arg(server_.serverPort()); }

    QList<QByteArray> Received; // command lines, "<text>" for a whole message
    int Connections = 0;
    QByteArray SilentFor; // commands starting with this get no reply of their own
    bool ClientClosed = false;

private:
    void Read(QTcpSocket *client)
    {
        buffer_ += client->readAll();
        for (qsizetype end; (end = buffer_.indexOf("\r\n")) >= 0;) {
            const QByteArray line = buffer_.left(end);
            buffer_.remove(0, end + 2);
            if (inData_ && line != ".")
                continue;
            Received.append(inData_ ? "<text>" : line);
            const QByteArray usual = inData_ ? "250 queued\r\n" : line == "DATA" ? "354 go ahead\r\n"
                                                             : line == "QUIT" ? "221 bye\r\n" : "250 ok\r\n";
            inData_ = line == "DATA";
            if (SilentFor.isEmpty() || !line.startsWith(SilentFor))
                client->write(!command_.isEmpty() && line.startsWith(command_) ? reply_ : usual);
        }
    }

    QTcpServer server_;
    QByteArray greeting_, command_, reply_, buffer_;
    bool inData_ = false;
};

