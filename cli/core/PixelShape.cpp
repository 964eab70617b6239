#include "cli/core/PixelShape.h"

#include <algorithm>
#include <climits>
#include <cmath>

using Int = std::int64_t;

TBounds Clip(const TBounds &a, const TBounds &b)
{
    return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

TPixelShape::TPixelShape(THotspotKind kind, const THotspotShape &shape, TFill fill) : Shape(kind), Fill(fill)
{
    const Int left = shape.Left, top = shape.Top;
    if (kind == THotspotKind::Rect) {
        Box = {left, top, left + std::max(0, shape.Width), top + std::max(0, shape.Height)};
    } else if (kind == THotspotKind::Circle) {
        Radius = std::max(0, shape.Radius);
        const Int cx = left + shape.Centre.x, cy = top + shape.Centre.y;
        if (Radius > 0)
            Box = {cx - Radius, cy - Radius, cx + Radius + 1, cy + Radius + 1};
    } else {
        const std::size_t count = std::min<std::size_t>(shape.Points.size(), std::max(shape.PointCount, 0));
        for (std::size_t i = 0; i < count; ++i)
            Vertices.push_back({left + shape.Points[i].x, top + shape.Points[i].y});
        if (Vertices.size() >= 3) {
            Box = {INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
            for (const auto &[x, y] : Vertices)
                Box = {std::min(Box.Left, x), std::min(Box.Top, y), std::max(Box.Right, x + 1), std::max(Box.Bottom, y + 1)};
        }
    }
}

void TPixelShape::AppendRow(Int y, std::vector<TSpan> &spans) const
{
    if (y < Box.Top || y >= Box.Bottom)
        return;
    if (Shape == THotspotKind::Rect) {
        spans.push_back({Box.Left, Box.Right});
    } else if (Shape == THotspotKind::Circle) {
        const Int dy = y - (Box.Top + Radius);
        const Int half = static_cast<Int>(std::floor(std::sqrt(static_cast<double>(Radius * Radius - dy * dy))));
        spans.push_back({Box.Left + Radius - half, Box.Left + Radius + half + 1});
    } else {
        PolygonRow(y, spans);
    }
}

// The row's crossings at the pixel centres, filled by the shape's rule; pieces may touch, never overlap.
void TPixelShape::PolygonRow(Int y, std::vector<TSpan> &spans) const
{
    const double yc = static_cast<double>(y) + 0.5;
    std::vector<std::pair<double, int>> &crossings = Crossings;
    crossings.clear();
    for (std::size_t i = 0; i < Vertices.size(); ++i) {
        const auto [x0, y0] = Vertices[i];
        const auto [x1, y1] = Vertices[(i + 1) % Vertices.size()];
        if ((y0 <= yc) == (y1 <= yc))
            continue;
        const double x = x0 + (yc - y0) * static_cast<double>(x1 - x0) / static_cast<double>(y1 - y0);
        crossings.push_back({x, y1 > y0 ? 1 : -1});
    }
    std::sort(crossings.begin(), crossings.end());
    int winding = 0;
    for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
        winding += Fill == TFill::EvenOdd ? 1 : crossings[i].second;
        if (Fill == TFill::EvenOdd ? winding % 2 != 0 : winding != 0) {
            const Int begin = static_cast<Int>(std::ceil(crossings[i].first - 0.5));
            const Int end = static_cast<Int>(std::ceil(crossings[i + 1].first - 0.5));
            if (begin < end)
                spans.push_back({begin, end});
        }
    }
}
