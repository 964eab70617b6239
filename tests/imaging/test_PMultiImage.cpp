// The image reader against real, broken and hostile files, with every message caught by a fake prompter.
#include "imaging/PMultiImage.h"

#include "dialogs/Prompter.h"
#include "imaging/GifWriter.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kDecodeFailed = QStringLiteral("An exception error occured in the imagelib dll. We recommend to exit "
                                             "the application and to restart it by clicking its icon!");

class TRecordingPrompter : public IPrompter {
public:
    QMessageBox::StandardButton Message(QWidget *, Kind kind, const QString &, const QString &text,
                                        QMessageBox::StandardButtons buttons) override
    {
        kinds.append(kind);
        texts.append(text);
        EXPECT_EQ(buttons, QMessageBox::Ok);
        return QMessageBox::Ok;
    }
    QString OpenFile(QWidget *, const OpenFileRequest &) override { return {}; }
    std::optional<QColor> ChooseColour(QWidget *, const QColor &) override { return std::nullopt; }

    QList<Kind> kinds;
    QStringList texts;
};

// A reader whose format plugins are all missing.
class TPluginlessImage : public TPMultiImage {
protected:
    bool FormatAvailable(const QByteArray &) const override { return false; }
};

QImage TestPattern(int width, int height)
{
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorTable({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, (x / 8 + y / 8) % 4);
    return image;
}

QByteArray JpegBytes(const QImage &image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(100);
    EXPECT_TRUE(writer.write(image.convertToFormat(QImage::Format_RGB32))) << writer.errorString().toStdString();
    return buffer.data();
}

// A GIF whose screen descriptor, image descriptor or both claim 60000 x 60000 pixels.
QByteArray HugeGif(bool screen = true, bool frame = true)
{
    QByteArray gif = testgif::Encode(TestPattern(2, 2));
    const char huge[] = {char(0x60), char(0xEA), char(0x60), char(0xEA)};
    if (screen)
        gif.replace(6, 4, QByteArray(huge, 4));
    if (frame)
        gif.replace(13 + 768 + 5, 4, QByteArray(huge, 4));
    return gif;
}

class PMultiImageTest : public ::testing::Test {
protected:
    void SetUp() override { SetPrompter(&prompter); }
    void TearDown() override { SetPrompter(nullptr); }

    QString Write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
    TRecordingPrompter prompter;
    TPMultiImage reader;
};

TEST_F(PMultiImageTest, ReadsGifWithExactPixels)
{
    const QImage pattern = TestPattern(41, 29);
    const QString path = Write("pattern.gif", testgif::Encode(pattern));
    reader.SetImageName(path);
    EXPECT_TRUE(reader.ReadImageInfo(path));

    EXPECT_TRUE(prompter.texts.isEmpty()) << prompter.texts.join('\n').toStdString();
    EXPECT_EQ(reader.ImageName(), path);
    ASSERT_EQ(reader.Picture().size(), QSize(41, 29));
    EXPECT_EQ(reader.ImageWidth(), 41);
    EXPECT_EQ(reader.ImageHeight(), 29);
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 41; ++x)
            ASSERT_EQ(reader.Picture().pixel(x, y), pattern.pixel(x, y)) << x << "," << y;
}

TEST_F(PMultiImageTest, ReadsJpegUnderEachExtension)
{
    const QImage pattern = TestPattern(64, 48);
    for (const QString name : {"photo.jpg", "photo.JPG", "photo.jpeg"}) {
        const QString path = Write(name, JpegBytes(pattern));
        reader.SetImageName(path);
        reader.ReadImageInfo(path);
        ASSERT_EQ(reader.Picture().size(), QSize(64, 48)) << name.toStdString();
        EXPECT_EQ(reader.ImageWidth(), 64);
        EXPECT_EQ(reader.ImageHeight(), 48);
        // Lossy, but the middle of each 8 x 8 block keeps its colour.
        for (const QPoint p : {QPoint(3, 3), QPoint(12, 4), QPoint(20, 20), QPoint(60, 44)}) {
            const QRgb want = pattern.pixel(p);
            const QRgb got = reader.Picture().pixel(p);
            EXPECT_NEAR(qRed(got), qRed(want), 24) << name.toStdString();
            EXPECT_NEAR(qGreen(got), qGreen(want), 24);
            EXPECT_NEAR(qBlue(got), qBlue(want), 24);
        }
    }
    EXPECT_TRUE(prompter.texts.isEmpty()) << prompter.texts.join('\n').toStdString();
}

TEST_F(PMultiImageTest, EmptyNameReleasesTheOnlyDecodedCopy)
{
    const QString path = Write("pattern.gif", testgif::Encode(TestPattern(16, 16)));
    reader.SetImageName(path);
    const QImage taken = reader.Picture();
    const uchar *pixels = taken.constBits();
    reader.SetImageName(QString());
    EXPECT_TRUE(reader.Picture().isNull());
    EXPECT_TRUE(reader.ImageName().isEmpty());
    // The window's copy shared the reader's pixels and still owns them unchanged.
    EXPECT_EQ(taken.constBits(), pixels);
    EXPECT_EQ(taken.size(), QSize(16, 16));
}

