#include "output/HostSettings.h"

#include <QSettings>

namespace HostSettings {

namespace {
QString Read(const char *application)
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tembrel"),
                             QString::fromLatin1(application));
    if (settings.status() != QSettings::NoError)
        return {};
    const QVariant value = settings.value(QStringLiteral("Options/Directories/DocumentDir"));
    if (value.typeId() != QMetaType::QString)
        return {};
    return value.toString();
}
} // namespace

QString Quorix5DocumentDir() { return Read("Quorix5"); }
QString QuorixDocumentDir() { return Read("Quorix"); }

} // namespace HostSettings
