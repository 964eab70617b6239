// The image reader against real, broken and hostile files, with every message caught by a fake prompter.
#include "imaging/PMultiImage.h"

#include "imaging/GifWriter.h"
#include "imaging/decoder/ImageDecoder.h"
#include "support/FakePrompter.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kDecodeFailed = QStringLiteral("An exception error occured in the imagelib dll. We recommend to exit "
                                             "the application and to restart it by clicking its icon!");
const QString kTooManyScans = QStringLiteral("The JPEG image has too many scans to open (more than 500).");

// A reader whose format plugins are all missing.
class TPluginlessImage : public TPMultiImage {
protected:
    bool FormatAvailable(const QByteArray &) const override { return false; }
};

// A GIF whose screen descriptor, image descriptor or both claim 60000 x 60000 pixels.
QByteArray HugeGif(bool screen = true, bool frame = true)
{
    QByteArray gif = testgif::Encode(testgif::Pattern(2, 2));
    const QByteArray huge("\x60\xEA\x60\xEA", 4);
    if (screen)
        gif.replace(6, 4, huge);
    if (frame)
        gif.replace(13 + 768 + 5, 4, huge);
    return gif;
}

class PMultiImageTest : public ::testing::Test {
protected:
    QString Write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // Opens the file the way the main window does: read it, then its header.
    bool Open(TPMultiImage &image, const QString &path)
    {
        image.SetImageName(path);
        return image.ReadImageInfo(path);
    }

    QTemporaryDir dir;
    FakePrompter prompter;
    TPMultiImage reader;
};

