// import as browsers read maps: a table of pages and what they give, and a table of hostile pages.
#include "cli/core/HtmlImport.h"

#include <gtest/gtest.h>

namespace {

// Each area as a short text: kind, fragment-style coordinates, URL, target, alt and title.
std::vector<std::string> Areas(const TMapFile &map)
{
    std::vector<std::string> areas;
    const auto add = [&](const char *kind, const std::string &coords, const TMapRegion &r) {
        areas.push_back(std::string(kind) + " " + coords + " " + r.URL + " " + r.Target
                        + (r.Alt.empty() && r.Title.empty() ? "" : " alt=" + r.Alt + " title=" + r.Title));
    };
    for (const TMapRegion &r : map.Rects)
        add("rect", RectCoords(r.Shape.Left, r.Shape.Top, r.Shape.Width, r.Shape.Height), r);
    for (const TMapRegion &r : map.Circles)
        add("circle", CircleCoords(r.Shape.Left, r.Shape.Top, r.Shape.Centre, r.Shape.Radius), r);
    for (const TMapRegion &r : map.Polys)
        add("poly", PolyCoords(r.Shape.Left, r.Shape.Top, r.Shape.Points, r.Shape.PointCount), r);
    if (!map.DefaultURL.empty())
        areas.push_back("default " + map.DefaultURL + " " + map.DefaultTarget);
    return areas;
}

// Every note and error as "LINE: text", one a line.
std::string Said(const TImportResult &result)
{
    std::string said;
    for (const auto *list : {&result.Notes, &result.Errors})
        for (const TNote &note : *list)
            said += std::to_string(note.Line) + ": " + note.Text + "\n";
    return said;
}

// pic.png is 200 x 100; nothing else can be read.
TImportRequest Request(std::string map = "", std::string image = "")
{
    return {std::move(map), std::move(image), "/srv", [](const std::string &path) {
                return path == "/srv/pic.png" ? TImageState{TImageState::TState::Read, 200, 100, {}} : TImageState{};
            }};
}

std::string Utf16Le(const std::string &ascii)
{
    std::string bytes = "\xFF\xFE";
    for (char c : ascii)
        bytes += std::string{c, '\0'};
    return bytes;
}

// The map of the worked example, in the page styles below.
const std::vector<std::string> Expected{"rect 10, 20, 109, 69 about.html _blank", "circle 150, 60, 25 contact.html ",
                                        "poly 200, 10, 260, 10, 230, 50 products/list.html main", "default index.html "};

const std::string Img = "<img src=pic.png usemap=#m>";

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
        "  <area   shape = \"rectangle\"  coords=\" 10 , 20 ,109,  69 \"\n href=\" about.html \" target='_blank'>\n"
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
        const TImportResult result = ImportMap(page, {"nav", "", "/srv/www", {}});
        ASSERT_TRUE(result.Errors.empty()) << page << result.Errors[0].Text;
        EXPECT_EQ(result.Map.ImageFileName, "/srv/www/site.gif");
        EXPECT_EQ(Areas(result.Map), Expected) << page;
    }
    const TImportResult nested = ImportMap("<img src=a.gif usemap=#o><map name=o><area coords=1,1,2,2 href=a>"
                                           "<map name=i><area coords=3,3,4,4 href=b></map></map>",
                                           {"o", "", "/", {}});
    EXPECT_EQ(nested.Map.Rects.size(), 2u) << "a map's areas include those of a map inside it";
    const TImportResult noHref = ImportMap("<map name=m><area coords=1,1,2,2 nohref><area coords=1,1></map>",
                                           {"", "given.gif", "", {}});
    EXPECT_EQ(Areas(noHref.Map), std::vector<std::string>{"rect 1, 1, 2, 2  "});
    EXPECT_EQ(noHref.Map.ImageFileName, "given.gif");
}

