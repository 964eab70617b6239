// Writes the image files the tests read: GIF by hand (Qt reads GIF but cannot write it), JPEG through Qt.
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

// Best quality, so that the middle of each flat 8 x 8 block keeps its colour.
inline QByteArray EncodeJpeg(const QImage &image, bool progressive = false)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(100);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image.convertToFormat(QImage::Format_RGB32)) ? buffer.data() : QByteArray();
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

} // namespace testgif
