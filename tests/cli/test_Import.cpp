// mapolin-map import: import -> compile -> import, refusals that write nothing, the page never
// overwritten, and an image shown at another size read through the image module.
#include "RunTool.h"
#include "cli/core/HtmlImport.h"

#include <QImage>

#include <unistd.h>

namespace {

std::vector<std::string> Areas(const TMapFile &map)
{
    std::vector<std::string> areas;
    for (const TMapRegion &r : map.Rects)
        areas.push_back("rect " + RectCoords(r.Shape.Left, r.Shape.Top, r.Shape.Width, r.Shape.Height) + " " + r.URL);
    for (const TMapRegion &r : map.Circles)
        areas.push_back("circle " + CircleCoords(r.Shape.Left, r.Shape.Top, r.Shape.Centre, r.Shape.Radius) + " " + r.URL);
    for (const TMapRegion &r : map.Polys)
        areas.push_back("poly " + PolyCoords(r.Shape.Left, r.Shape.Top, r.Shape.Points, r.Shape.PointCount) + " " + r.URL);
    return areas;
}

} // namespace

TEST(HtmlImport, RoundTripKeepsEveryAreaAndRefusalWritesNothing)
{
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("page.html"));
    WriteBytes(page, "<img src=site.gif usemap=#nav><MAP name=nav><area coords=10,20,109,69 href=about.html target=_blank>"
                     "<area shape=circle coords=150,60,25 href=contact.html><area shape=poly "
                     "coords=200,10,260,10,230,50 href=products/list.html target=main>"
                     "<area shape=default href=index.html></MAP>");
    const QString first = dir.filePath(QStringLiteral("first.im"));
    const TToolRun imported = RunTool({QStringLiteral("import"), page, QStringLiteral("-o"), first});
    ASSERT_EQ(imported.Status, 0) << imported.Err;
    const TToolRun compiled = RunTool({QStringLiteral("compile"), first, QStringLiteral("--name"), QStringLiteral("nav")});
    ASSERT_EQ(compiled.Status, 0) << compiled.Err;
    WriteBytes(page, compiled.Out);
    const QString second = dir.filePath(QStringLiteral("second.im"));
    ASSERT_EQ(RunTool({QStringLiteral("import"), page, QStringLiteral("--image"), dir.filePath(QStringLiteral("site.gif")),
                       QStringLiteral("-o"), second})
                  .Status,
              0);
    const TMapReadResult again = ReadMapFile(ReadBytes(second));
    EXPECT_EQ(Areas(again.Map), (std::vector<std::string>{"rect 10, 20, 109, 69 about.html", "circle 150, 60, 25 contact.html",
                                                           "poly 200, 10, 260, 10, 230, 50 products/list.html"}));
    EXPECT_EQ(again.Map, ReadMapFile(ReadBytes(first)).Map);

    // A refused area: status 1, the reason with file and line, the old file left as it was.
    WriteBytes(page, "<map name=m><area shape=default href=a>\n<area shape=default href=b></map>");
    const TToolRun refused = RunTool({QStringLiteral("import"), page, QStringLiteral("--image"), QStringLiteral("a.gif"),
                                      QStringLiteral("-o"), second});
    EXPECT_EQ(refused.Status, 1);
    EXPECT_NE(refused.Err.find(page.toStdString() + ":2: area refused: a second default"), std::string::npos) << refused.Err;
    EXPECT_EQ(ReadMapFile(ReadBytes(second)).Map, ReadMapFile(ReadBytes(first)).Map);
}

TEST(HtmlImport, NeverWritesOverThePage)
{
    QTemporaryDir dir;
    const std::string bytes = "<img src=a.gif usemap=#m><map name=m><area coords=1,1,2,2 href=a></map>";
    WriteBytes(dir.filePath(QStringLiteral("page.html")), bytes);
    ASSERT_EQ(symlink("page.html", dir.filePath(QStringLiteral("link.html")).toLocal8Bit().constData()), 0);
    ASSERT_EQ(link(dir.filePath(QStringLiteral("page.html")).toLocal8Bit().constData(),
                   dir.filePath(QStringLiteral("hard.html")).toLocal8Bit().constData()),
              0);
    for (const QString &output : {QStringLiteral("page.html"), QStringLiteral("./page.html"), dir.filePath(QStringLiteral("page.html")),
                                  QStringLiteral("link.html"), QStringLiteral("hard.html")}) {
        const TToolRun run = RunTool({QStringLiteral("import"), QStringLiteral("page.html"), QStringLiteral("-o"), output}, dir.path());
        EXPECT_EQ(run.Status, 2) << output.toStdString() << run.Err;
        EXPECT_EQ(ReadBytes(dir.filePath(QStringLiteral("page.html"))), bytes);
    }
}

TEST(HtmlImport, ScalesToTheImagesOwnSize)
{
    QTemporaryDir dir;
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("pic.png"))));
    const QString page = dir.filePath(QStringLiteral("page.html")), map = dir.filePath(QStringLiteral("map.im"));
    WriteBytes(page, "<img src=pic.png usemap=#m width=100 height=50><map name=m><area coords=10,10,20,20 href=a></map>");
    const TToolRun run = RunTool({QStringLiteral("import"), page, QStringLiteral("-o"), map});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Err.find("shown at 100 x 50 but is 200 x 100"), std::string::npos) << run.Err;
    EXPECT_EQ(Areas(ReadMapFile(ReadBytes(map)).Map), std::vector<std::string>{"rect 20, 20, 40, 40 a"});
}
