// The HTML5 and SVG writers and the rules under them: shortened quoted values, UTF-8 validity.
#include "output/WorkedExample.h"
#include "output/core/Html5Fragment.h"
#include "output/core/PreviewPage.h"
#include "output/core/Shorten.h"
#include "output/core/SvgMap.h"
#include "output/core/Utf8.h"

#include <gtest/gtest.h>

namespace {

// The worked map with a title, its image's natural size, and no placement options.
TFragmentMap Worked()
{
    TFragmentMap fragment = worked::Fragment();
    fragment.ImageSize = TImageSize{300, 100};
    fragment.Options = {"navmap", "", "Site navigation", "", "", ""};
    fragment.Rects[0].Title = "Who & why";
    return fragment;
}

} // namespace

TEST(Shorten, CutsLongValuesOnCharacterBounds)
{
    EXPECT_EQ(Shortened(std::string(100, 'a')), std::string(100, 'a'));
    EXPECT_EQ(Shortened(std::string(101, 'a')), std::string(100, 'a') + "... (101 bytes)");
    EXPECT_EQ(Shortened(std::string(99, 'a') + "\xC3\xA4" + "zz"), std::string(99, 'a') + "... (103 bytes)");
    EXPECT_EQ(Shortened("abcdef", 2), "ab... (6 bytes)");
}

TEST(Utf8, ValidAndInvalidSequences)
{
    for (const char *good : {"", "plain ASCII text longer than eight", "\xC3\xA4", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
                             "\xEF\xBF\xBF", "\xF4\x8F\xBF\xBF"})
        EXPECT_TRUE(IsValidUtf8(good)) << good;
    for (const char *bad : {"caf\xE9", "\x80", "\xC0\x80", "\xC3", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xF5\x80\x80\x80", "\xE2\x82", "12345678\xFF", "\xE2\x28\xA1"})
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
}

TEST(Html5Fragment, EscapesSizesAndFillsIn)
{
    TFragmentMap map = Worked();
    map.Options = {"nav", "Left", "a \"b\" & <c>", "02", "5", ""};
    map.Rects[0].URL = "a.html?x=1&y=\"2\"<";
    map.Rects[0].StatusText = "Fish & \"chips\" <now>";
    map.Polys[0].StatusText.clear();
    const TFragmentOutput out = WriteHtml5Fragment(map);
    EXPECT_EQ(out.Bytes,
              "<img src=\"images/banner.gif\" usemap=\"#nav\" width=\"300\" height=\"100\" alt=\"a &quot;b&quot; &amp; "
              "&lt;c>\" style=\"float: left; border: 2px solid; margin: 5px 0\">\n<map name=\"nav\">\n"
              "<area shape=\"rect\" coords=\"10,20,109,69\" href=\"a.html?x=1&amp;y=&quot;2&quot;&lt;\" target=\"_blank\" "
              "alt=\"Fish &amp; &quot;chips&quot; &lt;now>\" title=\"Who &amp; why\">\n"
              "<area shape=\"circle\" coords=\"150,60,25\" href=\"contact.html\" alt=\"contact.html\">\n"
              "<area shape=\"poly\" coords=\"200,10,260,10,230,50\" href=\"products/list.html\" target=\"main\" "
              "alt=\"products/list.html\">\n"
              "<area shape=\"default\" href=\"index.html\" alt=\"index.html\">\n</map>\n");
    EXPECT_EQ(out.MissingAlt, (std::vector<THotspotRef>{{THotspotKind::Circle, 0}, {THotspotKind::Poly, 0}}));
    EXPECT_EQ(out.Warnings, std::vector<std::string>{"2 hotspot(s) have no alt text, so their alt is their URL: circle 1 "
                                                     "and polygon 1"});
    EXPECT_EQ(DescribeHotspots(std::vector<THotspotRef>(13, {THotspotKind::Poly, 4}), 2), "polygon 5, polygon 5 and 11 more");
    map.Options.Border = "1px";
    EXPECT_THROW(WriteHtml5Fragment(map), std::invalid_argument);
    map.Options.Border = "";
    map.Options.Name = "two words";
    EXPECT_THROW(WriteHtml5Fragment(map), std::invalid_argument);
}

TEST(SvgMap, LinksInReverseOverTheDefault)
{
    TFragmentMap map = Worked();
    map.Rects[0].Coords = std::string("109, 69, 10, 20"); // a region's own text, corners swapped
    EXPECT_EQ(WriteSvgMap(map).Bytes,
              "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"mapolin-map\" viewBox=\"0 0 300 100\" width=\"300\" "
              "height=\"100\" style=\"max-width: 100%; height: auto\" aria-label=\"Site navigation\">\n"
              "<style>.mapolin-map a > * { fill: none; fill-rule: evenodd; pointer-events: all; } "
              ".mapolin-map a:hover > *, .mapolin-map a:focus > * { stroke: #1a73e8; stroke-width: 3px; "
              "vector-effect: non-scaling-stroke; } .mapolin-map a:focus { outline: none; }</style>\n"
              "<image href=\"images/banner.gif\" width=\"300\" height=\"100\"/>\n"
              "<a href=\"index.html\" aria-label=\"index.html\"><rect width=\"300\" height=\"100\"/></a>\n"
              "<a href=\"products/list.html\" target=\"main\" aria-label=\"Products\">"
              "<polygon points=\"200,10 260,10 230,50\"/></a>\n"
              "<a href=\"contact.html\" aria-label=\"contact.html\"><circle cx=\"150\" cy=\"60\" r=\"25\"/></a>\n"
              "<a href=\"about.html\" target=\"_blank\" aria-label=\"About us\"><title>Who &amp; why</title>"
              "<rect x=\"10\" y=\"20\" width=\"99\" height=\"49\"/></a>\n</svg>\n");
    EXPECT_NE(WritePreviewPage(map).find("<li>Default: <a href=\"index.html\">"), std::string::npos) << "the preview lists the links";
    map.ImageSize.reset();
    EXPECT_THROW(WriteSvgMap(map), std::invalid_argument);
}
