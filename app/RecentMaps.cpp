#include "app/RecentMaps.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
const QString Key = QStringLiteral("RecentMaps/Files");
} // namespace

QString TRecentMaps::DefaultSettingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Mapolin/mapolin.conf");
}

QStringList TRecentMaps::Files() const
{
    QStringList files = QSettings(settingsFile_, QSettings::IniFormat).value(Key).toStringList();
    // A hand-edited file may hold more, or empty entries.
    files.removeAll(QString());
    return files.mid(0, Limit);
}

void TRecentMaps::Add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = Files();
    files.removeAll(absolute);
    files.prepend(absolute);
    Store(files.mid(0, Limit));
}

void TRecentMaps::Remove(const QString &path)
{
    QStringList files = Files();
    if (files.removeAll(QFileInfo(path).absoluteFilePath()) > 0)
        Store(files);
}

void TRecentMaps::Store(const QStringList &files) const
{
    QSettings settings(settingsFile_, QSettings::IniFormat);
    settings.setValue(Key, files);
}
