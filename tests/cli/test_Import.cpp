// mapolin-map import: pages in several styles, refused areas, and import -> compile -> import.
#include "RunTool.h"
#include "cli/core/HtmlImport.h"

#include <tuple>

namespace {

// Each area as a short text: kind, fragment-style coordinates, URL and target.
std::vector<std::string> Areas(const TMapFile &map)
{
    std::vector<std::string> areas;
    for (const TMapRegion &r : map.Rects)
        areas.push_back("rect " + RectCoords(r.Shape.Left, r.Shape.Top, r.Shape.Width, r.Shape.Height) + " " + r.URL + " " + r.Target);
    for (const TMapRegion &r : map.Circles)
        areas.push_back("circle " + CircleCoords(r.Shape.Left, r.Shape.Top, r.Shape.Centre, r.Shape.Radius) + " " + r.URL + " " + r.Target);
    for (const TMapRegion &r : map.Polys)
        areas.push_back("poly " + PolyCoords(r.Shape.Left, r.Shape.Top, r.Shape.Points, r.Shape.PointCount) + " " + r.URL + " " + r.Target);
    if (!map.DefaultURL.empty())
        areas.push_back("default " + map.DefaultURL + " " + map.DefaultTarget);
    return areas;
}

const std::vector<std::string> Expected{"rect 10, 20, 109, 69 about.html _blank", "circle 150, 60, 25 contact.html ",
                                        "poly 200, 10, 260, 10, 230, 50 products/list.html main", "default index.html "};

} // namespace

TEST(HtmlImport, PagesInSeveralStyles)
{
    const char *pages[] = {
        // Upper case, bare values, a script and a comment holding fake maps.
        "<HTML><SCRIPT>document.write('<map name=x><area coords=1,1,2,2></map>')</SCRIPT><!-- <map name=y> -->"
        "<IMG SRC=site.gif USEMAP=#nav><MAP NAME=nav><AREA SHAPE=RECT COORDS=10,20,109,69 HREF=about.html TARGET=_blank>"
        "<AREA SHAPE=CIRC COORDS=150,60,25 HREF=contact.html><AREA SHAPE=POLY COORDS=200,10,260,10,230,50 "
        "HREF=products/list.html TARGET=main><AREA SHAPE=DEFAULT HREF=index.html></MAP>",
        // Lower case, quotes of both kinds, odd spacing, long shape names, float and spaced numbers.
        "<!doctype html><p>Intro<img src='site.gif' usemap='#nav' alt=''>\n<map name=\"nav\">\n"
        "  <area   shape = \"rectangle\"  coords=\" 10 , 20 ,109,  69 \"\n href=\" about.html \" target='_blank' alt='A'>\n"
        "<area shape=circle coords=\"150 60 25.2\" href=\"contact.html\"/>\n"
        "<area shape=polygon coords=\"200;10 260,10 230 50 7\" href=\"products/\nlist.html\" target=main>\n"
        "<area shape=default href=index.html>\n</map>",
        // Several maps, the one wanted given by name; unclosed tags inside it.
        "<map name=other><area coords=0,0,1,1 href=o></map><img src=site.gif usemap=#nav>"
        "<map name=nav><div><span><area coords=10,20,109,69 href=about.html target=_blank>"
        "<area shape=circ coords=150,60,25 href=contact.html><b><area shape=poly coords=200,10,260,10,230,50 "
        "href=products/list.html target=main><area shape=default href=index.html>",
    };
    for (const char *page : pages) {
        const TImportResult result = ImportMap(page, {"nav", "", "/srv/www"});
        ASSERT_TRUE(result.Errors.empty()) << page << result.Errors[0].Text;
        EXPECT_EQ(result.Map.ImageFileName, "/srv/www/site.gif");
        EXPECT_EQ(Areas(result.Map), Expected) << page;
    }
    EXPECT_FALSE(ImportMap(pages[1], {"", "", "/srv"}).Notes.empty()) << "alt texts are not kept: say so";
    EXPECT_EQ(ImportMap(pages[2], {"", "", "/srv"}).Errors.size(), 1u) << "two maps and no name";
    const TImportResult nested = ImportMap("<img src=a.gif usemap=#o><map name=o><area coords=1,1,2,2 href=a>"
                                           "<map name=i><area coords=3,3,4,4 href=b></map></map>",
                                           {"o", "", "/"});
    EXPECT_EQ(nested.Map.Rects.size(), 2u) << "a map's areas include those of a map inside it";
    const TImportResult noHref = ImportMap("<map name=m><area coords=1,1,2,2 nohref><area coords=1,1></map>",
                                           {"", "given.gif", ""});
    EXPECT_EQ(Areas(noHref.Map), std::vector<std::string>{"rect 1, 1, 2, 2  "});
    EXPECT_EQ(noHref.Map.ImageFileName, "given.gif");
}

TEST(HtmlImport, RefusedAreasNameTheirLine)
{
    std::string points = "0,0";
    for (int i = 1; i < 99; ++i)
        points += "," + std::to_string(i) + "," + std::to_string(i % 2);
    const std::tuple<std::string, int, const char *> refused[] = {
        {"<map name=m>\n<area coords='10%,0,20,20' href=a>\n</map>", 2, "percent"},
        {"<map name=m>\n\n<area shape=poly coords='" + points + "' href=a></map>", 3, "99 points"},
        {"<map name=m><area shape=default href=a>\n<area shape=default href=b></map>", 2, "second default"},
        {"<map name=m><area coords='1,2,3,99999999999' href=a></map>", 1, "out of range"},
    };
    for (const auto &[page, line, reason] : refused) {
        const TImportResult result = ImportMap(page, {"", "i.gif", ""});
        ASSERT_EQ(result.Errors.size(), 1u) << page;
        EXPECT_EQ(result.Errors[0].Line, line) << page;
        EXPECT_NE(result.Errors[0].Text.find(reason), std::string::npos) << result.Errors[0].Text;
    }
    EXPECT_TRUE(ImportMap("<map name=m><area shape=poly coords='" + points.substr(0, points.rfind(',', points.rfind(',') - 1))
                              + "' href=a></map>",
                          {"", "i.gif", ""})
                    .Errors.empty())
        << "98 points fit";
}

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
    EXPECT_EQ(Areas(again.Map), Expected);
    EXPECT_EQ(again.Map, ReadMapFile(ReadBytes(first)).Map);

    // A refused area: status 1, the reason with file and line, the old file left as it was.
    WriteBytes(page, "<map name=m>\n<area coords=1%,1,2,2 href=a></map>");
    const TToolRun refused = RunTool({QStringLiteral("import"), page, QStringLiteral("--image"), QStringLiteral("a.gif"),
                                      QStringLiteral("-o"), second});
    EXPECT_EQ(refused.Status, 1);
    EXPECT_NE(refused.Err.find(page.toStdString() + ":2: area refused: percent"), std::string::npos) << refused.Err;
    EXPECT_EQ(ReadMapFile(ReadBytes(second)).Map, ReadMapFile(ReadBytes(first)).Map);
}
