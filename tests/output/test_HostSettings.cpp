// The host editor's document directories, read from settings files in a private XDG_CONFIG_HOME.
#include "output/HostSettings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

QString ConfigDir() { return QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")); }
QString ConfFile(const QString &name) { return ConfigDir() + QStringLiteral("/Tembrel/") + name + QStringLiteral(".conf"); }

class HostSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(ConfigDir().isEmpty());
        QDir(ConfigDir() + QStringLiteral("/Tembrel")).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(ConfigDir() + QStringLiteral("/Tembrel")));
    }

    // QSettings caches parsed files by size and time stamp; a fresh time stamp per write keeps a
    // same-sized rewrite from being served stale.
    static void Write(const QString &name, const QByteArray &content)
    {
        static QDateTime stamp = QDateTime::currentDateTime().addSecs(-100000);
        stamp = stamp.addSecs(10);
        QFile file(ConfFile(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
};

TEST_F(HostSettingsTest, EachReadUsesItsOwnFile)
{
    EXPECT_EQ(HostSettings::Quorix5DocumentDir(), QString());
    EXPECT_EQ(HostSettings::QuorixDocumentDir(), QString());

    Write(QStringLiteral("Quorix5"), "[Options]\nDirectories\\DocumentDir=/home/ann/web5\n");
    Write(QStringLiteral("Quorix"), "[Options]\nDirectories\\DocumentDir=\"C:\\\\Web Docs\\\\\"\n");
    EXPECT_EQ(HostSettings::Quorix5DocumentDir(), QStringLiteral("/home/ann/web5"));
    EXPECT_EQ(HostSettings::QuorixDocumentDir(), QStringLiteral("C:\\Web Docs\\"));
}

TEST_F(HostSettingsTest, ReadsWhatQSettingsWrote)
{
    const QString dir = QStringLiteral("/srv/M\u00fcller, Sites/\u00e9t\u00e9");
    {
        QSettings writer(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tembrel"),
                         QStringLiteral("Quorix5"));
        writer.setValue(QStringLiteral("Options/Directories/DocumentDir"), dir);
    }
    EXPECT_EQ(HostSettings::Quorix5DocumentDir(), dir);
}

TEST_F(HostSettingsTest, NonTextAndMisplacedValuesReadAsEmpty)
{
    const QByteArray contents[] = {
        "[Options]\nDirectories\\DocumentDir=/a, /b\n",                                  // a list
        "[Options]\nDirectories\\DocumentDir=@ByteArray(/web)\n",
        "[Options]\nDirectories\\DocumentDir=@Variant(\\0\\0\\0\\x19\\0\\0\\0\\x1\\0\\0\\0\\x2)\n", // a point
        "[Options]\nDirectories\\OtherDir=/web\n",
        "[Directories]\nDocumentDir=/web\n",                                              // wrong group
        "\x01\x02\xff\xfe",
    };
    for (const QByteArray &content : contents) {
        Write(QStringLiteral("Quorix5"), content);
        EXPECT_EQ(HostSettings::Quorix5DocumentDir(), QString()) << content.constData();
    }
}

TEST_F(HostSettingsTest, UnreadableFileReadsAsEmpty)
{
    // A folder where the file should be cannot be opened even by root.
    ASSERT_TRUE(QDir().mkpath(ConfFile(QStringLiteral("Quorix5"))));
    EXPECT_EQ(HostSettings::Quorix5DocumentDir(), QString());
}

TEST_F(HostSettingsTest, OrganisationWideFileIsNotConsulted)
{
    QFile org(ConfigDir() + QStringLiteral("/Tembrel.conf"));
    ASSERT_TRUE(org.open(QIODevice::WriteOnly));
    org.write("[Options]\nDirectories\\DocumentDir=/shared\n");
    org.close();
    EXPECT_EQ(HostSettings::Quorix5DocumentDir(), QString());
    EXPECT_EQ(HostSettings::QuorixDocumentDir(), QString());
    org.remove();
}

} // namespace
