#include "output/HostLink.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>

namespace {

QString Latin1(const char *text) { return QString::fromLatin1(text); }

} // namespace

QString RegisterQuorixMessage() { return Latin1(quorixbus::DetectMethod); }

bool QuorixRunning(const QDBusConnection &bus)
{
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(Latin1(quorixbus::Service), Latin1(quorixbus::DetectPath),
                                                       Latin1(quorixbus::DetectInterface),
                                                       Latin1(quorixbus::DetectMethod));
    call << 0 << 0;
    // Block without an event loop: nothing else may run while start-up waits for the answer.
    const QDBusMessage reply = bus.call(call, QDBus::Block, quorixbus::DetectTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    bool isNumber = false;
    const qlonglong answer = reply.arguments().constFirst().toLongLong(&isNumber);
    return isNumber && answer > 0;
}

EQuorixError::EQuorixError(const QString &text) : std::runtime_error(text.toStdString()), Message(text) {}

TQuorixPlugin::TQuorixPlugin(const QDBusConnection &bus) : Bus(bus)
{
    if (!Bus.isConnected()) {
        const QString reason = Bus.lastError().message();
        throw EQuorixError(reason.isEmpty() ? QStringLiteral("Not connected to the D-Bus session bus.") : reason);
    }
    const QDBusConnectionInterface *names = Bus.interface();
    if (!names || !names->isServiceRegistered(Latin1(quorixbus::Service)).value())
        throw EQuorixError(QStringLiteral("Cannot create the object \"%1\": Quorix is not running.")
                               .arg(Latin1(quorixbus::PluginInterface)));
}

QString TQuorixPlugin::getworkdir() { return Call(QStringLiteral("getworkdir")); }
QString TQuorixPlugin::isopendoc() { return Call(QStringLiteral("isopendoc")); }
QString TQuorixPlugin::opennewfile() { return Call(QStringLiteral("opennewfile")); }
QString TQuorixPlugin::puttextatcursor(const QString &text) { return Call(QStringLiteral("puttextatcursor"), {text}); }

QString TQuorixPlugin::Call(const QString &method, const QVariantList &arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(Latin1(quorixbus::Service), Latin1(quorixbus::PluginPath),
                                                       Latin1(quorixbus::PluginInterface), method);
    call.setArguments(arguments);
    const QDBusMessage reply = Bus.call(call, QDBus::Block);
    if (reply.type() == QDBusMessage::ErrorMessage)
        throw EQuorixError(reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage());
    if (reply.type() != QDBusMessage::ReplyMessage)
        throw EQuorixError(QStringLiteral("Quorix gave no answer to %1.").arg(method));
    if (reply.arguments().isEmpty())
        return {};
    // Results are used as text; a variant-typed answer is unwrapped first.
    QVariant result = reply.arguments().constFirst();
    if (result.metaType() == QMetaType::fromType<QDBusVariant>())
        result = result.value<QDBusVariant>().variant();
    return result.toString();
}
