// Runs tests/output/fake_quorix beside the test program and reads back what it was given.
#pragma once

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

class TFakeQuorix {
public:
    ~TFakeQuorix() { Stop(); }

    // Starts the fake with extra flags and waits until it owns its bus name; false if it never did.
    bool Start(const QStringList &flags = {})
    {
        Process.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/fake_quorix"));
        Process.setArguments(QStringList{QStringLiteral("--record"), RecordPath()} + flags);
        Process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        Process.start();
        if (!Process.waitForStarted(10000))
            return false;
        const QDeadlineTimer deadline(10000);
        while (!Process.canReadLine()) {
            if (deadline.hasExpired() || !Process.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
                return false;
        }
        return Process.readLine().trimmed() == "ready";
    }

    // Ends the fake and waits until its name has left the bus.
    void Stop()
    {
        if (Process.state() == QProcess::NotRunning)
            return;
        Process.kill();
        Process.waitForFinished(10000);
        const QDeadlineTimer deadline(5000);
        QDBusConnectionInterface *names = QDBusConnection::sessionBus().interface();
        while (names && names->isServiceRegistered(QStringLiteral("com.tembrel.Quorix")).value()
               && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    // One entry per call received: the method name, then each argument decoded, space-separated.
    QStringList Calls() const
    {
        QFile file(RecordPath());
        QStringList calls;
        // Separators are plain spaces and arguments hold none, so a line decodes as a whole.
        for (const QByteArray &line : file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray>())
            if (!line.isEmpty())
                calls << QString::fromUtf8(QByteArray::fromPercentEncoding(line));
        return calls;
    }

private:
    QString RecordPath() const { return Folder.filePath(QStringLiteral("calls.txt")); }

    QTemporaryDir Folder;
    QProcess Process;
};
