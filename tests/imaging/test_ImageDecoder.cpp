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
    QByteArray rle = testgif::EncodeRle8Bmp(pattern);

    const QString tooLarge = QStringLiteral("The image is too large to open (%1 x %2 pixels).");
    const QString damaged = QStringLiteral("The image data is cut short or damaged.");
    // An empty reason stands for the format decoder's own text.
    const std::tuple<const char *, QByteArray, Outcome, QString> cases[] = {
        {"screen.gif", hugeGif, Outcome::TooLarge, tooLarge.arg(65535).arg(65535)},
        {"huge.png", PngClaiming(9000, 8000), Outcome::TooLarge, tooLarge.arg(9000).arg(8000)},
        {"deep.png", PngClaiming(6000, 6000, QImage::Format_RGBA64), Outcome::TooLarge, tooLarge.arg(6000).arg(6000)},
        {"huge.webp", hugeWebp, Outcome::TooLarge, tooLarge.arg(16384).arg(16384)},
        {"huge.bmp", hugeBmp, Outcome::TooLarge, tooLarge.arg(16000).arg(16000)},
        {"scans.jpg", testgif::ScanBomb(5600, 5600, 20000), Outcome::TooMuchWork,
         "The JPEG image has too many scans to open (more than 500)."},
        {"few-scans.jpg", testgif::ScanBomb(8000, 8000, 60), Outcome::TooMuchWork,
         "The JPEG image has too many scans for its size to open (60 scans at 8000 x 8000 pixels)."},
        {"half.gif", gif.left(gif.size() / 2), Outcome::Damaged, damaged},
        {"half.jpg", jpeg.left(jpeg.size() / 2), Outcome::Damaged, damaged},
        {"half.png", png.left(png.size() / 2), Outcome::Damaged, damaged},
        {"half.webp", webp.left(webp.size() / 2), Outcome::Damaged, damaged},
        {"half.bmp", bmp.left(bmp.size() / 2), Outcome::Damaged, damaged},
        {"half-rle.bmp", rle.left(rle.size() / 2), Outcome::Damaged, damaged},
        {"head.png", png.left(20), Outcome::Unreadable, {}},
        {"notes.png", "Not a picture.", Outcome::Unreadable, {}},
        {"notes.txt", "Not a picture.", Outcome::Unknown, "The file is not a GIF, JPEG, PNG, WebP or BMP image."},
    };
    QStringList paths;
    for (const auto &[name, bytes, outcome, reason] : cases) {
        SCOPED_TRACE(name);
        paths << dir.filePath(name);
        QFile file(paths.last());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        const imagedecoder::Decoded decoded = imagedecoder::Decode(paths.last());
        EXPECT_EQ(decoded.outcome, outcome);
        EXPECT_TRUE(decoded.picture.isNull());
        EXPECT_EQ(decoded.reason, reason.isEmpty() ? decoded.reason : reason);
        EXPECT_FALSE(decoded.reason.isEmpty());
    }

    // What is no file is told apart and never read: a FIFO would block, /dev/zero never end.
    const QString fifo = dir.filePath("pipe.gif");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const std::tuple<QString, Outcome, QString> others[] = {
        {dir.path(), Outcome::NotAFile, "It is a directory, not a file."},
        {fifo, Outcome::NotAFile, "It is a FIFO (named pipe), not a file."},
        {"/dev/zero", Outcome::NotAFile, "It is a device, not a file."},
        {dir.filePath("gone.png"), Outcome::Missing, "The file does not exist."},
    };
    for (const auto &[path, outcome, reason] : others) {
        const imagedecoder::Decoded decoded = imagedecoder::Decode(path);
        EXPECT_EQ(std::make_pair(decoded.outcome, decoded.reason), std::make_pair(outcome, reason)) << path.toStdString();
        paths << path;
    }

    // mapolin-map's module says the same, and reads a good file whatever its name.
    void *module = dlopen(QFile::encodeName(QCoreApplication::applicationDirPath() + '/' + ImageModuleName).constData(),
                          RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto read = reinterpret_cast<decltype(&mapolin_map_read_image)>(dlsym(module, ImageReaderSymbol));
    ASSERT_NE(read, nullptr);
    for (const QString &path : paths) {
        int width = 0;
        int height = 0;
        char reason[200] = {};
        EXPECT_EQ(read(QFile::encodeName(path).constData(), &width, &height, reason, sizeof reason), 0);
        EXPECT_EQ(QString::fromLocal8Bit(reason), imagedecoder::Decode(path).reason) << path.toStdString();
    }
    int width = 0;
    int height = 0;
    char reason[8] = {};
    QFile file(dir.filePath("png.gif"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(png) == png.size());
    file.close();
    EXPECT_EQ(read(QFile::encodeName(file.fileName()).constData(), &width, &height, reason, sizeof reason), 1);
    EXPECT_EQ(QSize(width, height), QSize(97, 61));
    dlclose(module);
}

} // namespace
