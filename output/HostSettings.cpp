#include "output/HostSettings.h"

#include <QSettings>

namespace HostSettings {

namespace {
QString Read(const char *application)
{
    // On Linux this is $XDG_CONFIG_HOME/Tembrel/<application>.conf, group [Options], key
    // Directories\DocumentDir. Only the user's own file counts: without this the organisation-wide
    // Tembrel.conf and the system-wide folders would be read too.
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tembrel"),
                       QString::fromLatin1(application));
    settings.setFallbacksEnabled(false);
    if (settings.status() != QSettings::NoError)
        return {};
    const QVariant value = settings.value(QStringLiteral("Options/Directories/DocumentDir"));
    // A list, byte array or other typed value is not a directory name.
    if (value.typeId() != QMetaType::QString)
        return {};
    return value.toString();
}
} // namespace

QString Quorix5DocumentDir() { return Read("Quorix5"); }
QString QuorixDocumentDir() { return Read("Quorix"); }

} // namespace HostSettings
