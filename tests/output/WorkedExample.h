// The worked map of the compiler and map file documentation, as records and as expected bytes.
#pragma once

#include "output/core/Fragment.h"
#include "output/core/MapFile.h"

#include <string>

namespace worked {

inline THotspotShape Box(int top, int left, int height, int width) { return {top, left, height, width, 0, {}, 0, {}}; }

inline THotspotShape Circle(int top, int left, int size, CoordPoint centre, int radius)
{
    return {top, left, size, size, radius, centre, 0, {}};
}

// Points without the closing copy, which is added.
inline THotspotShape Poly(int top, int left, int height, int width, std::vector<CoordPoint> points)
{
    points.push_back(points.front());
    return {top, left, height, width, 0, {}, static_cast<int>(points.size()) - 1, std::move(points)};
}

inline TMapFile Map()
{
    TMapFile map;
    map.ImageFileName = "C:\\web\\images\\banner.gif";
    map.DefaultURL = "index.html";
    map.Rects.push_back({5, Box(20, 10, 50, 100), "about.html", "_blank", "", ""});
    map.Circles.push_back({12, Circle(35, 125, 51, {25, 25}, 25), "contact.html", "", "", ""});
    map.Polys.push_back({22, Poly(5, 195, 46, 66, {{5, 5}, {65, 5}, {35, 45}}), "products\\list.html", "main", "", ""});
    return map;
}

inline const char *const WorkDir = "C:\\web\\";

inline TMapOptions Options() { return {"navmap", "middle", "Site navigation", "0", "5", "0"}; }

// The fragment records of the worked map with its status texts About us and Products, host mode.
inline TFragmentMap Fragment()
{
    const TMapFile map = Map();
    const auto area = [](const TMapRegion &region, const char *status) {
        return TFragmentArea{region.Shape, region.URL, region.Target, status};
    };
    TFragmentMap fragment;
    fragment.Src = "images/banner.gif";
    fragment.Options = Options();
    fragment.Rects = {area(map.Rects[0], "About us")};
    fragment.Circles = {area(map.Circles[0], "")};
    fragment.Polys = {area(map.Polys[0], "Products")};
    fragment.DefaultURL = map.DefaultURL;
    return fragment;
}

// The map file, 36 lines.
inline const std::string MapFileBytes = "C:\\web\\images\\banner.gif\r\nindex.html\r\n\r\n"
                                        "1\r\n20\r\n10\r\n50\r\n100\r\nabout.html\r\n_blank\r\n"
                                        "1\r\n35\r\n125\r\n51\r\n51\r\ncontact.html\r\n\r\n25\r\n25\r\n25\r\n"
                                        "1\r\n5\r\n195\r\n46\r\n66\r\nproducts\\list.html\r\nmain\r\n3\r\n"
                                        "5\r\n5\r\n65\r\n5\r\n35\r\n45\r\n5\r\n5\r\n";

// The fragment with the status texts About us and Products, host mode.
inline const std::string FragmentBytes =
    "<IMG SRC=\"images/banner.gif\" USEMAP=\"#navmap\" ALIGN=\"MIDDLE\" ALT=\"Site navigation\" BORDER=0 VSPACE=5>\r\n"
    "<MAP NAME=\"navmap\">\r\n"
    "<AREA SHAPE=RECT COORDS=\"10, 20, 109, 69\" HREF=\"about.html\" TARGET=\"_blank\" ALT=\"About us\">\r\n"
    "<AREA SHAPE=CIRCLE COORDS=\"150, 60, 25\" HREF=\"contact.html\">\r\n"
    "<AREA SHAPE=POLYGON COORDS=\"200, 10, 260, 10, 230, 50\" HREF=\"products/list.html\" TARGET=\"main\" "
    "ALT=\"Products\">\r\n"
    "<AREA SHAPE=DEFAULT HREF=\"index.html\">\r\n"
    "</MAP>\r\n";

} // namespace worked
