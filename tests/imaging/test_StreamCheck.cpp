// Whole and cut-off GIF and JPEG streams, cut at every possible length.
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

TEST(StreamCheck, StreamsAreCompleteOnlyOnceWhole)
{
    using Check = bool (*)(std::span<const std::uint8_t>);
    // A GIF without its trailer still ends at a block boundary after an image: one byte may go.
    const std::tuple<const char *, QByteArray, Check, qsizetype> streams[] = {
        {"baseline jpeg", testgif::EncodeJpeg(Noise(40, 30)), streamcheck::JpegIsComplete, 0},
        {"progressive jpeg", testgif::EncodeJpeg(Noise(40, 30), true), streamcheck::JpegIsComplete, 0},
        {"gif", testgif::Encode(Noise(40, 30)), streamcheck::GifIsComplete, 1},
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

TEST(StreamCheck, ForeignDamagedAndShortStreams)
{
    const QByteArray gif = testgif::Encode(Noise(4, 4));
    QByteArray badBlock = gif;
    badBlock[13 + 768] = char(0x99); // no GIF block starts with this byte
    const QByteArray imageless = gif.left(13 + 768) + QByteArray(1, char(0x3B));
    const QByteArray jpegBadLength = QByteArray::fromHex("ffd8ffe00001ffd9");
    EXPECT_FALSE(streamcheck::GifIsComplete(Bytes(badBlock, badBlock.size())));
    EXPECT_FALSE(streamcheck::GifIsComplete(Bytes(imageless, imageless.size())));
    EXPECT_FALSE(streamcheck::JpegIsComplete(Bytes(jpegBadLength, jpegBadLength.size())));
    EXPECT_FALSE(streamcheck::JpegIsComplete(Bytes(gif, gif.size())));
    // The screen size is read from the header alone; too short or not a GIF gives none.
    const QByteArray wide = testgif::Encode(Noise(300, 2));
    EXPECT_EQ(streamcheck::GifScreenSize(Bytes(wide, 10)).width, 300);
    EXPECT_EQ(streamcheck::GifScreenSize(Bytes(wide, 10)).height, 2);
    EXPECT_EQ(streamcheck::GifScreenSize(Bytes(wide, 9)).width, 0);
    const QByteArray jpeg = testgif::EncodeJpeg(Noise(8, 8));
    EXPECT_EQ(streamcheck::GifScreenSize(Bytes(jpeg, jpeg.size())).width, 0);
}

} // namespace
