// cmake --install puts both programs, the help file, the desktop files and the man page in place,
// and the desktop files pass Debian's validators where they are installed.
#include "RunTool.h"

#include <QImage>
#include <QStandardPaths>

namespace {

// Runs a program to its end; -1 when it could not start or did not end.
int RunProgram(const QString &program, const QStringList &arguments, std::string *output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return -1;
    if (output)
        *output = process.readAll().toStdString();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

TEST(Install, EveryFileInPlaceAndValid)
{
    const QString build = QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/..")).absolutePath();
    if (!QFile::exists(build + QStringLiteral("/CMakeCache.txt")))
        GTEST_SKIP() << "not run from a build tree";
    QTemporaryDir prefix;
    std::string log;
    ASSERT_EQ(RunProgram(QStringLiteral("cmake"), {QStringLiteral("--install"), build, QStringLiteral("--prefix"), prefix.path()}, &log), 0)
        << log;
    const char *files[] = {"bin/mapolin", "bin/mapolin-map", "share/mapolin/mapolin.hlp",
                           "share/applications/mapolin.desktop", "share/mime/packages/mapolin.xml",
                           "share/metainfo/org.mapolin.Mapolin.metainfo.xml", "share/icons/hicolor/scalable/apps/mapolin.svg",
                           "share/icons/hicolor/48x48/apps/mapolin.png", "share/man/man1/mapolin-map.1", "lib/mapolin/mapolin-map-image.so"};
    for (const char *file : files)
        EXPECT_TRUE(QFile::exists(prefix.filePath(QString::fromLatin1(file)))) << file;
    EXPECT_EQ(QImage(prefix.filePath(QStringLiteral("share/icons/hicolor/48x48/apps/mapolin.png"))).size(), QSize(48, 48));
    EXPECT_EQ(RunProgram(prefix.filePath(QStringLiteral("bin/mapolin-map")), {QStringLiteral("--version")}, &log), 0) << log;
    // The installed check finds its image module: the icon reads as a 48 x 48 image.
    const QString map = prefix.filePath(QStringLiteral("icon.im"));
    WriteBytes(map, prefix.filePath(QStringLiteral("share/icons/hicolor/48x48/apps/mapolin.png")).toStdString()
                        + "\r\n\r\n\r\n1\r\n0\r\n0\r\n48\r\n48\r\nu\r\n\r\n0\r\n0\r\n");
    EXPECT_EQ(RunProgram(prefix.filePath(QStringLiteral("bin/mapolin-map")), {QStringLiteral("check"), map}, &log), 0) << log;

    const QString share = prefix.filePath(QStringLiteral("share"));
    const struct {
        const char *tool;
        QStringList arguments;
    } checks[] = {
        {"desktop-file-validate", {share + QStringLiteral("/applications/mapolin.desktop")}},
        {"xmllint", {QStringLiteral("--noout"), share + QStringLiteral("/mime/packages/mapolin.xml"),
                     share + QStringLiteral("/icons/hicolor/scalable/apps/mapolin.svg")}},
        {"appstreamcli", {QStringLiteral("validate"), QStringLiteral("--no-net"), QStringLiteral("--pedantic"),
                          share + QStringLiteral("/metainfo/org.mapolin.Mapolin.metainfo.xml")}},
        {"update-mime-database", {share + QStringLiteral("/mime")}},
        {"man", {QStringLiteral("--warnings"), QStringLiteral("-E"), QStringLiteral("UTF-8"), QStringLiteral("-l"),
                 QStringLiteral("-Tutf8"), QStringLiteral("-Z"), share + QStringLiteral("/man/man1/mapolin-map.1")}},
    };
    for (const auto &check : checks) {
        const QString tool = QStandardPaths::findExecutable(QString::fromLatin1(check.tool));
        if (tool.isEmpty()) {
            std::printf("%s is not installed: not checked\n", check.tool);
            continue;
        }
        EXPECT_EQ(RunProgram(tool, check.arguments, &log), 0) << check.tool << ": " << log;
    }
    EXPECT_NE(ReadBytes(share + QStringLiteral("/mime/application/x-mapolin-map.xml")).find("*.im"), std::string::npos);
}
