// Stand-in for the Quorix editor on the D-Bus session bus, for tests of the host editor link.
//
// Owns com.tembrel.Quorix, answers WM_ISQUORIXRUNNING on /Quorix (interface com.tembrel.Quorix)
// and offers getworkdir, isopendoc, opennewfile and puttextatcursor on /Quorix4/Plugin (interface
// Quorix4.Plugin). Prints "ready" on standard output once it owns the name; exits with 2 when the
// name is taken or the bus is missing. Flags:
//   --record FILE        append one line per call received: the method name, then each argument
//                        as a space and its percent-encoded UTF-8 text (CR LF survive exactly)
//   --answer N           detection answer (default 1)
//   --detect-delay MS    answer the detection only after MS milliseconds
//   --delay MS           answer every automation call only after MS milliseconds
//   --workdir TEXT       answer of getworkdir (default empty)
//   --opendoc TEXT       answer of isopendoc (default "true")
//   --fail METHOD        answer METHOD with a D-Bus error; repeatable, "all" for every automation call
//   --fail-text TEXT     message of those errors (default "Quorix refused the call")
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
        const QStringList failing = Flags.values(QStringLiteral("fail"));
        if (failing.contains(method) || failing.contains(QStringLiteral("all"))) {
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
