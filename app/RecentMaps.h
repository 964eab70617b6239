// The last map files opened or saved, newest first, kept in Mapolin's own settings file.
#pragma once

#include <QString>
#include <QStringList>

class TRecentMaps {
public:
    static constexpr int Limit = 8;

    // $XDG_CONFIG_HOME/Mapolin/mapolin.conf (the host editor's settings are never written).
    static QString DefaultSettingsFile();

    explicit TRecentMaps(QString settingsFile = DefaultSettingsFile()) : settingsFile_(std::move(settingsFile)) {}

    QStringList Files() const;
    // Puts the map first, once, and forgets the oldest beyond the limit.
    void Add(const QString &path);
    void Remove(const QString &path);

private:
    void Store(const QStringList &files) const;
    QString settingsFile_;
};
