// mapolin-map check: each finding on a map made for it, the cover test, and a clean map.
#include "RunTool.h"
#include "../output/WorkedExample.h"
#include "cli/core/MapCheck.h"

#include <QImage>

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

TEST(MapCheck, CoveredOnlyWhenEveryPixelIsTaken)
{
    TMapFile map;
    // Two halves cover the third rectangle exactly; a circle inside a covering rectangle; a
    // triangle not quite covered by a rectangle that misses its last column.
    map.Rects = {Rect(5, 0, 0, 20, 10), Rect(11, 0, 10, 20, 10), Rect(17, 2, 2, 16, 16), Rect(23, 50, 50, 40, 39)};
    map.Circles = {{29, worked::Circle(60, 60, 11, {5, 5}, 5), "c", "", "", ""}};
    map.Polys = {{38, worked::Poly(50, 50, 40, 40, {{0, 0}, {40, 0}, {40, 40}}), "p", "", "", ""}};
    EXPECT_EQ(Kinds(map), (std::vector<std::string>{"covered@17", "covered@29"}));
    map.Rects[3].Shape.Width = 40;
    EXPECT_EQ(Kinds(map), (std::vector<std::string>{"covered@17", "covered@29", "covered@38"}));
}

TEST(MapCheck, CommandLineAndJson)
{
    QTemporaryDir dir;
    QImage picture(300, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("banner.png"))));
    std::string bytes = worked::MapFileBytes;
    bytes.replace(0, bytes.find("\r\n"), "banner.png");
    const QString map = dir.filePath(QStringLiteral("clean.im"));
    WriteBytes(map, bytes);
    const TToolRun clean = RunTool({QStringLiteral("check"), map});
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    EXPECT_TRUE(clean.Err.empty() && clean.Out.empty());

    bytes.replace(bytes.find("about.html"), 10, "");
    WriteBytes(map, bytes);
    const TToolRun text = RunTool({QStringLiteral("check"), map});
    EXPECT_EQ(text.Status, 1);
    EXPECT_EQ(text.Err, map.toStdString() + ":5: empty-url: rectangle 1 has an empty URL\n");
    const TToolRun json = RunTool({QStringLiteral("check"), map, QStringLiteral("--json")});
    EXPECT_EQ(json.Status, 1);
    EXPECT_EQ(json.Out, "{\"file\":\"" + map.toStdString()
                            + "\",\"line\":5,\"kind\":\"empty-url\",\"message\":\"rectangle 1 has an empty URL\"}\n");
    EXPECT_EQ(FindingJson("a\"\\\x01\xff\xc3\xa9", {"k", {2, "t"}}),
              "{\"file\":\"a\\\"\\\\\\u0001\xEF\xBF\xBD\xc3\xa9\",\"line\":2,\"kind\":\"k\",\"message\":\"t\"}");

    WriteBytes(dir.filePath(QStringLiteral("banner.png")), "not a picture");
    const TToolRun unreadable = RunTool({QStringLiteral("check"), map, QStringLiteral("--json")});
    EXPECT_NE(unreadable.Out.find("image-unreadable"), std::string::npos);
}
