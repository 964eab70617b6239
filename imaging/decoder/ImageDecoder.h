// Reads GIF, JPEG, PNG, WebP and BMP files into a picture under one set of limits on size and work.
// It needs Qt Gui only, so the editor's TPMultiImage and mapolin-map's image module share it.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

namespace imagedecoder {

// Sizes are handed on as 16-bit values, and the decoded picture must fit in memory comfortably:
// beyond this many bytes (64 megapixels at 32 bits) it is refused.
inline constexpr int kMaxSide = 32767;
inline constexpr qint64 kMaxDecodedBytes = qint64{256} * 1024 * 1024;

enum class Outcome {
    Read,        // the picture holds the whole image (of an animation, its first frame)
    Missing,     // nothing is at the path
    NotAFile,    // a directory, FIFO, device or socket; never opened for reading
    Unopenable,  // the system would not open or read the file
    Unknown,     // neither the bytes nor the name say which format the file is
    NoDecoder,   // Qt's plugin for the format cannot be loaded
    Unreadable,  // the format's decoder cannot make sense of the header
    TooLarge,    // the declared or decoded size is beyond the limits
    TooMuchWork, // a JPEG with too many scans, in all or for its size
    Damaged,     // cut short or broken past the header
};

struct Decoded {
    Outcome outcome = Outcome::Missing;
    QImage picture; // null unless read
    QString reason; // what happened, as a sentence for the user; empty when read
};

// Whether Qt's decoder of a format (named as QImageReader names it) can be loaded.
using FormatCheck = std::function<bool(const QByteArray &format)>;
bool QtReads(const QByteArray &format);

// Reads the file at path whole.
Decoded Decode(const QString &path, const FormatCheck &available = QtReads);

// The size the picture of the file will have (for a GIF its logical screen) from its header alone;
// invalid when Decode would refuse the file before decoding it.
QSize HeaderSize(const QString &path, const FormatCheck &available = QtReads);

// QImageReader's name of the format the bytes' signature shows, else the one the name's extension
// gives ("gif", "jpeg", "png", "webp", "bmp"); empty when neither says.
QByteArray FormatOf(const QByteArray &head, const QString &path);

// The platform's file name of the Qt plugin that decodes a format.
QString PluginFileName(const QByteArray &format);

} // namespace imagedecoder
