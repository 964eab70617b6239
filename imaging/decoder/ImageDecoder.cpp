#include "imaging/decoder/ImageDecoder.h"

#include "imaging/core/ImageFormats.h"
#include "imaging/core/StreamCheck.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace imagedecoder {

namespace {

const QString kCantLoad = QStringLiteral("Can't load %1. Make sure its located in the application's searchpath.");
const QString kTooLarge = QStringLiteral("The image is too large to open (%1 x %2 pixels).");
const QString kTooManyScans = QStringLiteral("The JPEG image has too many scans to open (more than %1).");
const QString kScansForSize =
    QStringLiteral("The JPEG image has too many scans for its size to open (%1 scans at %2 x %3 pixels).");
const QString kDamaged = QStringLiteral("The image data is cut short or damaged.");
const QString kUnknown = QStringLiteral("The file is not a GIF, JPEG, PNG, WebP or BMP image.");

Decoded Refused(Outcome outcome, const QString &reason) { return {outcome, QImage(), reason}; }

std::span<const std::uint8_t> Span(const QByteArray &bytes)
{
    return {reinterpret_cast<const std::uint8_t *>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

QString SystemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

std::optional<Decoded> NotRegular(mode_t mode)
{
    if (S_ISREG(mode))
        return std::nullopt;
    const char *what = S_ISDIR(mode)                     ? "It is a directory, not a file."
                       : S_ISFIFO(mode)                  ? "It is a FIFO (named pipe), not a file."
                       : S_ISCHR(mode) || S_ISBLK(mode) ? "It is a device, not a file."
                       : S_ISSOCK(mode)                  ? "It is a socket, not a file."
                                                         : "It is not a regular file.";
    return Refused(Outcome::NotAFile, QString::fromLatin1(what));
}

// Opens a regular file for reading. Its type is known before it is opened, and the open itself
// cannot block, so a FIFO or a device put in its place meanwhile hangs nothing either.
std::optional<Decoded> Open(const QString &path, QFile &file)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Refused(Outcome::Missing, QStringLiteral("The file does not exist."))
                                                   : Refused(Outcome::Unopenable, SystemError(errno));
    if (std::optional<Decoded> other = NotRegular(info.st_mode))
        return other;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Refused(Outcome::Unopenable, SystemError(errno));
    std::optional<Decoded> refusal;
    if (::fstat(fd, &info) != 0)
        refusal = Refused(Outcome::Unopenable, SystemError(errno));
    else if (!(refusal = NotRegular(info.st_mode)) && !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        refusal = Refused(Outcome::Unopenable, file.errorString());
    if (refusal)
        ::close(fd);
    return refusal;
}

// A decoded picture counts at least 32 bits a pixel, since the window shows it at that depth. A
// decoder that has not made sense of the header may name any format, or none.
bool TooLarge(const QSize &size, QImage::Format format)
{
    const bool known = format > QImage::Format_Invalid && format < QImage::NImageFormats;
    const qint64 bytesPerPixel = known ? qMax(4, QImage::toPixelFormat(format).bitsPerPixel() / 8) : 4;
    return size.width() > kMaxSide || size.height() > kMaxSide
        || qint64{size.width()} * size.height() * bytesPerPixel > kMaxDecodedBytes;
}

// The file's bytes (mapped where possible, no second copy) and a reader of its format, with what
// the header tells before anything is decoded.
class Reading {
public:
    Reading(const QString &path, const FormatCheck &available)
    {
        if ((refusal_ = Open(path, file_)))
            return;
        uchar *mapped = file_.size() > 0 ? file_.map(0, file_.size()) : nullptr;
        bytes_ = mapped ? QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), file_.size()) : file_.readAll();
        if (!mapped && file_.error() != QFileDevice::NoError) {
            refusal_ = Refused(Outcome::Unopenable, file_.errorString());
            return;
        }
        format_ = FormatOf(bytes_, path);
        if (format_.isEmpty()) {
            refusal_ = Refused(Outcome::Unknown, kUnknown);
            return;
        }
        if (!available(format_)) {
            refusal_ = Refused(Outcome::NoDecoder, kCantLoad.arg(PluginFileName(format_)));
            return;
        }
        buffer_.setData(bytes_);
        buffer_.open(QIODevice::ReadOnly);
        reader_.setDevice(&buffer_);
        reader_.setFormat(format_);
        reader_.setAutoDetectImageFormat(false);
        reader_.setAllocationLimit(static_cast<int>(kMaxDecodedBytes / (1024 * 1024)));
        declared_ = reader_.size();
        // The decoder allocates a GIF's whole screen, which may be larger than its frames.
        const streamcheck::Size screen = streamcheck::GifScreenSize(Span(bytes_));
        const QSize allocated = declared_.expandedTo(QSize(screen.width, screen.height));
        if (TooLarge(allocated, reader_.imageFormat()))
            refusal_ = Refused(Outcome::TooLarge, kTooLarge.arg(allocated.width()).arg(allocated.height()));
        else if (declared_.isValid())
            pictureSize_ = QSize(screen.width > 0 ? screen.width : declared_.width(),
                                 screen.height > 0 ? screen.height : declared_.height());
    }

    const std::optional<Decoded> &Refusal() const { return refusal_; }
    QSize PictureSize() const { return pictureSize_; }

    Decoded Read()
    {
        if (refusal_)
            return *refusal_;
        // A header the reader cannot make sense of gets the reader's own error below.
        if (declared_.isValid())
            if (std::optional<Decoded> problem = StreamProblem())
                return *problem;
        QImage image;
        bool read = false;
        try {
            read = reader_.read(&image);
        } catch (...) {
            return Refused(Outcome::Damaged, kDamaged);
        }
        if (!read)
            return declared_.isValid() ? Refused(Outcome::Damaged, kDamaged)
                                       : Refused(Outcome::Unreadable, reader_.errorString());
        if (TooLarge(image.size(), image.format()))
            return Refused(Outcome::TooLarge, kTooLarge.arg(image.width()).arg(image.height()));
        return {Outcome::Read, std::move(image), QString()};
    }

private:
    // Why the bytes cannot give a whole picture in reasonable time. The GIF, JPEG and BMP decoders
    // fill a cut-off picture with grey and call it a success, and the JPEG decoder passes over the
    // picture once per scan however empty the scan, so both are looked for before decoding. The
    // PNG and WebP decoders refuse cut-off files themselves.
    std::optional<Decoded> StreamProblem() const
    {
        const std::span<const std::uint8_t> data = Span(bytes_);
        bool complete = true;
        switch (streamcheck::FormatOf(data)) {
        case streamcheck::Format::Jpeg: {
            const streamcheck::JpegWork work = streamcheck::JpegScanWork(data);
            if (work.scans > streamcheck::kMaxJpegScans)
                return Refused(Outcome::TooMuchWork, kTooManyScans.arg(streamcheck::kMaxJpegScans));
            if (work.blocks > streamcheck::kMaxJpegScanBlocks)
                return Refused(Outcome::TooMuchWork,
                               kScansForSize.arg(work.scans).arg(declared_.width()).arg(declared_.height()));
            complete = streamcheck::JpegIsComplete(data);
            break;
        }
        case streamcheck::Format::Gif: complete = streamcheck::GifIsComplete(data); break;
        case streamcheck::Format::Bmp: complete = streamcheck::BmpIsComplete(data); break;
        default: break;
        }
        return complete ? std::nullopt : std::optional<Decoded>(Refused(Outcome::Damaged, kDamaged));
    }

    QFile file_; // holds the mapping that bytes_ shows, so it goes last
    QByteArray bytes_;
    QByteArray format_;
    QBuffer buffer_;
    QImageReader reader_;
    QSize declared_;
    QSize pictureSize_;
    std::optional<Decoded> refusal_;
};

} // namespace

bool QtReads(const QByteArray &format) { return QImageReader::supportedImageFormats().contains(format); }

Decoded Decode(const QString &path, const FormatCheck &available) { return Reading(path, available).Read(); }

QSize HeaderSize(const QString &path, const FormatCheck &available)
{
    const Reading reading(path, available);
    return reading.Refusal() ? QSize() : reading.PictureSize();
}

QByteArray FormatOf(const QByteArray &head, const QString &path)
{
    streamcheck::Format format = streamcheck::FormatOf(Span(head));
    if (format == streamcheck::Format::Unknown)
        format = imageformats::ForExtension(QFileInfo(path).suffix().toStdString());
    const std::string_view name = imageformats::NameOf(format);
    return QByteArray(name.data(), static_cast<qsizetype>(name.size()));
}

QString PluginFileName(const QByteArray &format)
{
#if defined(Q_OS_WIN)
    return QStringLiteral("q%1.dll").arg(QString::fromLatin1(format));
#elif defined(Q_OS_MACOS)
    return QStringLiteral("libq%1.dylib").arg(QString::fromLatin1(format));
#else
    return QStringLiteral("libq%1.so").arg(QString::fromLatin1(format));
#endif
}

} // namespace imagedecoder
