// The large map both map benchmarks use: rectangles, circles and polygons of 3 to 12 points in
// equal shares, with typical texts.
#pragma once

#include "output/core/MapFile.h"

#include <random>
#include <string>

inline TMapFile SampleMap(int hotspots)
{
    std::mt19937 random(11);
    const auto number = [&](int limit) { return static_cast<int>(random() % limit); };
    TMapFile map;
    map.ImageFileName = "/home/ann/site/images/banner.gif";
    map.DefaultURL = "index.html";
    for (int i = 0; i < hotspots; ++i) {
        TMapRegion region;
        region.Shape.Top = number(4000);
        region.Shape.Left = number(4000);
        region.Shape.Height = 1 + number(300);
        region.Shape.Width = 1 + number(300);
        region.URL = "pages/section" + std::to_string(i % 97) + "/item" + std::to_string(i) + ".html";
        region.Target = i % 3 ? "" : "_blank";
        if (i % 3 == 0) {
            map.Rects.push_back(std::move(region));
        } else if (i % 3 == 1) {
            region.Shape.Radius = 1 + number(150);
            region.Shape.Centre = {region.Shape.Radius, region.Shape.Radius};
            map.Circles.push_back(std::move(region));
        } else {
            region.Shape.PointCount = 3 + number(10);
            for (int p = 0; p < region.Shape.PointCount; ++p)
                region.Shape.Points.push_back({number(300), number(300)});
            region.Shape.Points.push_back(region.Shape.Points.front());
            map.Polys.push_back(std::move(region));
        }
    }
    return map;
}
