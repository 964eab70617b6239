// Whole files in and out for both programs: only regular files of a sensible size are read, and a
// FIFO does not hang the open; a save replaces the old file only when complete, says what went
// wrong on a full or read-only disk, and clears what a killed save left behind. Last, the host
// editor's settings files in a private XDG_CONFIG_HOME.
#include "WorkedExample.h"
#include "output/HostSettings.h"
#include "output/InputFile.h"
#include "output/MapFileIO.h"
#include "output/MapText.h"
#include "output/SaveFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

// In a mount namespace of its own: a full and a read-only disk. Exits 0 when the writer said so
// and left the old file alone, 77 when the namespace cannot be had.
void WriteToFailingDisks(const QString &full, const QString &readOnly)
{
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
        || mount("tmpfs", QFile::encodeName(full).constData(), "tmpfs", 0, "size=64k") != 0
        || mount("tmpfs", QFile::encodeName(readOnly).constData(), "tmpfs", MS_RDONLY, "size=64k") != 0)
        std::exit(77);
    const QString map = full + QStringLiteral("/map.im");
    Write(map, "old");
    const QString fullError = WriteFileAtomically(map, std::string(1 << 20, 'x'));
    const QString readOnlyError = WriteFileAtomically(readOnly + QStringLiteral("/map.im"), "new");
    const QStringList left = QDir(full).entryList(QDir::Files | QDir::Hidden);
    if (fullError != QLatin1String("Disk full") || readOnlyError != QLatin1String("File access denied")
        || Read(map) != "old" || left != QStringList{QStringLiteral("map.im")}) {
        std::fprintf(stderr, "%s / %s / %s\n", qPrintable(fullError), qPrintable(readOnlyError), qPrintable(left.join(' ')));
        std::exit(1);
    }
    std::exit(0);
}

} // namespace

TEST(InputFile, ReadsOnlyRegularFilesOfSensibleSize)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo.im"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString huge = dir.filePath(QStringLiteral("huge.im"));
    QFile sparse(huge);
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize(MaxInputFileSize + 1));
    const std::pair<QString, QString> refused[] = {
        {dir.path(), QString::fromLatin1(DirectoryError)},
        {fifo, QString::fromLatin1(SpecialFileError)},
        {QStringLiteral("/dev/zero"), QString::fromLatin1(SpecialFileError)},
        {huge, QString::fromLatin1(TooLargeError)},
        {dir.filePath(QStringLiteral("missing.im")), QStringLiteral("File not found")},
    };
    for (const auto &[path, error] : refused) {
        const TInputFile file = ReadInputFile(path);
        EXPECT_EQ(file.Error, error) << path.toStdString();
        EXPECT_TRUE(file.Bytes.empty());
    }
    const QString small = dir.filePath(QStringLiteral("small.im"));
    Write(small, QByteArray("a\0b", 3));
    EXPECT_EQ(ReadInputFile(small).Bytes, std::string("a\0b", 3));

    // One text rule: UTF-8 where the bytes are UTF-8, Latin-1 where they are not.
    EXPECT_EQ(MapText("caf\xC3\xA9"), QStringLiteral("caf\u00E9"));
    EXPECT_EQ(MapText("caf\xE9"), QStringLiteral("caf\u00E9"));
    EXPECT_EQ(MapBytes(QStringLiteral("caf\u00E9")), "caf\xC3\xA9");
}

TEST(SaveFile, ReplacesWholeAndClearsWhatAKillLeft)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("map.im"));
    const QString link = dir.filePath(QStringLiteral("link.im"));
    Write(path, "old");
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(path, link));
    // A killed save's leftover, one of a save still running, and files that only look alike.
    const QString stale = path + QStringLiteral(".mapolin-Ab12Cd");
    const QStringList kept{path + QStringLiteral(".mapolin-Xy34Zw"), path + QStringLiteral(".mapolin-abc"),
                           path + QStringLiteral(".backup")};
    for (const QString &file : QStringList{stale} + kept) {
        Write(file, "leftover");
        if (file != kept[0]) {
            QFile old(file);
            ASSERT_TRUE(old.open(QIODevice::ReadWrite));
            old.setFileTime(QDateTime::currentDateTime().addSecs(-2 * StaleTemporaryAge), QFileDevice::FileModificationTime);
        }
    }

    EXPECT_EQ(WriteFileAtomically(link, "new"), QString());
    EXPECT_EQ(Read(path), "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link stays a link";
    struct stat info {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "the old file's permissions are kept";
    EXPECT_FALSE(QFile::exists(stale));
    for (const QString &file : kept)
        EXPECT_TRUE(QFile::exists(file)) << file.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 5) << "no temporary file of this save is left";

    TMapFile refused = worked::Map();
    refused.DefaultURL = "a\rb";
    EXPECT_NE(SaveMapFile(path, refused).indexOf(QStringLiteral("line break")), -1) << "a map it cannot write is refused";
    EXPECT_EQ(WriteFileAtomically(dir.path(), "x"), QString::fromLatin1(DirectoryError));
    EXPECT_EQ(WriteFileAtomically(dir.filePath(QStringLiteral("no/such.im")), "x"), QStringLiteral("File not found"));
    if (geteuid() == 0) {
        const QString full = dir.filePath(QStringLiteral("full"));
        const QString readOnly = dir.filePath(QStringLiteral("readonly"));
        ASSERT_TRUE(QDir().mkdir(full) && QDir().mkdir(readOnly));
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        EXPECT_EXIT(WriteToFailingDisks(full, readOnly),
                    [](int status) { return WIFEXITED(status) && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 77); },
                    "");
    }
}

TEST(HostSettings, EachReadUsesItsOwnFileOnly)
{
    ASSERT_FALSE(qEnvironmentVariable("XDG_CONFIG_HOME").isEmpty());
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Tembrel");
    QDir(config).removeRecursively();
    // Whatever QSettings writes reads back as the same one text, commas, quotes and all.
    for (const QString &dir : {QStringLiteral("/srv/M\u00fcller, Sites/\u00e9t\u00e9"), QStringLiteral("C:\\Docs,Web\\"),
                               QStringLiteral(" \"quoted\"; tab\t "), QStringLiteral("@home")}) {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tembrel"), QStringLiteral("Quorix5"))
            .setValue(QStringLiteral("Options/Directories/DocumentDir"), dir);
        EXPECT_EQ(HostSettings::Quorix5DocumentDir(), dir);
    }
    EXPECT_EQ(HostSettings::QuorixDocumentDir(), QString()) << "Quorix has a file of its own";
    // A folder where the file should be cannot be opened even by root.
    const QString file = config + QStringLiteral("/Quorix5.conf");
    ASSERT_TRUE(QFile::remove(file) && QDir().mkpath(file));
    EXPECT_EQ(HostSettings::Quorix5DocumentDir(), QString());
}
