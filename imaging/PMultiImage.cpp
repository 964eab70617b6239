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
const QString kTooManyScans = QStringLiteral("The JPEG image has too many scans to open (more than %1).");

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

// The format the bytes are, else the one the file's name gives: a GIF or JPEG file under the
// other's extension is still read by its own decoder.
QByteArray FormatOf(const QByteArray &bytes, const QString &path)
{
    switch (streamcheck::FormatOf(Span(bytes))) {
    case streamcheck::Format::Gif: return "gif";
    case streamcheck::Format::Jpeg: return "jpeg";
    case streamcheck::Format::Unknown: break;
    }
    return TPMultiImage::FormatForPath(path);
}

// Why the bytes cannot give a whole picture; empty when they can. The decoders fill a cut-off
// picture with grey and call it a success, and pass over the whole picture once per scan however
// empty the scan, so both are looked for before anything is decoded.
QString StreamProblem(const QByteArray &bytes)
{
    const std::span<const std::uint8_t> data = Span(bytes);
    switch (streamcheck::FormatOf(data)) {
    case streamcheck::Format::Jpeg:
        if (streamcheck::JpegScanCount(data) > streamcheck::kMaxJpegScans)
            return kTooManyScans.arg(streamcheck::kMaxJpegScans);
        return streamcheck::JpegIsComplete(data) ? QString() : kDecodeFailed;
    case streamcheck::Format::Gif: return streamcheck::GifIsComplete(data) ? QString() : kDecodeFailed;
    case streamcheck::Format::Unknown: break;
    }
    return {};
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Report(file.errorString());
        return;
    }
    // Decode from a mapping of the file where possible: no second copy of the compressed bytes.
    uchar *mapped = file.size() > 0 ? file.map(0, file.size()) : nullptr;
    const QByteArray bytes = mapped ? QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), file.size())
                                    : file.readAll();
    const QByteArray format = FormatOf(bytes, path);
    if (!format.isEmpty() && !FormatAvailable(format)) {
        Report(kCantLoad.arg(PluginFileName(format)));
        return;
    }
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
    // A header the reader cannot make sense of gets the reader's own error below.
    if (const QString problem = declared.isValid() ? StreamProblem(bytes) : QString(); !problem.isEmpty()) {
        Report(problem);
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
    picture_ = std::move(image);
}

bool TPMultiImage::ReadImageInfo(const QString &path)
{
    imageWidth_ = 0;
    imageHeight_ = 0;
    if (!QFileInfo(path).isFile())
        return false;
    // The window shows the decoded picture, so its size is the one to report; the header's is
    // the fallback while no picture of this file is held.
    QSize size = path == imageName_ ? picture_.size() : QSize();
    if (size.isEmpty()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        const QByteArray head = file.peek(16);
        const QByteArray format = FormatOf(head, path);
        if (!format.isEmpty() && !FormatAvailable(format))
            return false;
        QImageReader reader(&file, format);
        size = reader.size();
        if (!size.isValid() || TooLarge(DeclaredSize(size, head)))
            return false;
        // A GIF decodes to its logical screen, however small its first frame.
        const streamcheck::Size screen = streamcheck::GifScreenSize(Span(head));
        size = QSize(screen.width > 0 ? screen.width : size.width(), screen.height > 0 ? screen.height : size.height());
    }
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
