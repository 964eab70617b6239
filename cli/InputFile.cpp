#include "cli/InputFile.h"

#include "output/core/MapFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

TInputFile::TInputFile(const QString &path)
{
    // POSIX calls, not QFile: the messages are the runtime's texts chosen by errno.
    const QByteArray name = QFile::encodeName(path);
    const int fd = open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        Problem = QString::fromStdString(FileErrorMessage(errno));
        return;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        Problem = QString::fromStdString(FileErrorMessage(errno));
    } else if (S_ISDIR(info.st_mode)) {
        Problem = QStringLiteral("is a directory, not a file");
    } else if (!S_ISREG(info.st_mode)) {
        Problem = QStringLiteral("is not a regular file");
    } else if (info.st_size > 0) {
        void *data = mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (data == MAP_FAILED) {
            Problem = QString::fromStdString(FileErrorMessage(errno));
        } else {
            Data = static_cast<const char *>(data);
            Size = static_cast<std::size_t>(info.st_size);
            Mapped = true;
        }
    }
    close(fd);
}

TInputFile::~TInputFile()
{
    if (Mapped)
        munmap(const_cast<char *>(Data), Size);
}
