#include "app/FileArgument.h"

#include "imaging/decoder/ImageDecoder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TFileArgument ClassifyFileArgument(const QString &path)
{
    const QFileInfo info(path);
    const QString name = QDir::toNativeSeparators(path);
    const auto refused = [](const QString &problem) { return TFileArgument{TFileArgument::TKind::Refused, problem}; };
    if (path.isEmpty() || !info.exists())
        return refused(QStringLiteral("%1 does not exist.").arg(name));
    if (info.isDir())
        return refused(QStringLiteral("%1 is a folder, not an image or a map file.").arg(name));
    // Checked before opening: a FIFO would block the open.
    if (!info.isFile())
        return refused(QStringLiteral("%1 is not a regular file, so it is neither an image nor a map file.").arg(name));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("%1 cannot be read: %2").arg(name, file.errorString()));
    const QByteArray head = file.read(64);
    if (!imagedecoder::FormatOf(head, QString()).isEmpty())
        return {TFileArgument::TKind::Image, {}};
    if (info.suffix().compare(QStringLiteral("im"), Qt::CaseInsensitive) == 0)
        return {TFileArgument::TKind::Map, {}};
    if (!imagedecoder::FormatOf(QByteArray(), path).isEmpty())
        return {TFileArgument::TKind::Image, {}};
    return refused(QStringLiteral("%1 is neither an image Mapolin reads (GIF, JPEG, PNG, WebP, BMP) nor a map "
                                  "file (.im).")
                       .arg(name));
}
