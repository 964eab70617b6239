// The host editor's document directories, read from settings files in a private XDG_CONFIG_HOME.
#include "output/HostSettings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

QString ConfigDir() { return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Tembrel"); }

class HostSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariable("XDG_CONFIG_HOME").isEmpty());
        QDir(ConfigDir()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(ConfigDir()));
    }

    // QSettings caches parsed files by size and time stamp; a fresh time stamp per write keeps a
    // same-sized rewrite from being served stale.
    static void Write(const QString &path, const QByteArray &content)
    {
        static QDateTime stamp = QDateTime::currentDateTime().addSecs(-100000);
        stamp = stamp.addSecs(10);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
};

TEST_F(HostSettingsTest, EachReadUsesItsOwnFileOnly)
{
    // The organisation-wide file is not consulted.
    Write(ConfigDir() + QStringLiteral(".conf"), "[Options]\nDirectories\\DocumentDir=/shared\n");
    EXPECT_EQ(HostSettings::Quorix5DocumentDir(), QString());
    EXPECT_EQ(HostSettings::QuorixDocumentDir(), QString());
    QFile::remove(ConfigDir() + QStringLiteral(".conf"));

    Write(ConfigDir() + QStringLiteral("/Quorix5.conf"), "[Options]\nDirectories\\DocumentDir=/home/ann/web5\n");
    Write(ConfigDir() + QStringLiteral("/Quorix.conf"), "[Options]\nDirectories\\DocumentDir=\"C:\\\\Web Docs\\\\\"\n");
    EXPECT_EQ(HostSettings::Quorix5DocumentDir(), QStringLiteral("/home/ann/web5"));
    EXPECT_EQ(HostSettings::QuorixDocumentDir(), QStringLiteral("C:\\Web Docs\\"));

    // Whatever QSettings writes reads back as the same one text, commas, quotes and all.
    for (const QString &dir : {QStringLiteral("/srv/M\u00fcller, Sites/\u00e9t\u00e9"),
                               QStringLiteral("C:\\Docs,Web\\"), QStringLiteral(" \"quoted\"; tab\t "),
                               QStringLiteral("@home")}) {
        {
            QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tembrel"),
                               QStringLiteral("Quorix5"));
            settings.setValue(QStringLiteral("Options/Directories/DocumentDir"), dir);
        }
        EXPECT_EQ(HostSettings::Quorix5DocumentDir(), dir);
    }
    // Written by hand: an unquoted comma is part of the folder name, not a list.
    Write(ConfigDir() + QStringLiteral("/Quorix5.conf"), "[Options]\nDirectories\\DocumentDir=/a, /b  \n");
    EXPECT_EQ(HostSettings::Quorix5DocumentDir(), QStringLiteral("/a, /b"));
}

TEST_F(HostSettingsTest, NonTextMisplacedAndUnreadableValuesReadAsEmpty)
{
    const QByteArray contents[] = {
        "[Options]\nDirectories\\DocumentDir=@ByteArray(/web)\n",
        "[Options]\nDirectories\\DocumentDir=@Variant(\\0\\0\\0\\x19\\0\\0\\0\\x1\\0\\0\\0\\x2)\n", // a point
        "[Options]\nDirectories\\OtherDir=/web\n",
        "[Directories]\nDocumentDir=/web\n",                                              // wrong group
        "\x01\x02\xff\xfe",
    };
    const QString file = ConfigDir() + QStringLiteral("/Quorix5.conf");
    for (const QByteArray &content : contents) {
        Write(file, content);
        EXPECT_EQ(HostSettings::Quorix5DocumentDir(), QString()) << content.constData();
    }
    // A folder where the file should be cannot be opened even by root.
    Write(file, "[Options]\nDirectories\\DocumentDir=/web\n");
    ASSERT_EQ(HostSettings::Quorix5DocumentDir(), QStringLiteral("/web"));
    ASSERT_TRUE(QFile::remove(file) && QDir().mkpath(file));
    EXPECT_EQ(HostSettings::Quorix5DocumentDir(), QString());
}

} // namespace
