#include "output/InputFile.h"

#include "output/core/MapFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString ErrnoText(int error) { return QString::fromStdString(FileErrorMessage(error ? error : EIO)); }

// Reads to the end, however the size changes meanwhile, but never past the limit.
QString ReadAll(int fd, std::size_t expected, std::string &bytes)
{
    constexpr auto limit = static_cast<std::size_t>(MaxInputFileSize);
    bytes.resize(expected + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > limit)
                return QString::fromLatin1(TooLargeError);
            bytes.resize(std::min(2 * used, limit + 1));
        }
        const ssize_t got = read(fd, bytes.data() + used, bytes.size() - used);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return ErrnoText(errno);
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
    }
    bytes.resize(used);
    return used > limit ? QString::fromLatin1(TooLargeError) : QString();
}

} // namespace

TInputFile ReadInputFile(const QString &path)
{
    TInputFile file;
    // POSIX calls, not QFile: the messages are the runtime's texts chosen by errno, which QFile
    // does not promise to leave.
    const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        file.Error = ErrnoText(errno);
        return file;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0)
        file.Error = ErrnoText(errno);
    else if (S_ISDIR(info.st_mode))
        file.Error = QString::fromLatin1(DirectoryError);
    else if (!S_ISREG(info.st_mode))
        file.Error = QString::fromLatin1(SpecialFileError);
    else if (info.st_size > MaxInputFileSize)
        file.Error = QString::fromLatin1(TooLargeError);
    else
        file.Error = ReadAll(fd, static_cast<std::size_t>(info.st_size), file.Bytes);
    close(fd);
    if (!file.Error.isEmpty())
        file.Bytes.clear();
    return file;
}
