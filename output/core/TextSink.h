// Byte sinks shared by the writers: a text is appended either in two passes (count, then fill the
// exact room) or in one pass into room for an estimate of its longest form. The filling sink
// checks its end and grows the string when a piece does not fit, so a wrong estimate costs a
// reallocation, never a write past the end.
#pragma once

#include "output/core/Hotspot.h"

#include <algorithm>
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

// Appends to out in room made ahead; the destructor cuts out to what was written. The write
// position and the room's end are kept as pointers, so the check of each piece costs a compare.
class TBufferSink {
public:
    TBufferSink(std::string &out, std::size_t room) : Out(out)
    {
        const std::size_t used = Out.size();
        Out.resize(used + room);
        At = Out.data() + used;
        End = Out.data() + Out.size();
    }
    ~TBufferSink() { Out.resize(static_cast<std::size_t>(At - Out.data())); }
    TBufferSink(const TBufferSink &) = delete;
    TBufferSink &operator=(const TBufferSink &) = delete;

    void Put(std::string_view text)
    {
        Reserve(text.size());
        std::memcpy(At, text.data(), text.size());
        At += text.size();
    }
    void Put(char c)
    {
        Reserve(1);
        *At++ = c;
    }
    // Coordinates are mostly below 10,000: those are written without the general conversion.
    [[gnu::always_inline]] void Int(int value)
    {
        Reserve(11);
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
    void Slashed(std::string_view text)
    {
        Reserve(text.size());
        char *const start = At;
        Put(text);
        for (char *p = start; (p = static_cast<char *>(std::memchr(p, '\\', static_cast<std::size_t>(At - p)))); ++p)
            *p = '/';
    }

private:
    void Reserve(std::size_t size)
    {
        if (size > static_cast<std::size_t>(End - At)) {
            At = Grow(Out, At, size);
            End = Out.data() + Out.size();
        }
    }

    // A piece past the estimate: the room doubles, or grows to fit the piece. Static, so that the
    // sink's own address never escapes and its pointers stay in registers.
    [[gnu::cold, gnu::noinline]] static char *Grow(std::string &out, char *at, std::size_t size)
    {
        const std::size_t used = static_cast<std::size_t>(at - out.data());
        out.resize(used + size > 2 * out.size() ? used + size : 2 * out.size());
        return out.data() + used;
    }

    std::string &Out;
    char *At = nullptr;
    char *End = nullptr;
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
    void Slashed(std::string_view text)
    {
        const std::size_t at = Out.size();
        Out += text;
        std::replace(Out.begin() + static_cast<std::ptrdiff_t>(at), Out.end(), '\\', '/');
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
    TBufferSink buffer(out, size.Size);
    write(buffer);
}

// One pass, appending to out, for a piece whose size is usually at most bound: cheaper than
// counting first when the pieces are small.
template <typename Write>
void AppendBounded(std::string &out, std::size_t bound, Write write)
{
    TBufferSink buffer(out, bound);
    write(buffer);
}

// Text for an HTML or SVG attribute value or element: & < and " as character references, and
// every "\" turned into "/" when slashed.
template <typename Sink>
void PutEscaped(Sink &out, std::string_view text, bool slashed = false)
{
    const auto run = [&](std::string_view piece) {
        if (slashed)
            out.Slashed(piece);
        else
            out.Put(piece);
    };
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '&' && c != '<' && c != '"')
            continue;
        run(text.substr(start, i - start));
        out.Put(c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&quot;");
        start = i + 1;
    }
    run(text.substr(start));
}

// Coordinates are 32-bit as the regions hold them; a sum past the range wraps as it would there.
inline int Add(int a, int b)
{
    return static_cast<int>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// Numbers of a coordinate list are joined by sep: ", " in the classic fragment, "," in HTML5.
template <typename Sink>
void PutPair(Sink &out, int x, int y, std::string_view sep)
{
    out.Int(x);
    out.Put(sep);
    out.Int(y);
}

template <typename Sink>
void PutRectCoords(Sink &out, int left, int top, int width, int height, std::string_view sep = ", ")
{
    PutPair(out, left, top, sep);
    out.Put(sep);
    PutPair(out, Add(Add(left, width), -1), Add(Add(top, height), -1), sep);
}

template <typename Sink>
void PutCircleCoords(Sink &out, int left, int top, CoordPoint centre, int radius, std::string_view sep = ", ")
{
    PutPair(out, Add(left, centre.x), Add(top, centre.y), sep);
    out.Put(sep);
    out.Int(radius);
}

template <typename Sink>
void PutPolyCoords(Sink &out, int left, int top, const std::vector<CoordPoint> &points, int pointCount,
                   std::string_view sep = ", ")
{
    const std::size_t wanted = pointCount > 1 ? static_cast<std::size_t>(pointCount) : 1;
    const std::size_t count = points.size() < wanted ? points.size() : wanted;
    const CoordPoint first = points.empty() ? CoordPoint{} : points[0];
    PutPair(out, Add(left, first.x), Add(top, first.y), sep);
    for (std::size_t i = 1; i < count; ++i) {
        out.Put(sep);
        PutPair(out, Add(left, points[i].x), Add(top, points[i].y), sep);
    }
}

// The AREA coordinate text of a shape of the given kind.
template <typename Sink>
void PutShapeCoords(Sink &out, THotspotKind kind, const THotspotShape &shape, std::string_view sep = ", ")
{
    switch (kind) {
    case THotspotKind::Rect:
        PutRectCoords(out, shape.Left, shape.Top, shape.Width, shape.Height, sep);
        break;
    case THotspotKind::Circle:
        PutCircleCoords(out, shape.Left, shape.Top, shape.Centre, shape.Radius, sep);
        break;
    case THotspotKind::Poly:
        PutPolyCoords(out, shape.Left, shape.Top, shape.Points, shape.PointCount, sep);
        break;
    }
}

} // namespace textsink
