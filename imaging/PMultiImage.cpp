#include "imaging/PMultiImage.h"

#include "dialogs/Prompter.h"
#include "imaging/core/StreamCheck.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QWidget>

#include <limits>

namespace {

const QString kCaption = QStringLiteral("Mapolin");
const QString kCantLoad = QStringLiteral("Can't load %1. Make sure its located in the application's searchpath.");
const QString kDecodeFailed = QStringLiteral("An exception error occured in the imagelib dll. We recommend to exit "
                                             "the application and to restart it by clicking its icon!");
const QString kTooLarge = QStringLiteral("The image is too large to open (%1 x %2 pixels).");

// Sizes are handed on as 16-bit values and the decoded picture must fit in memory comfortably.
bool TooLarge(const QSize &size)
{
    constexpr int kMaxSide = std::numeric_limits<std::int16_t>::max();
    return size.width() > kMaxSide || size.height() > kMaxSide
        || qint64{size.width()} * size.height() * 4 > TPMultiImage::kMaxDecodedBytes;
}

std::span<const std::uint8_t> Span(const QByteArray &bytes)
{
    return {reinterpret_cast<const std::uint8_t *>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

bool StreamIsComplete(const QByteArray &format, const QByteArray &bytes)
{
    if (format == "jpeg" || format == "jpg")
        return streamcheck::JpegIsComplete(Span(bytes));
    if (format == "gif")
        return streamcheck::GifIsComplete(Span(bytes));
    return true;
}

// The largest size the decoder may allocate: a GIF's screen may be larger than its frames.
QSize DeclaredSize(const QSize &reported, const QByteArray &bytes)
{
    const streamcheck::Size screen = streamcheck::GifScreenSize(Span(bytes));
    return reported.expandedTo(QSize(screen.width, screen.height));
}

} // namespace

TPMultiImage::TPMultiImage(QObject *parent) : QObject(parent) {}

void TPMultiImage::SetImageName(const QString &path)
{
    imageName_ = path;
    picture_ = QImage();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    const QByteArray format = FormatForPath(path);
    if (!format.isEmpty() && !FormatAvailable(format)) {
        Report(kCantLoad.arg(PluginFileName(format)));
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Report(file.errorString());
        return;
    }
    // Decode from a mapping of the file where possible: no second copy of the compressed bytes.
    uchar *mapped = file.size() > 0 ? file.map(0, file.size()) : nullptr;
    const QByteArray bytes = mapped ? QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), file.size())
                                    : file.readAll();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAllocationLimit(static_cast<int>(kMaxDecodedBytes / (1024 * 1024)));

    const QSize declared = reader.size();
    const QSize allocated = DeclaredSize(declared, bytes);
    if (TooLarge(allocated)) {
        Report(kTooLarge.arg(allocated.width()).arg(allocated.height()));
        return;
    }
    QImage image;
    bool read = false;
    try {
        read = reader.read(&image);
    } catch (...) {
        Report(kDecodeFailed);
        return;
    }
    if (!read) {
        // A header the reader could not make sense of is its own error; a failure past it is ours.
        Report(declared.isValid() ? kDecodeFailed : reader.errorString());
        return;
    }
    if (TooLarge(image.size())) {
        Report(kTooLarge.arg(image.width()).arg(image.height()));
        return;
    }
    // The decoders fill a cut-off picture with grey and call it a success; it is a failed read.
    if (!StreamIsComplete(reader.format(), bytes)) {
        Report(kDecodeFailed);
        return;
    }
    picture_ = std::move(image);
}

bool TPMultiImage::ReadImageInfo(const QString &path)
{
    imageWidth_ = 0;
    imageHeight_ = 0;
    if (!QFileInfo(path).isFile())
        return false;
    const QByteArray format = FormatForPath(path);
    if (!format.isEmpty() && !FormatAvailable(format))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.peek(16);
    QImageReader reader(&file, format);
    const QSize size = reader.size();
    if (!size.isValid() || TooLarge(DeclaredSize(size, head)))
        return false;
    imageWidth_ = static_cast<std::int16_t>(size.width());
    imageHeight_ = static_cast<std::int16_t>(size.height());
    return true;
}

QByteArray TPMultiImage::FormatForPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("gif"))
        return "gif";
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return "jpeg";
    return {};
}

QString TPMultiImage::PluginFileName(const QByteArray &format)
{
#if defined(Q_OS_WIN)
    return QStringLiteral("q%1.dll").arg(QString::fromLatin1(format));
#elif defined(Q_OS_MACOS)
    return QStringLiteral("libq%1.dylib").arg(QString::fromLatin1(format));
#else
    return QStringLiteral("libq%1.so").arg(QString::fromLatin1(format));
#endif
}

bool TPMultiImage::FormatAvailable(const QByteArray &format) const
{
    return QImageReader::supportedImageFormats().contains(format);
}

void TPMultiImage::Report(const QString &text)
{
    Prompter().Message(qobject_cast<QWidget *>(parent()), IPrompter::Kind::Error, kCaption, text, QMessageBox::Ok);
}