TEST(HtmlImport, PagesAsBrowsersReadThem)
{
    const struct {
        std::string Page;
        std::vector<std::string> Expected; // the map's areas, unless refused
        std::string Text;                  // said in a note or error; empty: nothing is said
        bool Refused = false;
        std::string Map = "";
    } cases[] = {
        // usemap names the first map whose name or id follows its first "#".
        {"<img src=pic.png usemap=#site-map><map name=sitemap id=site-map><area coords=1,2,3,4 href=a></map>",
         {"rect 1, 2, 3, 4 a "}, ""},
        {"<img src=pic.png usemap=#b><map name=a id=b><area coords=1,1,2,2 href=first></map>"
         "<map name=b><area coords=1,1,2,2 href=second></map>",
         {"rect 1, 1, 2, 2 first "}, ""},
        {"<img src=pic.png usemap='http://example.org/#n'><map name=n><area coords=1,1,2,2 href=a></map><map name=x>",
         {"rect 1, 1, 2, 2 a "}, ""},
        {"<img src=pic.png usemap='page.html#i'><map id=i><area coords=1,1,2,2 href=a></map>", {"rect 1, 1, 2, 2 a "}, ""},
        {"<img src=pic.png usemap='# '><map name=' '><area coords=1,1,2,2 href=a></map>", {"rect 1, 1, 2, 2 a "}, ""},
        {"<img src=pic.png usemap='#&#x0A;'><map id='&#x0A;'><area coords=1,1,2,2 href=a></map>", {"rect 1, 1, 2, 2 a "}, ""},
        {"<img src=pic.png usemap='#'><map name=''><area coords=1,1,2,2 href=a></map>", {}, "no image with a src", true},
        {"<img src=pic.png usemap=#CASE><map name=case><area coords=1,1,2,2 href=a></map>", {}, "no image", true},
        {"<map id=x><area coords=1,1,2,2 href=x></map><map name=y></map><img src=pic.png usemap=#x>", {"rect 1, 1, 2, 2 x "}, "",
         false, "x"},
        {"<map name=x></map><map name=y></map>", {}, "2 maps ('x', 'y') and no image uses one", true},
        // Shape keywords are compared whole; anything else is a rectangle.
        {Img + "<map name=m><area shape=' circle' coords=10,10,5 href=a><area shape='poly ' coords=1,2,3,4,5,6 href=b>"
               "<area shape=CIRC coords=10,10,5 href=c>",
         {"rect 1, 2, 3, 4 b ", "circle 10, 10, 5 c "}, "1: a rectangle of fewer than four coordinates is left out"},
        // Numbers: hexadecimal reads as 0, a percent sign is ignored, an exponent counts.
        {Img + "<map name=m><area coords='0x10,0x1p4,1e1,20%' href=a>", {"rect 0, 0, 10, 20 a "},
         "1: the coordinates '0x10,0x1p4,1e1,20%' are read as 0, 0, 10, 20"},
        // Areas browsers never see; a circle of radius 0 is empty; alt and title are kept.
        {Img + "<map name=m><template><area coords=1,1,2,2 href=t></template><svg><area coords=1,1,2,2 href=s /></svg>"
               "<noscript><area coords=1,1,2,2 href=n></noscript><area coords=3,3,4,4 href=a alt='A b' title=T>",
         {"rect 3, 3, 4, 4 a  alt=A b title=T"}, ""},
        {Img + "<map name=m><area shape=circle coords=5,5,0 href=z>", {}, "1: a circle without a centre and a radius above 0"},
        // A map file keeps rectangles before circles before polygons and the default last.
        {Img + "<map name=m>\n<area shape=circle coords=10,10,10 href=c>\n<area coords=0,0,30,30 href=r>",
         {"rect 0, 0, 30, 30 r ", "circle 10, 10, 10 c "}, "2: this circle is above the rectangle on line 3"},
        {Img + "<map name=m>\n<area shape=circle coords=10,10,10 href=c>\n<area coords=25,25,30,30 href=r>",
         {"rect 25, 25, 30, 30 r ", "circle 10, 10, 10 c "}, ""},
        {Img + "<map name=m>\n<area shape=default href=d>\n<area shape=poly coords=0,0,9,0,0,9 href=p>",
         {"poly 0, 0, 9, 0, 0, 9 p ", "default d "}, "2: this default area is above the polygon on line 3"},
        {Img + "<map name=m>\n<area shape=default>\n<area coords=0,0,9,9 href=r>", {"rect 0, 0, 9, 9 r "},
         "2: this default area without a link takes a click at (0, 0) in the page; it is left out, so the click "
         "reaches the rectangle on line 3"},
        // Coordinates are in the size the page shows the image at.
        {"<img src=pic.png usemap=#m width=100 height=50>\n<map name=m><area coords=10,10,20,20 href=a>"
         "<area shape=poly coords=0,0,10,0,0,10 href=p>",
         {"rect 20, 20, 40, 40 a ", "poly 0, 0, 20, 0, 0, 20 p "}, "1: the image is shown at 100 x 50 but is 200 x 100"},
        {"<img src='pic%2Epng?v=2' usemap=#m width=400><map name=m><area shape=circle coords=20,20,10 href=a>",
         {"circle 10, 10, 5 a "}, "shown at 400 x 200"},
        {"<img src=pic.png usemap=#m width=200 height=200><map name=m><area shape=circle coords=20,20,10 href=a>", {},
         "1: area refused: the image is shown stretched", true},
        {"\n<img src=gone.png usemap=#m width=100 height=50><map name=m><area coords=1,1,2,2 href=a>", {},
         "2: the image is shown at 100 x 50 but its own size cannot be read", true},
        {"<img src=pic.png usemap=#m width=50%><map name=m><area coords=1,1,2,2 href=a>", {}, "percentage", true},
        // The page's encoding: a BOM, else a <meta> in the first 1024 bytes, else UTF-8 if valid.
        {"<meta charset=windows-1252>" + Img + "<map name=m><area coords=1,1,2,2 href=caf\xe9.html>",
         {"rect 1, 1, 2, 2 caf\xc3\xa9.html "}, "0: the page is read as windows-1252 (<meta> on line 1)"},
        {"<meta http-equiv=Content-Type content='text/html; charset=ISO-8859-1'>" + Img
             + "<map name=m><area coords=1,1,2,2 href=caf\xe9.html>",
         {"rect 1, 1, 2, 2 caf\xc3\xa9.html "}, "windows-1252 (<meta> on line 1)"},
        {"<p title='<meta charset=koi8-r>'>" + Img + "<map name=m><area coords=1,1,2,2 href=caf\xc3\xa9.html>",
         {"rect 1, 1, 2, 2 caf\xc3\xa9.html "}, ""},
        {"<meta charset=bogus>" + Img + "<map name=m><area coords=1,1,2,2 href=caf\xc3\xa9.html>",
         {"rect 1, 1, 2, 2 caf\xc3\xa9.html "}, ""},
        {Utf16Le(Img + "<map name=m><area coords=1,1,2,2 href=a>"), {"rect 1, 1, 2, 2 a "}, "UTF-16LE (byte order mark)"},
        {"<meta charset=utf-8>" + Img + "<map name=m>\n<area coords=1,1,2,2 href=a\xff>",
         {"rect 1, 1, 2, 2 a\xEF\xBF\xBD "}, "2: bytes that are not valid UTF-8 read as U+FFFD"},
        {Img + "<map name=m>\n<area coords=1,1,2,2 href=a alt='x" + std::string(1, '\0') + "y'>",
         {"rect 1, 1, 2, 2 a  alt=x\xEF\xBF\xBDy title="}, "2: its alt holds U+FFFD"},
    };
    for (const auto &c : cases) {
        const TImportResult result = ImportMap(c.Page, Request(c.Map));
        const std::string said = Said(result);
        EXPECT_EQ(result.Errors.empty(), !c.Refused) << c.Page << "\n" << said;
        if (!c.Refused) {
            EXPECT_EQ(Areas(result.Map), c.Expected) << c.Page << "\n" << said;
        }
        if (c.Text.empty())
            EXPECT_EQ(said, "") << c.Page;
        else
            EXPECT_NE(said.find(c.Text), std::string::npos) << c.Page << "\n" << said;
    }
}

