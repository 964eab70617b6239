#include "output/SaveFile.h"

#include "output/InputFile.h"
#include "output/core/MapFile.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString TemporaryMark = QStringLiteral(".mapolin-");
constexpr int TemporarySuffixLength = 6;

QString ErrnoText(int error) { return QString::fromStdString(FileErrorMessage(error ? error : EIO)); }

bool IsTemporarySuffix(QStringView suffix)
{
    if (suffix.size() != TemporarySuffixLength)
        return false;
    for (const QChar c : suffix)
        if (!(c.isDigit() || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')))
            return false;
    return true;
}

// Temporary files of our pattern for this file that a kill left behind.
void RemoveStaleTemporaries(const QFileInfo &target)
{
    const QString prefix = target.fileName() + TemporaryMark;
    const QDateTime stale = QDateTime::currentDateTimeUtc().addSecs(-StaleTemporaryAge);
    QDirIterator entries(target.absolutePath(), QDir::Files | QDir::Hidden | QDir::System);
    while (entries.hasNext()) {
        entries.next();
        const QFileInfo entry = entries.fileInfo();
        if (entry.fileName().startsWith(prefix) && IsTemporarySuffix(QStringView(entry.fileName()).mid(prefix.size()))
            && !entry.isSymLink() && entry.ownerId() == geteuid() && entry.lastModified() < stale)
            QFile::remove(entry.absoluteFilePath());
    }
}

QString TemporaryName(const QString &target)
{
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString name = target + TemporaryMark;
    for (int i = 0; i < TemporarySuffixLength; ++i)
        name += QLatin1Char(Letters[QRandomGenerator::global()->bounded(int(sizeof Letters) - 1)]);
    return name;
}

QString WriteAll(int fd, std::string_view bytes)
{
    for (std::size_t written = 0; written < bytes.size();) {
        const ssize_t done = write(fd, bytes.data() + written, bytes.size() - written);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return ErrnoText(done < 0 ? errno : ENOSPC);
        written += static_cast<std::size_t>(done);
    }
    // Many file systems report a full disk or a failing device only here.
    return fsync(fd) == 0 ? QString() : ErrnoText(errno);
}

} // namespace

QString WriteFileAtomically(const QString &path, std::string_view bytes)
{
    QFileInfo target(path);
    struct stat old {};
    const bool exists = stat(QFile::encodeName(path).constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return QString::fromLatin1(DirectoryError);
    if (exists && !S_ISREG(old.st_mode))
        return QString::fromLatin1(SpecialFileError);
    if (exists && target.isSymLink())
        target = QFileInfo(target.canonicalFilePath());
    const QString destination = target.absoluteFilePath();
    RemoveStaleTemporaries(target);

    QString temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = TemporaryName(destination);
        // 0666 less the umask, as for a new file; an old file's own permissions are kept.
        fd = open(QFile::encodeName(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return ErrnoText(errno);
    }
    if (fd < 0)
        return ErrnoText(EEXIST);
    if (exists)
        fchmod(fd, old.st_mode & 07777);
    QString error = WriteAll(fd, bytes);
    if (close(fd) != 0 && error.isEmpty())
        error = ErrnoText(errno);
    if (error.isEmpty() && rename(QFile::encodeName(temporary).constData(), QFile::encodeName(destination).constData()) != 0)
        error = ErrnoText(errno);
    if (!error.isEmpty()) {
        unlink(QFile::encodeName(temporary).constData());
        return error;
    }
    // The rename itself reaches the disk with the folder's entry.
    const int folder = open(QFile::encodeName(target.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return {};
}