TEST_F(PMultiImageTest, MissingFileEmptiesThePictureSilently)
{
    reader.SetImageName(Write("pattern.gif", testgif::Encode(TestPattern(8, 8))));
    ASSERT_FALSE(reader.Picture().isNull());
    const QString missing = dir.filePath("gone.jpg");
    reader.SetImageName(missing);
    EXPECT_FALSE(reader.ReadImageInfo(missing));
    EXPECT_TRUE(reader.Picture().isNull());
    EXPECT_EQ(reader.ImageWidth(), 0);
    EXPECT_EQ(reader.ImageHeight(), 0);
    EXPECT_TRUE(prompter.texts.isEmpty());
    reader.SetImageName(dir.path()); // a folder is no file either
    EXPECT_TRUE(prompter.texts.isEmpty());
}

struct BadInput {
    const char *name;
    QByteArray bytes;
    QString message; // empty: the reader's own error text, for a header it cannot make sense of
};

TEST_F(PMultiImageTest, BadInputGivesOneErrorAndNoPicture)
{
    const QByteArray jpeg = JpegBytes(TestPattern(64, 48));
    const QByteArray gif = testgif::Encode(TestPattern(64, 48));
    QByteArray corruptGif = gif;
    corruptGif[13 + 768] = char(0x99); // no block starts with this byte
    const std::vector<BadInput> cases = {
        {"empty.gif", {}, {}},
        {"empty.jpg", {}, {}},
        {"notes.jpg", "These are not the pixels you are looking for.\r\n", {}},
        {"notes.gif", "GIF? no, text.", {}},
        {"corrupt.gif", corruptGif, {}},
        {"truncated.jpg", jpeg.left(jpeg.size() / 2), kDecodeFailed},
        {"nohead.jpg", jpeg.left(40), {}},
        {"truncated.gif", gif.left(gif.size() - 40), kDecodeFailed},
        {"huge.gif", HugeGif(), QStringLiteral("The image is too large to open (60000 x 60000 pixels).")},
        {"hugescreen.gif", HugeGif(true, false), QStringLiteral("The image is too large to open (60000 x 60000 pixels).")},
    };
    for (const BadInput &input : cases) {
        SCOPED_TRACE(input.name);
        prompter.texts.clear();
        prompter.kinds.clear();
        const QString path = Write(input.name, input.bytes);
        QElapsedTimer timer;
        timer.start();
        reader.SetImageName(path);
        reader.ReadImageInfo(path);
        EXPECT_LT(timer.elapsed(), 2000);
        EXPECT_TRUE(reader.Picture().isNull());
        ASSERT_EQ(prompter.texts.size(), 1) << prompter.texts.join('\n').toStdString();
        EXPECT_EQ(prompter.kinds.constFirst(), IPrompter::Kind::Error);
        if (input.message.isEmpty()) {
            EXPECT_FALSE(prompter.texts.constFirst().isEmpty());
            EXPECT_NE(prompter.texts.constFirst().toStdString(), kDecodeFailed.toStdString());
        } else {
            EXPECT_EQ(prompter.texts.constFirst().toStdString(), input.message.toStdString());
        }
    }
}

TEST_F(PMultiImageTest, OversizedHeadersReportNoSizeAndOversizedFramesAreClipped)
{
    for (const bool frame : {false, true}) {
        EXPECT_FALSE(reader.ReadImageInfo(Write("huge.gif", HugeGif(true, frame))));
        EXPECT_EQ(reader.ImageWidth(), 0);
        EXPECT_EQ(reader.ImageHeight(), 0);
    }
    // The decoder allocates the screen, so a frame claiming more than it costs nothing.
    const QString path = Write("hugeframe.gif", HugeGif(false, true));
    reader.SetImageName(path);
    reader.ReadImageInfo(path);
    EXPECT_LE(reader.Picture().width(), 2);
    EXPECT_EQ(reader.ImageWidth(), reader.Picture().width());
}

TEST_F(PMultiImageTest, MissingPluginIsNamedAndNothingIsRead)
{
    TPluginlessImage pluginless;
    const QString gif = Write("pattern.gif", testgif::Encode(TestPattern(8, 8)));
    const QString jpeg = Write("photo.jpeg", JpegBytes(TestPattern(8, 8)));
    pluginless.SetImageName(gif);
    EXPECT_FALSE(pluginless.ReadImageInfo(gif));
    pluginless.SetImageName(jpeg);
    EXPECT_TRUE(pluginless.Picture().isNull());
    const QString tail = QStringLiteral(". Make sure its located in the application's searchpath.");
    EXPECT_EQ(prompter.texts, QStringList({"Can't load " + TPMultiImage::PluginFileName("gif") + tail,
                                           "Can't load " + TPMultiImage::PluginFileName("jpeg") + tail}));
#if defined(Q_OS_LINUX)
    EXPECT_EQ(TPMultiImage::PluginFileName("gif"), "libqgif.so");
#endif
}

} // namespace
