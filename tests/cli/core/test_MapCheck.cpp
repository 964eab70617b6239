// check's findings, each on a map made for it, and the cover test pixel by pixel.
#include "cli/core/MapCheck.h"
#include "output/WorkedExample.h"

#include <gtest/gtest.h>

namespace {

const TImageState Image100{TImageState::TState::Read, 100, 100, {}};

std::vector<std::string> Kinds(const TMapFile &map, const TImageState &image = Image100)
{
    std::vector<std::string> kinds;
    for (const TFinding &finding : CheckMap(map, image))
        kinds.push_back(finding.Kind + "@" + std::to_string(finding.Note.Line));
    return kinds;
}

TMapRegion Rect(int line, int top, int left, int height, int width, std::string url = "u")
{
    return {line, worked::Box(top, left, height, width), std::move(url), "", "", ""};
}

} // namespace

TEST(MapCheck, EachFinding)
{
    TMapFile clean;
    clean.Rects = {Rect(5, 0, 0, 10, 10)};
    EXPECT_TRUE(Kinds(clean).empty());
    EXPECT_EQ(Kinds(clean, {}), std::vector<std::string>{"image-missing@1"});
    EXPECT_EQ(Kinds(clean, {TImageState::TState::Unreadable, 0, 0, "bad"}), std::vector<std::string>{"image-unreadable@1"});

    TMapFile faults;
    faults.DefaultTarget = "_new";
    faults.Rects = {Rect(5, 95, 95, 10, 10, ""), Rect(11, 200, 200, 5, 5)};
    faults.Rects[1].Target = "_Top";
    faults.Circles = {{17, worked::Circle(0, 0, 1, {0, 0}, 0), "c", "_blank", "", ""}};
    faults.Polys = {{26, worked::Poly(0, 50, 10, 10, {{0, 0}, {9, 9}}), "p", "frame_1", "", ""}};
    EXPECT_EQ(Kinds(faults), (std::vector<std::string>{"target@3", "empty-url@5", "outside@5", "outside@11",
                                                       "radius-zero@17", "few-vertices@26"}));
}

TEST(MapCheck, WhollyAndPartlyCovered)
{
    TMapFile map;
    // Two halves cover the third rectangle exactly; a circle inside a covering rectangle; a
    // triangle partly covered by a rectangle that misses its last column.
    map.Rects = {Rect(5, 0, 0, 20, 10), Rect(11, 0, 10, 20, 10), Rect(17, 2, 2, 16, 16), Rect(23, 50, 50, 40, 39)};
    map.Circles = {{29, worked::Circle(60, 60, 11, {5, 5}, 5), "c", "", "", ""}};
    map.Polys = {{38, worked::Poly(50, 50, 40, 40, {{0, 0}, {40, 0}, {40, 40}}), "p", "", "", ""}};
    EXPECT_EQ(Kinds(map), (std::vector<std::string>{"covered@17", "covered@29", "partly-covered@38"}));
    EXPECT_EQ(CheckMap(map, Image100).back().Note.Text, "polygon 1 is partly covered by earlier hotspots: 780 of its 820 "
                                                        "pixels go to them");
    map.Rects[3].Shape.Width = 40;
    EXPECT_EQ(Kinds(map), (std::vector<std::string>{"covered@17", "covered@29", "covered@38"}));
}


TEST(MapCheck, CoverAcrossBlocksOf64Pixels)
{
    // The first rectangle takes a whole 64 x 64 block; the others reach just past it or lie in
    // the block below, where nothing is taken.
    TMapFile map;
    map.Rects = {Rect(5, 0, 0, 64, 64), Rect(11, 20, 60, 10, 5), Rect(17, 64, 0, 6, 41)};
    map.Circles = {{23, worked::Circle(0, 54, 11, {5, 5}, 5), "c", "", "", ""}};
    EXPECT_EQ(Kinds(map, {TImageState::TState::Read, 128, 192, {}}),
              (std::vector<std::string>{"partly-covered@11", "partly-covered@23"}));
}

TEST(MapCheck, JsonKeepsUtf8AndEscapesTheRest)
{
    EXPECT_EQ(FindingJson("a\"\\\x01\xff\xc3\xa9\xc3(", {"k", {2, "t"}}),
              "{\"file\":\"a\\\"\\\\\\u0001\xEF\xBF\xBD\xc3\xa9\xEF\xBF\xBD(\",\"line\":2,\"kind\":\"k\",\"message\":\"t\"}");
}