TEST_F(PMultiImageTest, ReadsEveryFormatExactlyAndJpegUnderEachExtension)
{
    const QImage pattern = testgif::Pattern(41, 29);
    const QImage rgb = pattern.convertToFormat(QImage::Format_RGB32);
    const QByteArray jpeg = testgif::EncodeJpeg(pattern);
    // Of an animation, the first frame.
    const QByteArray animated = testgif::Encode(pattern).chopped(1) + testgif::Encode(pattern.mirrored()).mid(13 + 768);
    const std::pair<QString, QByteArray> files[] = {
        {"pattern.gif", testgif::Encode(pattern)}, {"animated.gif", animated}, {"photo.jpg", jpeg}, {"photo.JPG", jpeg},
        {"photo.jpeg", jpeg}, {"pattern.png", testgif::Write(rgb, "png")}, {"pattern.webp", testgif::Write(rgb, "webp", 100)},
        {"pattern.bmp", testgif::Write(rgb, "bmp")}, {"runs.bmp", testgif::EncodeRle8Bmp(pattern)}};
    for (const auto &[name, bytes] : files) {
        SCOPED_TRACE(name.toStdString());
        const QString path = Write(name, bytes);
        EXPECT_TRUE(Open(reader, path));
        EXPECT_EQ(reader.ImageName(), path);
        ASSERT_EQ(reader.Picture().size(), QSize(41, 29));
        EXPECT_EQ(QSize(reader.ImageWidth(), reader.ImageHeight()), QSize(41, 29));
        // JPEG is lossy, but the middle of each 8 x 8 block keeps its colour; the others are exact.
        const int tolerance = name.startsWith("photo") ? 24 : 0;
        for (int y = 0; y < 29; ++y)
            for (int x = 0; x < 41; ++x) {
                if (tolerance > 0 && (x % 8 != 4 || y % 8 != 4))
                    continue;
                const QRgb want = pattern.pixel(x, y);
                const QRgb got = reader.Picture().pixel(x, y);
                ASSERT_NEAR(qRed(got), qRed(want), tolerance) << x << "," << y;
                ASSERT_NEAR(qGreen(got), qGreen(want), tolerance) << x << "," << y;
                ASSERT_NEAR(qBlue(got), qBlue(want), tolerance) << x << "," << y;
            }
    }
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(PMultiImageTest, EmptyNameOrMissingFileEmptiesThePictureSilently)
{
    const QString gif = Write("pattern.gif", testgif::Encode(testgif::Pattern(16, 16)));
    ASSERT_TRUE(Open(reader, gif));
    reader.SetImageName(QString());
    EXPECT_TRUE(reader.Picture().isNull());
    EXPECT_TRUE(reader.ImageName().isEmpty());

    ASSERT_TRUE(Open(reader, gif));
    EXPECT_FALSE(Open(reader, dir.filePath("gone.jpg")));
    EXPECT_TRUE(reader.Picture().isNull());
    EXPECT_EQ(QSize(reader.ImageWidth(), reader.ImageHeight()), QSize(0, 0));
    reader.SetImageName(dir.path()); // a folder is no file either
    EXPECT_TRUE(prompter.messages.isEmpty());
}

// The decoder's refusals are the decoder test's; here, what the window is told of them.
TEST_F(PMultiImageTest, BadInputGivesOneErrorAndNoPicture)
{
    const QByteArray jpeg = testgif::EncodeJpeg(testgif::Pattern(64, 48));
    // An empty message stands for the reader's own error text, for a header it cannot make sense of.
    const std::tuple<const char *, QByteArray, QString> cases[] = {
        {"notes.gif", "GIF? no, text.", {}},
        {"truncated.jpg", jpeg.left(jpeg.size() / 2), kDecodeFailed},
        {"scans.jpg", testgif::ScanBomb(8000, 8000, 20000), kTooManyScans},
    };
    for (const auto &[name, bytes, message] : cases) {
        SCOPED_TRACE(name);
        prompter.messages.clear();
        Open(reader, Write(name, bytes));
        EXPECT_TRUE(reader.Picture().isNull());
        ASSERT_EQ(prompter.messages.size(), 1);
        const auto &shown = prompter.messages.constFirst();
        EXPECT_EQ(shown.kind, IPrompter::Kind::Error);
        EXPECT_EQ(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        if (message.isEmpty()) {
            EXPECT_FALSE(shown.text.isEmpty());
            EXPECT_NE(shown.text, kDecodeFailed);
        } else {
            EXPECT_EQ(shown.text, message);
        }
    }
}

TEST_F(PMultiImageTest, OpensWhatTheDecoderReadsWholeAtTheDecodedSize)
{
    const QByteArray jpeg = testgif::EncodeJpeg(testgif::Pattern(64, 48));
    const QByteArray gif = testgif::Encode(testgif::Pattern(64, 48));
    const qsizetype afterApp0 = 4 + (uchar(jpeg[4]) << 8 | uchar(jpeg[5]));
    QByteArray wide = testgif::Encode(testgif::Pattern(100, 10));
    wide.replace(6, 2, QByteArray("\x34\x08", 2)); // a logical screen 2100 pixels wide
    const std::tuple<const char *, QByteArray, QSize> cases[] = {
        {"stray.jpg", QByteArray(jpeg).insert(afterApp0, "\x12\x34", 2), {64, 48}},
        {"endless.jpg", jpeg.left(jpeg.size() - 2), {64, 48}},
        {"padded.gif", QByteArray(gif).insert(gif.size() - 1, '\0'), {64, 48}},
        {"gif.jpg", gif, {64, 48}},
        {"jpeg.gif", jpeg, {64, 48}},
        {"png.gif", testgif::Write(testgif::Pattern(64, 48), "png"), {64, 48}},
        {"webp.jpg", testgif::Write(testgif::Pattern(64, 48), "webp"), {64, 48}},
        {"wide.gif", wide, {2100, 10}},
    };
    for (const auto &[name, bytes, size] : cases) {
        SCOPED_TRACE(name);
        const QString path = Write(name, bytes);
        EXPECT_TRUE(Open(reader, path));
        EXPECT_EQ(reader.Picture().size(), size);
        EXPECT_EQ(QSize(reader.ImageWidth(), reader.ImageHeight()), size);
        TPMultiImage headerOnly;
        EXPECT_TRUE(headerOnly.ReadImageInfo(path));
        EXPECT_EQ(QSize(headerOnly.ImageWidth(), headerOnly.ImageHeight()), size);
    }
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.value(0).text.toStdString();
}

TEST_F(PMultiImageTest, OversizedHeadersReportNoSizeAndOversizedFramesAreClipped)
{
    EXPECT_FALSE(reader.ReadImageInfo(Write("huge.gif", HugeGif(true, true))));
    EXPECT_EQ(QSize(reader.ImageWidth(), reader.ImageHeight()), QSize(0, 0));
    // The decoder allocates the screen, so a frame claiming more than it costs nothing.
    Open(reader, Write("hugeframe.gif", HugeGif(false, true)));
    EXPECT_LE(reader.Picture().width(), 2);
    EXPECT_EQ(reader.ImageWidth(), reader.Picture().width());
}

TEST(PMultiImage, OpenFilterListsEveryFormatFirstThenEachKeepingTheClassicNames)
{
    EXPECT_EQ(TPMultiImage::OpenFilter(),
              "Image Files (*.GIF, *.JPG, *.PNG, *.WEBP, *.BMP)|*.gif;*.jpg;*.jpeg;*.png;*.webp;*.bmp|Gif Files (*.GIF)|*.gif"
              "|JPEG Files (*.JPG)|*.jpg;*.jpeg|PNG Files (*.PNG)|*.png|WebP Files (*.WEBP)|*.webp|Bitmap Files (*.BMP)|*.bmp");
}

TEST_F(PMultiImageTest, MissingPluginIsNamedAndNothingIsRead)
{
    TPluginlessImage pluginless;
    EXPECT_FALSE(Open(pluginless, Write("pattern.gif", testgif::Encode(testgif::Pattern(8, 8)))));
    pluginless.SetImageName(Write("photo.jpeg", testgif::EncodeJpeg(testgif::Pattern(8, 8))));
    EXPECT_TRUE(pluginless.Picture().isNull());
    const QString tail = QStringLiteral(". Make sure its located in the application's searchpath.");
    ASSERT_EQ(prompter.messages.size(), 2);
    EXPECT_EQ(prompter.messages[0].text, "Can't load " + imagedecoder::PluginFileName("gif") + tail);
    EXPECT_EQ(prompter.messages[1].text, "Can't load " + imagedecoder::PluginFileName("jpeg") + tail);
}

} // namespace
