// Broken and hostile files of every format through the decoder the editor and mapolin-map share,
// then once more through mapolin-map's image module.
#include "imaging/decoder/ImageDecoder.h"

#include "cli/image/ImageProbe.h"
#include "imaging/GifWriter.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QFile>
#include <QtEndian>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/stat.h>

namespace {

using imagedecoder::Outcome;

QByteArray BigEndian(quint32 value)
{
    value = qToBigEndian(value);
    return QByteArray(reinterpret_cast<const char *>(&value), 4);
}

// A PNG whose header claims another size; its pixels stay those of a 4 x 4 picture.
QByteArray PngClaiming(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(4, 4, format);
    image.fill(Qt::red);
    QByteArray png = testgif::Write(image, "png").replace(16, 8, BigEndian(width) + BigEndian(height));
    quint32 crc = 0xFFFFFFFF; // of the header chunk's type and data
    for (const char byte : png.mid(12, 17))
        for (int bit = 0, next = uchar(byte); bit < 8; ++bit, next >>= 1)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - ((crc ^ next) & 1)));
    return png.replace(29, 4, BigEndian(~crc));
}

TEST(ImageDecoder, RefusesBrokenAndHostileFilesSayingWhy)
{
    QTemporaryDir dir;
    const QImage pattern = testgif::Pattern(97, 61);
    const QImage rgb = pattern.convertToFormat(QImage::Format_RGB32);
    const QByteArray gif = testgif::Encode(pattern);
    const QByteArray jpeg = testgif::EncodeJpeg(pattern);
    const QByteArray png = testgif::Write(rgb, "png");
    const QByteArray webp = testgif::Write(rgb, "webp", 100); // lossless: the size in bits 0-27 of byte 21 on
    const QByteArray bmp = testgif::Write(rgb, "bmp");
    const QByteArray rle = testgif::EncodeRle8Bmp(pattern);

    const QString fifo = dir.filePath("pipe.gif");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    auto write = [&dir](const char *name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    };

    const QString tooLarge = QStringLiteral("The image is too large to open (%1 x %2 pixels).");
    const QString damaged = QStringLiteral("The image data is cut short or damaged.");
    // An empty reason stands for the format decoder's own text. What is no file is told apart and
    // never read: a FIFO would block, /dev/zero never end.
    const std::tuple<QString, Outcome, QString> cases[] = {
        {write("screen.gif", QByteArray(gif).replace(6, 4, "\xFF\xFF\xFF\xFF")), Outcome::TooLarge, tooLarge.arg(65535).arg(65535)},
        {write("huge.png", PngClaiming(9000, 8000)), Outcome::TooLarge, tooLarge.arg(9000).arg(8000)},
        {write("limit.png", PngClaiming(8192, 8192)), Outcome::Damaged, damaged}, // within the limits
        {write("wide.png", PngClaiming(32767, 1)), Outcome::Damaged, damaged},
        {write("deep.png", PngClaiming(6000, 6000, QImage::Format_RGBA64)), Outcome::TooLarge,
         tooLarge.arg(6000).arg(6000)},
        {write("huge.webp", QByteArray(webp).replace(21, 4, "\xFF\xFF\xFF\x0F")), Outcome::TooLarge, tooLarge.arg(16384).arg(16384)},
        {write("huge.bmp", QByteArray(bmp).replace(18, 8, QByteArray::fromHex("803e0000803e0000"))), Outcome::TooLarge, tooLarge.arg(16000).arg(16000)},
        {write("scans.jpg", testgif::ScanBomb(5600, 5600, 20000)), Outcome::TooMuchWork,
         "The JPEG image has too many scans to open (more than 500)."},
        {write("few-scans.jpg", testgif::ScanBomb(8000, 8000, 60)), Outcome::TooMuchWork,
         "The JPEG image has too many scans for its size to open (60 scans at 8000 x 8000 pixels)."},
        {write("half.gif", gif.left(gif.size() / 2)), Outcome::Damaged, damaged},
        {write("half.jpg", jpeg.left(jpeg.size() / 2)), Outcome::Damaged, damaged},
        {write("half.png", png.left(png.size() / 2)), Outcome::Damaged, damaged},
        {write("half.webp", webp.left(webp.size() / 2)), Outcome::Damaged, damaged},
        {write("half.bmp", bmp.left(bmp.size() / 2)), Outcome::Damaged, damaged},
        {write("half-rle.bmp", rle.left(rle.size() / 2)), Outcome::Damaged, damaged},
        {write("notes.png", "Not a picture."), Outcome::Unreadable, {}},
        {write("notes.txt", "Not a picture."), Outcome::Unknown, "The file is not a GIF, JPEG, PNG, WebP or BMP image."},
        {dir.path(), Outcome::NotAFile, "It is a directory, not a file."},
        {fifo, Outcome::NotAFile, "It is a FIFO (named pipe), not a file."},
        {"/dev/zero", Outcome::NotAFile, "It is a device, not a file."},
        {dir.filePath("gone.png"), Outcome::Missing, "The file does not exist."},
        {write("png.gif", png), Outcome::Read, {}},
    };
    // mapolin-map's module reads and says the same.
    void *module = dlopen(QFile::encodeName(QCoreApplication::applicationDirPath() + '/' + ImageModuleName).constData(),
                          RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto moduleRead = reinterpret_cast<decltype(&mapolin_map_read_image)>(dlsym(module, ImageReaderSymbol));
    ASSERT_NE(moduleRead, nullptr);
    for (const auto &[path, outcome, reason] : cases) {
        SCOPED_TRACE(path.toStdString());
        const imagedecoder::Decoded decoded = imagedecoder::Decode(path);
        EXPECT_EQ(decoded.outcome, outcome);
        EXPECT_EQ(decoded.reason.isEmpty(), outcome == Outcome::Read);
        EXPECT_EQ(decoded.reason, reason.isEmpty() ? decoded.reason : reason);
        EXPECT_EQ(decoded.picture.size(), outcome == Outcome::Read ? QSize(97, 61) : QSize(0, 0));
        // The header alone tells whether the file is refused before decoding.
        const bool decodable = outcome == Outcome::Read || outcome == Outcome::Damaged || outcome == Outcome::TooMuchWork;
        EXPECT_EQ(imagedecoder::HeaderSize(path).isValid(), decodable);
        QSize size(0, 0);
        char text[200] = {};
        EXPECT_EQ(moduleRead(QFile::encodeName(path).constData(), &size.rwidth(), &size.rheight(), text, sizeof text),
                  outcome == Outcome::Read);
        EXPECT_EQ(QString::fromLocal8Bit(text), decoded.reason);
        EXPECT_EQ(size, decoded.picture.size());
    }
    dlclose(module);
}

} // namespace
