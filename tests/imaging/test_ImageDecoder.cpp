// Good, broken and hostile files of every format through the decoder the editor and mapolin-map
// share, through mapolin-map's image module and through the editor's reader, which tells the
// window of refusals through a fake prompter.
#include "imaging/decoder/ImageDecoder.h"

#include "cli/image/ImageProbe.h"
#include "imaging/GifWriter.h"
#include "imaging/PMultiImage.h"
#include "support/FakePrompter.h"
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

const QString kDecodeFailed = QStringLiteral("An exception error occured in the imagelib dll. We recommend to exit "
                                             "the application and to restart it by clicking its icon!");

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

// A reader whose format plugins are all missing.
class TPluginlessImage : public TPMultiImage {
protected:
    bool FormatAvailable(const QByteArray &) const override { return false; }
};

class ImageReading : public ::testing::Test {
protected:
    QString Write(const char *name, const QByteArray &bytes)
    {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }

    // Opens the file the way the main window does: read it, then its size.
    static bool Open(TPMultiImage &image, const QString &path)
    {
        image.SetImageName(path);
        return image.ReadImageInfo(path);
    }

    QTemporaryDir dir;
    FakePrompter prompter;
};

// Each file is read whole at its decoded size (a GIF's logical screen), or refused saying why; the
// editor shows every refusal but a missing file or what is no file in one error message.
TEST_F(ImageReading, ReadsWhatIsWholeAndRefusesTheRestSayingWhy)
{
    const QImage pattern = testgif::Pattern(97, 61);
    const QImage rgb = pattern.convertToFormat(QImage::Format_RGB32);
    const QByteArray gif = testgif::Encode(pattern);
    const QByteArray jpeg = testgif::EncodeJpeg(pattern);
    const QByteArray png = testgif::Write(rgb, "png");
    const QByteArray webp = testgif::Write(rgb, "webp", 100); // lossless: the size in bits 0-27 of byte 21 on
    const QByteArray bmp = testgif::Write(rgb, "bmp");
    const QByteArray rle = testgif::EncodeRle8Bmp(pattern);
    // Of an animation, the first frame.
    const QByteArray animated = gif.chopped(1) + testgif::Encode(pattern.mirrored()).mid(13 + 768);
    QByteArray wide = testgif::Encode(testgif::Pattern(100, 10));
    wide.replace(6, 2, QByteArray("\x34\x08", 2)); // a logical screen 2100 pixels wide
    QByteArray hugeFrame = testgif::Encode(testgif::Pattern(2, 2)); // the decoder allocates the screen only
    hugeFrame.replace(13 + 768 + 5, 4, "\x60\xEA\x60\xEA");

    const QString fifo = dir.filePath("pipe.gif");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString tooLarge = QStringLiteral("The image is too large to open (%1 x %2 pixels).");
    const QString damaged = QStringLiteral("The image data is cut short or damaged.");
    const QSize whole(97, 61);
    // An empty reason stands for the format decoder's own text. What is no file is told apart and
    // never read: a FIFO would block, /dev/zero never end.
    const std::tuple<QString, Outcome, QString, QSize> cases[] = {
        {Write("pattern.gif", gif), Outcome::Read, {}, whole},
        {Write("animated.gif", animated), Outcome::Read, {}, whole},
        {Write("photo.JPG", jpeg), Outcome::Read, {}, whole},
        {Write("pattern.png", png), Outcome::Read, {}, whole},
        {Write("pattern.webp", webp), Outcome::Read, {}, whole},
        {Write("pattern.bmp", bmp), Outcome::Read, {}, whole},
        {Write("runs.bmp", rle), Outcome::Read, {}, whole},
        {Write("stray.jpg", testgif::WithStrayBytes(jpeg)), Outcome::Read, {}, whole},
        {Write("endless.jpg", jpeg.left(jpeg.size() - 2)), Outcome::Read, {}, whole},
        {Write("padded.gif", QByteArray(gif).insert(gif.size() - 1, '\0')), Outcome::Read, {}, whole},
        {Write("gif.jpg", gif), Outcome::Read, {}, whole},
        {Write("png.gif", png), Outcome::Read, {}, whole},
        {Write("wide.gif", wide), Outcome::Read, {}, {2100, 10}},
        {Write("hugeframe.gif", hugeFrame), Outcome::Read, {}, {2, 2}},
        {Write("screen.gif", QByteArray(gif).replace(6, 4, "\xFF\xFF\xFF\xFF")), Outcome::TooLarge, tooLarge.arg(65535).arg(65535), {}},
        {Write("huge.png", PngClaiming(9000, 8000)), Outcome::TooLarge, tooLarge.arg(9000).arg(8000), {}},
        {Write("limit.png", PngClaiming(8192, 8192)), Outcome::Damaged, damaged, {}}, // within the limits
        {Write("wide.png", PngClaiming(32767, 1)), Outcome::Damaged, damaged, {}},
        {Write("deep.png", PngClaiming(6000, 6000, QImage::Format_RGBA64)), Outcome::TooLarge, tooLarge.arg(6000).arg(6000), {}},
        {Write("huge.webp", QByteArray(webp).replace(21, 4, "\xFF\xFF\xFF\x0F")), Outcome::TooLarge, tooLarge.arg(16384).arg(16384), {}},
        {Write("huge.bmp", QByteArray(bmp).replace(18, 8, QByteArray::fromHex("803e0000803e0000"))), Outcome::TooLarge,
         tooLarge.arg(16000).arg(16000), {}},
        {Write("scans.jpg", testgif::ScanBomb(5600, 5600, 20000)), Outcome::TooMuchWork,
         "The JPEG image has too many scans to open (more than 500).", {}},
        {Write("few-scans.jpg", testgif::ScanBomb(8000, 8000, 60)), Outcome::TooMuchWork,
         "The JPEG image has too many scans for its size to open (60 scans at 8000 x 8000 pixels).", {}},
        {Write("half.gif", gif.left(gif.size() / 2)), Outcome::Damaged, damaged, {}},
        {Write("half.jpg", jpeg.left(jpeg.size() / 2)), Outcome::Damaged, damaged, {}},
        {Write("half.png", png.left(png.size() / 2)), Outcome::Damaged, damaged, {}},
        {Write("half.webp", webp.left(webp.size() / 2)), Outcome::Damaged, damaged, {}},
        {Write("half.bmp", bmp.left(bmp.size() / 2)), Outcome::Damaged, damaged, {}},
        {Write("half-rle.bmp", rle.left(rle.size() / 2)), Outcome::Damaged, damaged, {}},
        {Write("notes.png", "Not a picture."), Outcome::Unreadable, {}, {}},
        {Write("notes.txt", "Not a picture."), Outcome::Unknown, "The file is not a GIF, JPEG, PNG, WebP or BMP image.", {}},
        {dir.path(), Outcome::NotAFile, "It is a directory, not a file.", {}},
        {fifo, Outcome::NotAFile, "It is a FIFO (named pipe), not a file.", {}},
        {"/dev/zero", Outcome::NotAFile, "It is a device, not a file.", {}},
        {dir.filePath("gone.png"), Outcome::Missing, "The file does not exist.", {}},
    };
    // mapolin-map's module reads and says the same.
    void *module = dlopen(QFile::encodeName(QCoreApplication::applicationDirPath() + '/' + ImageModuleName).constData(),
                          RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto moduleRead = reinterpret_cast<decltype(&mapolin_map_read_image)>(dlsym(module, ImageReaderSymbol));
    ASSERT_NE(moduleRead, nullptr);
    for (const auto &[path, outcome, reason, size] : cases) {
        SCOPED_TRACE(path.toStdString());
        const bool read = outcome == Outcome::Read;
        const imagedecoder::Decoded decoded = imagedecoder::Decode(path);
        EXPECT_EQ(decoded.outcome, outcome);
        EXPECT_EQ(decoded.reason.isEmpty(), read);
        EXPECT_EQ(decoded.reason, reason.isEmpty() ? decoded.reason : reason);
        EXPECT_EQ(decoded.picture.size(), read ? size : QSize(0, 0));
        // The header alone tells whether the file is refused before decoding.
        const QSize header = imagedecoder::HeaderSize(path);
        EXPECT_EQ(header.isValid(), read || outcome == Outcome::Damaged || outcome == Outcome::TooMuchWork);
        EXPECT_TRUE(!read || header == size);
        QSize moduleSize(0, 0);
        char text[200] = {};
        EXPECT_EQ(moduleRead(QFile::encodeName(path).constData(), &moduleSize.rwidth(), &moduleSize.rheight(), text,
                             sizeof text), read);
        EXPECT_EQ(QString::fromLocal8Bit(text), decoded.reason);
        EXPECT_EQ(moduleSize, decoded.picture.size());

        prompter.messages.clear();
        TPMultiImage reader;
        EXPECT_EQ(Open(reader, path), header.isValid());
        EXPECT_EQ(reader.Picture().size(), decoded.picture.size());
        EXPECT_EQ(QSize(reader.ImageWidth(), reader.ImageHeight()), header.isValid() ? header : QSize(0, 0));
        const bool silent = read || outcome == Outcome::Missing || outcome == Outcome::NotAFile;
        ASSERT_EQ(prompter.messages.size(), silent ? 0 : 1);
        if (!silent) {
            EXPECT_EQ(prompter.messages[0].text, outcome == Outcome::Damaged ? kDecodeFailed : decoded.reason);
        }
    }
    dlclose(module);
}

TEST_F(ImageReading, EmptyNameEmptiesThePictureAndAMissingPluginIsNamed)
{
    TPMultiImage reader;
    ASSERT_TRUE(Open(reader, Write("pattern.gif", testgif::Encode(testgif::Pattern(8, 8)))));
    reader.SetImageName(QString());
    EXPECT_TRUE(reader.Picture().isNull());

    TPluginlessImage pluginless;
    EXPECT_FALSE(Open(pluginless, dir.filePath("pattern.gif")));
    pluginless.SetImageName(Write("photo.jpeg", testgif::EncodeJpeg(testgif::Pattern(8, 8))));
    EXPECT_TRUE(pluginless.Picture().isNull());
    const QString tail = QStringLiteral(". Make sure its located in the application's searchpath.");
    ASSERT_EQ(prompter.messages.size(), 2);
    EXPECT_EQ(prompter.messages[0].text, "Can't load " + imagedecoder::PluginFileName("gif") + tail);
    EXPECT_EQ(prompter.messages[1].text, "Can't load " + imagedecoder::PluginFileName("jpeg") + tail);
}

TEST(PMultiImage, OpenFilterListsEveryFormatFirstThenEachKeepingTheClassicNames)
{
    EXPECT_EQ(TPMultiImage::OpenFilter(),
              "Image Files (*.GIF, *.JPG, *.PNG, *.WEBP, *.BMP)|*.gif;*.jpg;*.jpeg;*.png;*.webp;*.bmp|Gif Files (*.GIF)|*.gif"
              "|JPEG Files (*.JPG)|*.jpg;*.jpeg|PNG Files (*.PNG)|*.png|WebP Files (*.WEBP)|*.webp|Bitmap Files (*.BMP)|*.bmp");
}

} // namespace
