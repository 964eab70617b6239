// The fragment writer, its coordinate texts and the image reference rule, byte for byte.
#include "output/core/Coords.h"
#include "output/core/Fragment.h"
#include "output/core/Paths.h"
#include "output/WorkedExample.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

// The rectangle, circle and polygon rules show in the worked fragments; here the extremes.
TEST(Coords, ExtremesAndThePolygonsFirstSlot)
{
    EXPECT_EQ(FormatCoords({}), "");
    EXPECT_EQ(FormatCoords({-5, 0, INT_MIN, INT_MAX}), "-5, 0, -2147483648, 2147483647");
    EXPECT_EQ(PolyCoords(5, 7, {{0, 0}}, 0), "5, 7") << "slot 0 even without vertices";
}

TEST(Paths, RelativeImageReferences)
{
    const std::tuple<const char *, const char *, const char *> cases[] = {
        {"C:\\web\\", "C:\\web\\images\\banner.gif", "images/banner.gif"},
        {"C:\\web\\pages\\", "C:\\web\\images\\banner.gif", "../images/banner.gif"},
        {"c:\\WEB\\", "C:\\web\\banner.gif", "banner.gif"},
        {"C:\\web\\", "D:\\art\\banner.gif", "D:/art/banner.gif"},
        {"C:\\web\\abc\\", "C:\\web\\abcd\\x.gif", "../abcd/x.gif"},
        {"", "C:\\web\\images\\banner.gif", "C:/web/images/banner.gif"},
        {"/home/ann/site/pages/", "/home/ann/art/a.gif", "../../art/a.gif"},
        {"/srv/www/", "x", "x"},
    };
    for (const auto &[workDir, image, src] : cases)
        EXPECT_EQ(ImageSrc(workDir, image), src) << workDir << " + " << image;
    EXPECT_EQ(JoinPath("", "a.a"), "a.a");
    EXPECT_EQ(JoinPath("C:\\web/", "/a.a"), "C:\\web\\a.a");
    EXPECT_EQ(JoinPath("/srv", "a.a"), "/srv/a.a");
    EXPECT_EQ(MakeRelativePath("C:\\web\\", ""), "");
    EXPECT_EQ(MakeRelativePath("C:", "C:\\x.gif"), "x.gif") << "a drive alone gets a dummy file name";
}

TEST(Fragment, WorkedExampleHostAndClipboard)
{
    TFragmentMap fragment = worked::Fragment();
    EXPECT_EQ(WriteFragment(fragment), worked::FragmentBytes);
    fragment.ClipboardMode = true;
    EXPECT_EQ(WriteFragment(fragment), std::string(ClipboardComment) + "\r\n" + worked::FragmentBytes);
    // A region's own coordinate text gives the same line as its box and shape.
    fragment.ClipboardMode = false;
    fragment.Polys[0].Coords = std::string("200, 10, 260, 10, 230, 50");
    EXPECT_EQ(WriteFragment(fragment), worked::FragmentBytes);
}

TEST(Fragment, OptionsAndAreaEdgeCases)
{
    const std::tuple<TMapOptions, const char *> images[] = {
        {{"m", "", "", "", "0", "0"}, "<IMG SRC=\"a.gif\" USEMAP=\"#m\">"},
        {{"m", "", "", "00", "00", "7"}, "<IMG SRC=\"a.gif\" USEMAP=\"#m\" BORDER=00 VSPACE=00 HSPACE=7>"},
        {{"m", "azleft\xE9x", "a \"q\"", "", "", ""}, "<IMG SRC=\"a.gif\" USEMAP=\"#m\" ALIGN=\"AZLEFT\xE9X\" ALT=\"a \"q\"\">"},
    };
    for (const auto &[options, line] : images) {
        TFragmentMap map;
        map.Src = "a.gif";
        map.Options = options;
        map.DefaultTarget = "_top"; // no default URL: no default line
        EXPECT_EQ(WriteFragment(map), line + std::string("\r\n<MAP NAME=\"m\">\r\n</MAP>\r\n"));
    }

    TFragmentMap shapes;
    shapes.Options.Name = "m";
    shapes.Polys = {{std::string("1, 2"), "p\\q\\", "t\"", ""}};
    shapes.Circles = {{std::string("3, 4, 5"), "", "", "s"}};
    shapes.Rects = {{worked::Box(0, 0, 1, 1), "r", "", ""}};
    shapes.DefaultURL = "d\\e";
    shapes.DefaultTarget = "f";
    EXPECT_EQ(WriteFragment(shapes), "<IMG SRC=\"\" USEMAP=\"#m\">\r\n<MAP NAME=\"m\">\r\n"
                                     "<AREA SHAPE=RECT COORDS=\"0, 0, 0, 0\" HREF=\"r\">\r\n"
                                     "<AREA SHAPE=CIRCLE COORDS=\"3, 4, 5\" HREF=\"\" ALT=\"s\">\r\n"
                                     "<AREA SHAPE=POLYGON COORDS=\"1, 2\" HREF=\"p/q/\" TARGET=\"t\"\">\r\n"
                                     "<AREA SHAPE=DEFAULT HREF=\"d/e\" TARGET=\"f\">\r\n</MAP>\r\n");
}
