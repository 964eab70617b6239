#include "output/core/Coords.h"

#include "output/core/TextSink.h"

using namespace textsink;

std::string FormatCoords(const std::vector<int> &numbers)
{
    std::string text;
    TStringSink out(text);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i)
            out.Put(", ");
        out.Int(numbers[i]);
    }
    return text;
}

std::string RectCoords(int left, int top, int width, int height)
{
    std::string text;
    TStringSink out(text);
    PutRectCoords(out, left, top, width, height);
    return text;
}

std::string CircleCoords(int left, int top, CoordPoint centre, int radius)
{
    std::string text;
    TStringSink out(text);
    PutCircleCoords(out, left, top, centre, radius);
    return text;
}

std::string PolyCoords(int left, int top, const std::vector<CoordPoint> &points, int pointCount)
{
    std::string text;
    TStringSink out(text);
    PutPolyCoords(out, left, top, points, pointCount);
    return text;
}
