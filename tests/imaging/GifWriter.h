// Writes the image files the tests read: GIF and run-length coded BMP by hand (Qt reads them but
// cannot write them), the other formats through Qt.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

namespace testgif {

// Encodes an 8-bit indexed image (colour table of up to 256 entries). Codes stay 9 bits wide
// because a clear code follows every 250 pixels, which keeps the writer trivial.
inline QByteArray Encode(const QImage &indexed)
{
    QByteArray out("GIF89a");
    auto put16 = [&out](int value) { out.append(char(value & 0xFF)).append(char((value >> 8) & 0xFF)); };
    put16(indexed.width());
    put16(indexed.height());
    out.append("\xF7\0\0", 3); // global colour table of 256 entries
    const QList<QRgb> colours = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < colours.size() ? colours[i] : 0;
        out.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    out.append(char(0x2C));
    for (int value : {0, 0, indexed.width(), indexed.height()})
        put16(value);
    out.append("\0\x08", 2); // no local table; LZW minimum code size 8

    QByteArray codes;
    quint32 bits = 0;
    int bitCount = 0;
    auto putCode = [&](int code) {
        for (bits |= quint32(code) << bitCount, bitCount += 9; bitCount >= 8; bits >>= 8, bitCount -= 8)
            codes.append(char(bits & 0xFF));
    };
    constexpr int kClear = 256;
    for (int i = 0; i < indexed.width() * indexed.height(); ++i) {
        if (i % 250 == 0)
            putCode(kClear);
        putCode(indexed.pixelIndex(i % indexed.width(), i / indexed.width()));
    }
    putCode(257); // end of information
    if (bitCount > 0)
        codes.append(char(bits & 0xFF));
    for (qsizetype i = 0; i < codes.size(); i += 255)
        out.append(char(qMin<qsizetype>(255, codes.size() - i))).append(codes.mid(i, 255));
    out.append("\0\x3B", 2);
    return out;
}

// Four colours in 8 x 8 squares: flat blocks that even a JPEG keeps.
inline QImage Pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorTable({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, (x / 8 + y / 8) % 4);
    return image;
}

// The image in a format Qt writes; quality 100 makes a WebP lossless and keeps the middle of each
// flat 8 x 8 block of a JPEG in its colour.
inline QByteArray Write(const QImage &image, const char *format, int quality = -1, bool progressive = false)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image) ? buffer.data() : QByteArray();
}

inline QByteArray EncodeJpeg(const QImage &image, bool progressive = false)
{
    return Write(image.convertToFormat(QImage::Format_RGB32), "jpeg", 100, progressive);
}

// Two stray bytes after the segment that follows the start marker, as some writers leave them.
inline QByteArray WithStrayBytes(const QByteArray &jpeg)
{
    return QByteArray(jpeg).insert(4 + (uchar(jpeg[4]) << 8 | uchar(jpeg[5])), "\x12\x34", 2);
}

// A progressive JPEG declaring width x height whose first scan header is repeated with no data.
inline QByteArray ScanBomb(int width, int height, int scans)
{
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(Qt::white);
    const QByteArray jpeg = EncodeJpeg(tile, true);
    auto byte = [&jpeg](qsizetype at) { return int(uchar(jpeg[at])); };
    qsizetype pos = 2;
    while (byte(pos + 1) != 0xDA)
        pos += 2 + (byte(pos + 2) << 8 | byte(pos + 3));
    QByteArray out = jpeg.left(pos);
    const qsizetype frame = out.indexOf("\xFF\xC2") + 5;
    const char size[] = {char(height >> 8), char(height), char(width >> 8), char(width)};
    out.replace(frame, 4, QByteArray(size, 4));
    const QByteArray header = jpeg.mid(pos, 2 + (byte(pos + 2) << 8 | byte(pos + 3)));
    for (int i = 0; i < scans; ++i)
        out += header;
    return out + "\xFF\xD9";
}

// An 8-bit indexed image as a run-length coded (RLE8) BMP: each row closed, then the end code.
inline QByteArray EncodeRle8Bmp(const QImage &indexed)
{
    QByteArray pixels;
    for (int y = indexed.height() - 1; y >= 0; --y) {
        for (int x = 0; x < indexed.width(); ++x)
            pixels.append(char(1)).append(char(indexed.pixelIndex(x, y))); // runs of one pixel
        pixels.append("\0\0", 2);
    }
    pixels.append("\0\1", 2);
    QByteArray out("BM");
    auto put32 = [&out](quint32 value) {
        for (int i = 0; i < 4; ++i)
            out.append(char(value >> (8 * i)));
    };
    const quint32 offset = 14 + 40 + 1024;
    for (quint32 value : {offset + quint32(pixels.size()), 0u, offset, 40u, quint32(indexed.width()),
                          quint32(indexed.height()), 1u | 8u << 16, 1u, quint32(pixels.size()), 0u, 0u, 256u, 0u})
        put32(value);
    const QList<QRgb> colours = indexed.colorTable();
    for (int i = 0; i < 256; ++i)
        put32(i < colours.size() ? colours[i] & 0xFFFFFF : 0); // blue, green, red, 0
    return out + pixels;
}

} // namespace testgif
