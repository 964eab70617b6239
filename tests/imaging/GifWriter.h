// Writes GIF files for the tests (Qt reads GIF but cannot write it).
#pragma once

#include <QByteArray>
#include <QImage>

namespace testgif {

// Encodes an 8-bit indexed image (colour table of up to 256 entries). Codes stay 9 bits wide
// because a clear code follows every 250 pixels, which keeps the writer trivial.
inline QByteArray Encode(const QImage &indexed)
{
    auto put16 = [](QByteArray &out, int value) {
        out.append(char(value & 0xFF));
        out.append(char((value >> 8) & 0xFF));
    };
    QByteArray out("GIF89a");
    put16(out, indexed.width());
    put16(out, indexed.height());
    out.append(char(0xF7)); // global colour table of 256 entries
    out.append(char(0));
    out.append(char(0));
    const QList<QRgb> colours = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < colours.size() ? colours[i] : 0;
        out.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    out.append(char(0x2C));
    put16(out, 0);
    put16(out, 0);
    put16(out, indexed.width());
    put16(out, indexed.height());
    out.append(char(0));
    out.append(char(8)); // LZW minimum code size

    QByteArray codes;
    quint32 bits = 0;
    int bitCount = 0;
    auto putCode = [&](int code) {
        bits |= quint32(code) << bitCount;
        bitCount += 9;
        while (bitCount >= 8) {
            codes.append(char(bits & 0xFF));
            bits >>= 8;
            bitCount -= 8;
        }
    };
    constexpr int kClear = 256;
    constexpr int kEnd = 257;
    int sinceClear = 0;
    putCode(kClear);
    for (int y = 0; y < indexed.height(); ++y) {
        for (int x = 0; x < indexed.width(); ++x) {
            if (sinceClear == 250) {
                putCode(kClear);
                sinceClear = 0;
            }
            putCode(indexed.pixelIndex(x, y));
            ++sinceClear;
        }
    }
    putCode(kEnd);
    if (bitCount > 0)
        codes.append(char(bits & 0xFF));
    for (qsizetype i = 0; i < codes.size(); i += 255) {
        const QByteArray block = codes.mid(i, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append(char(0));
    out.append(char(0x3B));
    return out;
}

} // namespace testgif
