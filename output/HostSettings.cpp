#include "output/HostSettings.h"

#include "output/core/IniValue.h"

#include <QFile>
#include <QStandardPaths>

namespace HostSettings {

namespace {
// A settings file is a few lines; anything larger is not one.
constexpr qint64 kMaxFileSize = 1 << 20;

QString Read(const char *application)
{
    // $XDG_CONFIG_HOME/Tembrel/<application>.conf, group [Options], key Directories\DocumentDir:
    // where QSettings keeps the user's own values of that organisation and application. The file
    // is read here rather than through QSettings, which would turn a folder name with a comma
    // into a list.
    QFile file(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               QStringLiteral("/Tembrel/%1.conf").arg(QLatin1String(application)));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize)
        return {};
    const QByteArray text = file.read(kMaxFileSize);
    const auto value = ini::Value(std::string_view(text.constData(), std::size_t(text.size())), "Options",
                                  "Directories/DocumentDir");
    return value ? QString::fromStdString(*value) : QString();
}
} // namespace

QString Quorix5DocumentDir() { return Read("Quorix5"); }
QString QuorixDocumentDir() { return Read("Quorix"); }

} // namespace HostSettings
