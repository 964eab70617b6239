// The host editor's document directories, read from settings files in a private XDG_CONFIG_HOME.
#include "output/HostSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

void Write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

TEST(HostSettings, EachReadUsesItsOwnFileOnly)
{
    ASSERT_FALSE(qEnvironmentVariable("XDG_CONFIG_HOME").isEmpty());
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Tembrel");
    QDir(config).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(config));
    // The organisation-wide file is not consulted.
    Write(config + QStringLiteral(".conf"), "[Options]\nDirectories\\DocumentDir=/shared\n");
    EXPECT_EQ(HostSettings::Quorix5DocumentDir(), QString());
    EXPECT_EQ(HostSettings::QuorixDocumentDir(), QString());

    Write(config + QStringLiteral("/Quorix5.conf"), "[Options]\nDirectories\\DocumentDir=/home/ann/web5\n");
    Write(config + QStringLiteral("/Quorix.conf"), "[Options]\nDirectories\\DocumentDir=\"C:\\\\Web Docs\\\\\"\n");
    EXPECT_EQ(HostSettings::Quorix5DocumentDir(), QStringLiteral("/home/ann/web5"));
    EXPECT_EQ(HostSettings::QuorixDocumentDir(), QStringLiteral("C:\\Web Docs\\"));

    // Whatever QSettings writes reads back as the same one text, commas, quotes and all.
    for (const QString &dir : {QStringLiteral("/srv/M\u00fcller, Sites/\u00e9t\u00e9"),
                               QStringLiteral("C:\\Docs,Web\\"), QStringLiteral(" \"quoted\"; tab\t "),
                               QStringLiteral("@home")}) {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tembrel"), QStringLiteral("Quorix5"))
            .setValue(QStringLiteral("Options/Directories/DocumentDir"), dir);
        EXPECT_EQ(HostSettings::Quorix5DocumentDir(), dir);
    }
    // A folder where the file should be cannot be opened even by root.
    const QString file = config + QStringLiteral("/Quorix5.conf");
    ASSERT_TRUE(QFile::remove(file) && QDir().mkpath(file));
    EXPECT_EQ(HostSettings::Quorix5DocumentDir(), QString());
}

} // namespace
