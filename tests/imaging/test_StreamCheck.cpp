// Whole and cut-off GIF, JPEG and BMP streams, cut at every possible length.
#include "imaging/core/StreamCheck.h"

#include "imaging/GifWriter.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

std::span<const std::uint8_t> Bytes(const QByteArray &data, qsizetype length)
{
    return {reinterpret_cast<const std::uint8_t *>(data.constData()), static_cast<std::size_t>(length)};
}

QImage Noise(int width, int height)
{
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorCount(256);
    for (int i = 0; i < 256; ++i)
        image.setColor(i, qRgb(i, 255 - i, (i * 7) & 0xFF));
    quint32 seed = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            image.setPixel(x, y, (seed >> 16) & 0xFF);
        }
    return image;
}

// The same picture under the old 12-byte header, whose sizes are 16 bits wide.
QByteArray OldHeaderBmp(const QByteArray &bmp)
{
    QByteArray old = bmp.left(14) + QByteArray::fromHex("0c000000") + bmp.mid(18, 2) + bmp.mid(22, 2) + bmp.mid(26, 4);
    return old.replace(10, 4, QByteArray::fromHex("1a000000")) + bmp.mid(54);
}

TEST(StreamCheck, StreamsAreCompleteOnlyOnceWhole)
{
    using Check = bool (*)(std::span<const std::uint8_t>);
    const QImage noise = Noise(40, 30);
    const QByteArray gif = testgif::Encode(noise);
    const QByteArray bmp = testgif::Write(noise.convertToFormat(QImage::Format_RGB888), "bmp");
    // The decoder does without a JPEG's end marker and without all that follows a GIF's first
    // image, so that many bytes at the end may go.
    const std::tuple<const char *, QByteArray, Check, qsizetype> streams[] = {
        {"baseline jpeg", testgif::EncodeJpeg(noise), streamcheck::JpegIsComplete, 2},
        {"progressive jpeg", testgif::EncodeJpeg(noise, true), streamcheck::JpegIsComplete, 2},
        {"stray bytes", testgif::WithStrayBytes(testgif::EncodeJpeg(noise)), streamcheck::JpegIsComplete, 2},
        {"gif", gif, streamcheck::GifIsComplete, 1},
        {"gif with a zero before its trailer", QByteArray(gif).insert(gif.size() - 1, '\0'), streamcheck::GifIsComplete, 2},
        {"bmp", bmp, streamcheck::BmpIsComplete, 0},
        {"bmp under the old header", OldHeaderBmp(bmp), streamcheck::BmpIsComplete, 0},
        {"run-length bmp", testgif::EncodeRle8Bmp(noise), streamcheck::BmpIsComplete, 2},
    };
    for (const auto &[name, stream, complete, optional] : streams) {
        SCOPED_TRACE(name);
        for (qsizetype length = 0; length <= stream.size(); ++length)
            ASSERT_EQ(complete(Bytes(stream, length)), length >= stream.size() - optional) << "cut at " << length;
        // Bytes after the end (some cameras append data) do not matter.
        const QByteArray padded = stream + QByteArray("trailing data");
        EXPECT_TRUE(complete(Bytes(padded, padded.size())));
    }
}

TEST(StreamCheck, ScanWorkCountsEachScansBlocksUpToTheScanLimit)
{
    // Sampled 2 x 2, 1 x 1, 1 x 1: six blocks an MCU, of which the ten scans code 32.
    const QByteArray progressive = testgif::EncodeJpeg(Noise(16, 16), true);
    const streamcheck::JpegWork work = streamcheck::JpegScanWork(Bytes(progressive, progressive.size()));
    EXPECT_EQ(work.scans, 10u);
    EXPECT_EQ(work.blocks, 32u);
    const QByteArray bomb = testgif::ScanBomb(8000, 8000, 20000);
    EXPECT_EQ(streamcheck::JpegScanWork(Bytes(bomb, bomb.size())).scans, streamcheck::kMaxJpegScans + 1);
    EXPECT_FALSE(streamcheck::JpegIsComplete(Bytes(bomb, bomb.size() - 2)));
}

TEST(StreamCheck, ForeignDamagedAndShortStreams)
{
    const QByteArray gif = testgif::Encode(Noise(4, 4));
    QByteArray badBlock = gif;
    badBlock[13 + 768] = char(0x99); // no GIF block starts with this byte
    const QByteArray imageless = gif.left(13 + 768) + QByteArray(1, char(0x3B));
    const QByteArray jpegBadLength = QByteArray::fromHex("ffd8ffe00001ffd9");
    for (const QByteArray &bad : {badBlock, imageless})
        EXPECT_FALSE(streamcheck::GifIsComplete(Bytes(bad, bad.size())));
    for (const QByteArray &bad : {jpegBadLength, gif})
        EXPECT_FALSE(streamcheck::JpegIsComplete(Bytes(bad, bad.size())));
    // Signatures and sizes cut short name nothing.
    EXPECT_EQ(streamcheck::FormatOf(Bytes(jpegBadLength, 2)), streamcheck::Format::Unknown);
    EXPECT_EQ(streamcheck::FormatOf(Bytes(badBlock, 5)), streamcheck::Format::Unknown);
    EXPECT_EQ(streamcheck::GifScreenSize(Bytes(gif, 9)).width, 0);
}

} // namespace
