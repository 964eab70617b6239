// Link to a running Quorix editor over the D-Bus session bus: detection and its automation object.
#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariantList>

#include <stdexcept>

namespace quorixbus {
inline constexpr const char *Service = "com.tembrel.Quorix";
inline constexpr const char *DetectPath = "/Quorix";
inline constexpr const char *DetectInterface = "com.tembrel.Quorix";
inline constexpr const char *DetectMethod = "WM_ISQUORIXRUNNING";
inline constexpr const char *PluginPath = "/Quorix4/Plugin";
inline constexpr const char *PluginInterface = "Quorix4.Plugin";
inline constexpr int DetectTimeoutMs = 2000;
} // namespace quorixbus

// Readies the detection message and returns its name. On D-Bus a method needs no registration;
// the step is kept so start-up reads the same everywhere.
QString RegisterQuorixMessage();

// True when Quorix answers the detection call with a number above 0 within two seconds; no
// owner of the name, an error or a late answer all mean it is not running.
bool QuorixRunning(const QDBusConnection &bus = QDBusConnection::sessionBus());

// A failed creation of, or call on, the automation object; what() is the failure's own text.
class EQuorixError : public std::runtime_error {
public:
    explicit EQuorixError(const QString &text);
    QString Text() const { return Message; }

private:
    QString Message;
};

// Quorix's automation object "Quorix4.Plugin"; each call blocks until Quorix answers.
class TQuorixPlugin {
public:
    // Fails with EQuorixError when no program owns Quorix's name on the bus.
    explicit TQuorixPlugin(const QDBusConnection &bus = QDBusConnection::sessionBus());

    QString getworkdir();
    QString isopendoc();
    QString opennewfile();
    QString puttextatcursor(const QString &text);

private:
    QString Call(const QString &method, const QVariantList &arguments = {});

    QDBusConnection Bus;
};
