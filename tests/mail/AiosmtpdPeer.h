// A real SMTP peer for tests and benchmarks: aiosmtpd on a free loopback port, storing every
// message it accepts in a maildir.
#pragma once

#include "PeerProcess.h"

#include <QDir>
#include <QTemporaryDir>

class TAiosmtpdPeer {
public:
    // Starts the server and waits until it takes connections; a port of 0 takes a free one.
    bool Start(const QString &host = QStringLiteral("127.0.0.1"), quint16 port = 0)
    {
        host_ = host;
        port_ = port ? port : FreeTcpPort();
        return process_.Start("/usr/bin/python3", {"-m", "aiosmtpd", "-n", "-l", Server(), "-c", "aiosmtpd.handlers.Mailbox",
                                                   dir_.filePath("maildir")},
                              [this] { return TcpListens(port_, QHostAddress(host_)); });
    }

    quint16 Port() const { return port_; }
    QString Server() const { return QString("%1:%2").arg(host_).arg(port_); }

    // Every stored message, oldest first; the handler creates the maildir with the first.
    QList<QByteArray> Messages() const
    {
        QList<QByteArray> messages;
        for (const QFileInfo &info : QDir(dir_.filePath("maildir/new")).entryInfoList(QDir::Files, QDir::Time | QDir::Reversed)) {
            QFile file(info.filePath());
            messages.append(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        }
        return messages;
    }

private:
    QTemporaryDir dir_;
    TPeerProcess process_;
    QString host_;
    quint16 port_ = 0;
};
