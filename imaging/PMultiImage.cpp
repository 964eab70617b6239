#include "imaging/PMultiImage.h"

#include "dialogs/Prompter.h"
#include "imaging/core/ImageFormats.h"
#include "imaging/decoder/ImageDecoder.h"

#include <QWidget>

namespace {

const QString kCaption = QStringLiteral("Mapolin");
const QString kDecodeFailed = QStringLiteral("An exception error occured in the imagelib dll. We recommend to exit "
                                             "the application and to restart it by clicking its icon!");

} // namespace

TPMultiImage::TPMultiImage(QObject *parent) : QObject(parent) {}

void TPMultiImage::SetImageName(const QString &path)
{
    imageName_ = path;
    picture_ = QImage();
    if (path.isEmpty())
        return;
    imagedecoder::Decoded decoded =
        imagedecoder::Decode(path, [this](const QByteArray &format) { return FormatAvailable(format); });
    switch (decoded.outcome) {
    case imagedecoder::Outcome::Read: picture_ = std::move(decoded.picture); return;
    // Whatever is not a file is no file to open: nothing to report.
    case imagedecoder::Outcome::Missing:
    case imagedecoder::Outcome::NotAFile: return;
    case imagedecoder::Outcome::Damaged: decoded.reason = kDecodeFailed; break;
    default: break;
    }
    Prompter().Message(qobject_cast<QWidget *>(parent()), IPrompter::Kind::Error, kCaption, decoded.reason,
                       QMessageBox::Ok);
}

bool TPMultiImage::ReadImageInfo(const QString &path)
{
    // The window shows the decoded picture, so its size is the one to report; the header's is
    // the fallback while no picture of this file is held.
    QSize size = path == imageName_ ? picture_.size() : QSize();
    if (size.isEmpty())
        size = imagedecoder::HeaderSize(path, [this](const QByteArray &format) { return FormatAvailable(format); });
    imageWidth_ = static_cast<std::int16_t>(size.isValid() ? size.width() : 0);
    imageHeight_ = static_cast<std::int16_t>(size.isValid() ? size.height() : 0);
    return size.isValid();
}

QString TPMultiImage::OpenFilter() { return QString::fromStdString(imageformats::OpenFilter()); }

bool TPMultiImage::FormatAvailable(const QByteArray &format) const { return imagedecoder::QtReads(format); }
