// Stand-in for the Quorix editor on the D-Bus session bus, for tests of the host editor link.
//
// Owns com.tembrel.Quorix with the detection call on /Quorix and the automation calls on
// /Quorix4/Plugin; prints "ready" once it owns the name, exits with 2 when it cannot. --record FILE
// appends one line per call: the method, then each argument percent-encoded (CR LF survive).
// --answer, --workdir and --opendoc give the answers, --detect-delay and --delay (ms) hold them
// back, --fail METHOD (repeatable) fails a call with --fail-text; defaults are in main.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusMessage>
#include <QFile>
#include <QTimer>

#include <cstdio>

namespace {

QCommandLineParser Flags;

QString Flag(const char *name) { return Flags.value(QString::fromLatin1(name)); }

// Appends each call with its arguments to the record file and answers it, late if asked to.
class TResponder : public QObject, protected QDBusContext {
    // Q_OBJECT lets QtDBus find the call context of the derived objects.
    Q_OBJECT
protected:
    static void Record(const QString &method, const QStringList &arguments)
    {
        QByteArray line = method.toUtf8();
        for (const QString &argument : arguments)
            line += ' ' + argument.toUtf8().toPercentEncoding();
        QFile file(Flag("record"));
        if (!file.fileName().isEmpty() && file.open(QIODevice::Append))
            file.write(line + '\n');
    }

    // Returns the value to hand to QtDBus; when the answer must wait it is sent later instead.
    template <typename T> T Answer(const T &value, int delayMs)
    {
        if (delayMs <= 0)
            return value;
        setDelayedReply(true);
        const QDBusMessage reply = message().createReply(QVariant::fromValue(value));
        QDBusConnection bus = connection();
        QTimer::singleShot(delayMs, this, [bus, reply]() mutable { bus.send(reply); });
        return {};
    }
};

class TFakeDetector : public TResponder {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.tembrel.Quorix")
public slots:
    int WM_ISQUORIXRUNNING(int wParam, int lParam)
    {
        Record(QStringLiteral("WM_ISQUORIXRUNNING"), {QString::number(wParam), QString::number(lParam)});
        return Answer(Flag("answer").toInt(), Flag("detect-delay").toInt());
    }
};

class TFakePlugin : public TResponder {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "Quorix4.Plugin")
public slots:
    QString getworkdir() { return Reply(QStringLiteral("getworkdir"), {}, Flag("workdir")); }
    QString isopendoc() { return Reply(QStringLiteral("isopendoc"), {}, Flag("opendoc")); }
    QString opennewfile() { return Reply(QStringLiteral("opennewfile"), {}, QString()); }
    QString puttextatcursor(const QString &text) { return Reply(QStringLiteral("puttextatcursor"), {text}, QString()); }

private:
    QString Reply(const QString &method, const QStringList &arguments, const QString &value)
    {
        Record(method, arguments);
        if (Flags.values(QStringLiteral("fail")).contains(method)) {
            sendErrorReply(QDBusError::Failed, Flag("fail-text"));
            return {};
        }
        return Answer(value, Flag("delay").toInt());
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const std::pair<const char *, const char *> flags[] = {
        {"record", ""},  {"answer", "1"},     {"detect-delay", "0"}, {"delay", "0"},
        {"workdir", ""}, {"opendoc", "true"}, {"fail", ""},          {"fail-text", "Quorix refused the call"}};
    for (const auto &[name, defaultValue] : flags)
        Flags.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value"),
                                           QString::fromLatin1(defaultValue)));
    Flags.process(app);

    QDBusConnection bus = QDBusConnection::sessionBus();
    TFakeDetector detector;
    TFakePlugin plugin;
    if (!bus.registerObject(QStringLiteral("/Quorix"), &detector, QDBusConnection::ExportAllSlots)
        || !bus.registerObject(QStringLiteral("/Quorix4/Plugin"), &plugin, QDBusConnection::ExportAllSlots)
        || !bus.registerService(QStringLiteral("com.tembrel.Quorix"))) {
        std::fprintf(stderr, "fake_quorix: %s\n", qPrintable(bus.lastError().message()));
        return 2;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "fake_quorix.moc"
