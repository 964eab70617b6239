// A real SMTP peer for tests and benchmarks: aiosmtpd on a free loopback port, storing every
// message it accepts in a maildir.
#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

class TAiosmtpdPeer {
public:
    TAiosmtpdPeer() = default;
    TAiosmtpdPeer(const TAiosmtpdPeer &) = delete;
    TAiosmtpdPeer &operator=(const TAiosmtpdPeer &) = delete;
    ~TAiosmtpdPeer() { Stop(); }

    // Starts the server and waits until it takes connections; false when it does not come up.
    bool Start()
    {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0))
            return false;
        port_ = probe.serverPort();
        probe.close();
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start("/usr/bin/python3", {"-m", "aiosmtpd", "-n", "-l", QString("127.0.0.1:%1").arg(port_), "-c",
                                            "aiosmtpd.handlers.Mailbox", MailDir()});
        if (!process_.waitForStarted(5000))
            return false;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 15000 && process_.state() == QProcess::Running) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port_);
            if (socket.waitForConnected(500) && socket.waitForReadyRead(2000) && socket.readAll().startsWith("220")) {
                socket.write("QUIT\r\n");
                socket.waitForBytesWritten(1000);
                return true;
            }
            QThread::msleep(100);
        }
        return false;
    }

    void Stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }

    quint16 Port() const { return port_; }
    QString Server() const { return QString("127.0.0.1:%1").arg(port_); }
    // The maildir does not exist before the first message: the handler creates it.
    QString MailDir() const { return dir_.filePath("maildir"); }

    // Every stored message, oldest first.
    QList<QByteArray> Messages() const
    {
        QList<QByteArray> messages;
        const QDir folder(MailDir() + "/new");
        for (const QFileInfo &info : folder.entryInfoList(QDir::Files, QDir::Time | QDir::Reversed)) {
            QFile file(info.filePath());
            if (file.open(QIODevice::ReadOnly))
                messages.append(file.readAll());
        }
        return messages;
    }

private:
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
};
