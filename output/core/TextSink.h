// Byte sinks shared by the writers: a text is appended either in two passes (count, then fill the
// exact room) or in one pass into room for its longest form, never with per-piece bookkeeping.
#pragma once

#include "output/core/Hotspot.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace textsink {

inline std::size_t DecimalLength(int value)
{
    std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    std::size_t length = value < 0 ? 2 : 1;
    for (; magnitude >= 10; magnitude /= 10)
        ++length;
    return length;
}

class TSizeSink {
public:
    void Put(std::string_view text) { Size += text.size(); }
    void Put(char) { ++Size; }
    void Int(int value) { Size += DecimalLength(value); }
    // The text with every "\" turned into "/".
    void Slashed(std::string_view text) { Size += text.size(); }

    std::size_t Size = 0;
};

class TBufferSink {
public:
    explicit TBufferSink(char *at) : At(at) {}

    void Put(std::string_view text)
    {
        std::memcpy(At, text.data(), text.size());
        At += text.size();
    }
    void Put(char c) { *At++ = c; }
    // Coordinates are mostly below 10,000: those are written without the general conversion.
    void Int(int value)
    {
        const unsigned v = static_cast<unsigned>(value);
        if (v < 10) {
            *At++ = static_cast<char>('0' + v);
        } else if (v < 100) {
            At[0] = static_cast<char>('0' + v / 10);
            At[1] = static_cast<char>('0' + v % 10);
            At += 2;
        } else if (v < 1000) {
            At[0] = static_cast<char>('0' + v / 100);
            At[1] = static_cast<char>('0' + v / 10 % 10);
            At[2] = static_cast<char>('0' + v % 10);
            At += 3;
        } else if (v < 10000) {
            At[0] = static_cast<char>('0' + v / 1000);
            At[1] = static_cast<char>('0' + v / 100 % 10);
            At[2] = static_cast<char>('0' + v / 10 % 10);
            At[3] = static_cast<char>('0' + v % 10);
            At += 4;
        } else {
            At = std::to_chars(At, At + 11, value).ptr;
        }
    }
    char *End() const { return At; }
    void Slashed(std::string_view text)
    {
        char *const start = At;
        Put(text);
        for (char *p = start; (p = static_cast<char *>(std::memchr(p, '\\', static_cast<std::size_t>(At - p)))); ++p)
            *p = '/';
    }

private:
    char *At;
};

// Appends to a string, for the small texts of single regions.
class TStringSink {
public:
    explicit TStringSink(std::string &out) : Out(out) {}

    void Put(std::string_view text) { Out += text; }
    void Put(char c) { Out += c; }
    void Int(int value)
    {
        char digits[11];
        Out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    }

private:
    std::string &Out;
};

// Appends write(sink) to out, counting its size in a first pass and filling it in a second.
template <typename Write>
void Append(std::string &out, Write write)
{
    TSizeSink size;
    write(size);
    const std::size_t at = out.size();
    out.resize(at + size.Size);
    TBufferSink buffer(out.data() + at);
    write(buffer);
}

// One pass, appending to out, for a piece whose size is at most bound: cheaper than counting
// first when the pieces are small.
template <typename Write>
void AppendBounded(std::string &out, std::size_t bound, Write write)
{
    const std::size_t at = out.size();
    out.resize(at + bound);
    TBufferSink buffer(out.data() + at);
    write(buffer);
    out.resize(static_cast<std::size_t>(buffer.End() - out.data()));
}

// Coordinates are 32-bit as the regions hold them; a sum past the range wraps as it would there.
inline int Add(int a, int b)
{
    return static_cast<int>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

template <typename Sink>
void PutPair(Sink &out, int x, int y)
{
    out.Int(x);
    out.Put(", ");
    out.Int(y);
}

template <typename Sink>
void PutRectCoords(Sink &out, int left, int top, int width, int height)
{
    PutPair(out, left, top);
    out.Put(", ");
    PutPair(out, Add(Add(left, width), -1), Add(Add(top, height), -1));
}

template <typename Sink>
void PutCircleCoords(Sink &out, int left, int top, CoordPoint centre, int radius)
{
    PutPair(out, Add(left, centre.x), Add(top, centre.y));
    out.Put(", ");
    out.Int(radius);
}

template <typename Sink>
void PutPolyCoords(Sink &out, int left, int top, const std::vector<CoordPoint> &points, int pointCount)
{
    const std::size_t wanted = pointCount > 1 ? static_cast<std::size_t>(pointCount) : 1;
    const std::size_t count = points.size() < wanted ? points.size() : wanted;
    const CoordPoint first = points.empty() ? CoordPoint{} : points[0];
    PutPair(out, Add(left, first.x), Add(top, first.y));
    for (std::size_t i = 1; i < count; ++i) {
        out.Put(", ");
        PutPair(out, Add(left, points[i].x), Add(top, points[i].y));
    }
}

// The AREA coordinate text of a shape of the given kind.
template <typename Sink>
void PutShapeCoords(Sink &out, THotspotKind kind, const THotspotShape &shape)
{
    switch (kind) {
    case THotspotKind::Rect:
        PutRectCoords(out, shape.Left, shape.Top, shape.Width, shape.Height);
        break;
    case THotspotKind::Circle:
        PutCircleCoords(out, shape.Left, shape.Top, shape.Centre, shape.Radius);
        break;
    case THotspotKind::Poly:
        PutPolyCoords(out, shape.Left, shape.Top, shape.Points, shape.PointCount);
        break;
    }
}

} // namespace textsink