TEST(HtmlImport, HostilePagesAreRefusedWithTheirLine)
{
    std::string points = "0,0";
    for (int i = 1; i < 99; ++i)
        points += "," + std::to_string(i) + "," + std::to_string(i % 2);
    std::string nested = Img + "<map name=m><area coords=1,1,2,2 href=a></map>\n";
    for (int i = 0; i < 100000; ++i)
        nested += "<div>";
    const struct {
        std::string Page;
        int Line;
        const char *Reason;
    } cases[] = {
        {Img + "<map name=m>\n\n<area shape=poly coords='" + points + "' href=a></map>", 3, "99 points"},
        {Img + "<map name=m><area shape=default href=a>\n<area shape=default href=b></map>", 2, "second default"},
        {Img + "<map name=m><area coords='1,2,3,99999999999' href=a></map>", 1, "out of range"},
        {Img + "<map name=m>\n<area coords=1,2,3,4 href=a target='x&#10;y'></map>", 2, "line break"},
        {"<meta charset=iso-2022-kr>" + Img + "<map name=m><area coords=1,2,3,4 href=a>", 0, "refuse to read"},
        {nested, 2, "nests its elements too deeply"},
        {std::string(MaxImportedPageBytes + 1, ' '), 0, "larger than 32 MB"},
    };
    for (const auto &[page, line, reason] : cases) {
        const TImportResult result = ImportMap(page, Request());
        ASSERT_EQ(result.Errors.size(), 1u) << page.substr(0, 200) << Said(result);
        EXPECT_EQ(result.Errors[0].Line, line) << result.Errors[0].Text;
        EXPECT_NE(result.Errors[0].Text.find(reason), std::string::npos) << result.Errors[0].Text;
    }
}
