// The command line's record-by-record compile against the whole-map writers, with the texts and
// options of the extension block.
#include "cli/core/CompileMap.h"
#include "output/WorkedExample.h"

#include <gtest/gtest.h>

namespace {

TMapFile WithTexts()
{
    TMapFile map = worked::Map();
    map.Rects[0].Alt = "About us";
    map.Polys[0].Alt = "Products";
    map.Polys[0].Title = "All products";
    map.Options = {"stored", "middle", "Site navigation", "0", "5", "0"};
    return map;
}

} // namespace

TEST(CompileMap, StreamedEqualsWholeMapInEveryFormat)
{
    const std::string bytes = WriteMapFile(WithTexts());
    TCompileRequest request;
    request.WorkDir = worked::WorkDir;
    request.Options.Name = "navmap";
    request.Options.HSpace = "";
    request.ImageSize = TImageSize{300, 100};
    const TMapOptions chosen{"navmap", "middle", "Site navigation", "0", "5", ""};
    for (TFragmentFormat format : {TFragmentFormat::Classic, TFragmentFormat::Html5, TFragmentFormat::Svg}) {
        request.Format = format;
        const TCompiledMap compiled = CompileMapFile(bytes, request);
        TFragmentMap whole = FragmentOfMapFile(ReadMapFile(bytes).Map, worked::WorkDir, chosen, false);
        whole.ImageSize = request.ImageSize;
        const TFragmentOutput expected = WriteFragmentAs(format, whole);
        EXPECT_EQ(compiled.Output.Bytes, expected.Bytes) << static_cast<int>(format);
        EXPECT_EQ(compiled.Output.MissingAlt, expected.MissingAlt);
        EXPECT_FALSE(compiled.Error || compiled.ExtensionError);
    }
    // The classic compile of the saved map is the worked fragment: its ALTs come back.
    request.Format = TFragmentFormat::Classic;
    request.Options = {};
    request.Options.HSpace = "0";
    request.Options.Name = "navmap";
    EXPECT_EQ(CompileMapFile(bytes, request).Output.Bytes, worked::FragmentBytes);
}

TEST(CompileMap, OptionsAndDamagedBlocks)
{
    const TMapOptions stored{"stored", "left", "", "", "", "3"};
    EXPECT_EQ(ChooseOptions({std::nullopt, "", "a", std::nullopt, "1", std::nullopt}, stored, "file"),
              (TMapOptions{"stored", "", "a", "", "1", "3"}));
    EXPECT_EQ(ChooseOptions({}, {}, "file").Name, "file");

    // A block naming a second rectangle does not fit: the map compiles as if it had none.
    const std::string damaged = worked::MapFileBytes + "\x1aMapolin extension 1\r\nmap.name 1:x\r\nrect.1.alt 1:R\r\n"
                                                       "rect.2.alt 1:S\r\nend\r\n";
    TCompileRequest request;
    request.FallbackName = "file";
    const TCompiledMap compiled = CompileMapFile(damaged, request);
    ASSERT_TRUE(compiled.ExtensionError);
    EXPECT_EQ(compiled.ExtensionError->Line, 40);
    EXPECT_EQ(compiled.Output.Bytes, CompileMapFile(worked::MapFileBytes, request).Output.Bytes);
    EXPECT_EQ(compiled.Output.Bytes.find("ALT"), std::string::npos);
    EXPECT_EQ(MapFileImagePath(damaged), "C:\\web\\images\\banner.gif");
    EXPECT_EQ(MapFileImagePath("a\x1a\r\n"), "a");
}
