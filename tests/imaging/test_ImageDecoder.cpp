// Broken and hostile files of every format through the decoder the editor and mapolin-map share,
// then once more through mapolin-map's image module.
#include "imaging/decoder/ImageDecoder.h"

#include "cli/image/ImageProbe.h"
#include "imaging/GifWriter.h"
#include "support/QtPrinters.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageWriter>
#include <QtEndian>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/stat.h>

namespace {

using imagedecoder::Outcome;

QByteArray Encode(const QImage &image, const char *format, int quality = -1)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    return writer.write(image) ? buffer.data() : QByteArray();
}

QByteArray Put32(quint32 value, bool bigEndian)
{
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes.append(char(value >> (8 * (bigEndian ? 3 - i : i))));
    return bytes;
}

// A PNG whose header claims another size; its pixels stay those of a 4 x 4 picture.
QByteArray PngClaiming(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(4, 4, format);
    image.fill(Qt::red);
    QByteArray png = Encode(image, "png");
    png.replace(16, 8, Put32(quint32(width), true) + Put32(quint32(height), true));
    quint32 crc = 0xFFFFFFFF; // of the header chunk's type and data
    for (const char byte : png.mid(12, 17)) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return png.replace(29, 4, Put32(~crc, true));
}

QImage Pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorTable({qRgb(255, 0, 0), qRgb(0, 160, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, (x / 3 + y / 5 + x * y) % 4);
    return image;
}

TEST(ImageDecoder, RefusesBrokenAndHostileFilesSayingWhy)
{
    QTemporaryDir dir;
    const QImage pattern = Pattern(97, 61);
    const QImage rgb = pattern.convertToFormat(QImage::Format_RGB32);
    const QByteArray gif = testgif::Encode(pattern);
    const QByteArray jpeg = testgif::EncodeJpeg(pattern);
    const QByteArray png = Encode(rgb, "png");
    const QByteArray webp = Encode(rgb, "webp", 100); // lossless: its header holds the size in bits 0-27
    const QByteArray bmp = Encode(rgb, "bmp");
    QByteArray hugeWebp = webp;
    hugeWebp.replace(21, 4, Put32((qFromLittleEndian<quint32>(webp.constData() + 21) & 0xF0000000) | 0x0FFFFFFF, false));
    QByteArray hugeBmp = bmp;
    hugeBmp.replace(18, 8, Put32(16000, false) + Put32(16000, false));
    QByteArray hugeGif = gif;
    hugeGif.replace(6, 4, QByteArray("\xFF\xFF\xFF\xFF", 4));
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
        {write("screen.gif", hugeGif), Outcome::TooLarge, tooLarge.arg(65535).arg(65535)},
        {write("huge.png", PngClaiming(9000, 8000)), Outcome::TooLarge, tooLarge.arg(9000).arg(8000)},
        {write("limit.png", PngClaiming(8192, 8192)), Outcome::Damaged, damaged}, // within the limits
        {write("wide.png", PngClaiming(32767, 1)), Outcome::Damaged, damaged},
        {write("deep.png", PngClaiming(6000, 6000, QImage::Format_RGBA64)), Outcome::TooLarge,
         tooLarge.arg(6000).arg(6000)},
        {write("huge.webp", hugeWebp), Outcome::TooLarge, tooLarge.arg(16384).arg(16384)},
        {write("huge.bmp", hugeBmp), Outcome::TooLarge, tooLarge.arg(16000).arg(16000)},
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
        {write("head.png", png.left(20)), Outcome::Unreadable, {}},
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
