// Peer programs for network tests: free loopback ports, waiting, and a process stopped with its owner.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUdpSocket>

#include <functional>

// Processes events until the condition holds or the time is up; returns the condition.
inline bool WaitUntil(const std::function<bool()> &condition, int ms)
{
    QElapsedTimer clock;
    for (clock.start(); !condition(); QThread::msleep(10)) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Loopback TCP and UDP ports that nobody listens on right now.
inline quint16 FreeTcpPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}
inline quint16 FreeUdpPort()
{
    QUdpSocket probe;
    return probe.bind(QHostAddress::LocalHost, 0) ? probe.localPort() : 0;
}

inline bool TcpListens(quint16 port, const QHostAddress &host = QHostAddress::LocalHost)
{
    QTcpSocket socket;
    socket.connectToHost(host, port);
    return socket.waitForConnected(500);
}

class TPeerProcess {
public:
    // Terminated first so the peer ends cleanly; QProcess kills whatever is left.
    ~TPeerProcess()
    {
        process_.terminate();
        process_.waitForFinished(5000);
    }

    // Starts the program and waits until it is ready; false when it exits or never gets there.
    bool Start(const QString &program, const QStringList &arguments, const std::function<bool()> &ready)
    {
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.start(program, arguments);
        return process_.waitForStarted(5000) && WaitUntil([&] { return process_.state() != QProcess::Running || ready(); }, 15000)
               && process_.state() == QProcess::Running;
    }

private:
    QProcess process_;
};
