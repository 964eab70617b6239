#include "cli/InputFile.h"

#include "output/core/MapFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TInputFile ReadInputFile(const QString &path)
{
    TInputFile file;
    // POSIX calls, not QFile: the messages are the runtime's texts chosen by errno.
    const QByteArray name = QFile::encodeName(path);
    const int fd = open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        file.Error = QString::fromStdString(FileErrorMessage(errno));
        return file;
    }
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        close(fd);
        file.Error = QStringLiteral("is a directory, not a file");
        return file;
    }
    if (info.st_size > 0)
        file.Bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            file.Error = QString::fromStdString(FileErrorMessage(errno));
            file.Bytes.clear();
            break;
        }
        file.Bytes.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    return file;
}
