// The extension block after the classic map file: what it keeps, what a classic reader sees, and
// damaged or foreign blocks that must leave the classic map loading.
#include "output/WorkedExample.h"
#include "output/core/MapExtension.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// The worked map with texts the classic file cannot hold, bytes of every awkward kind included.
TMapFile WithTexts()
{
    TMapFile map = worked::Map();
    map.Rects[0].Alt = "About us";
    map.Rects[0].Title = std::string("a\r\nb\x1a\0end\r\n", 11);
    map.Polys[0].Alt = "Produkte \xC3\xA4 \"q\" <b>";
    map.Options = {"navmap", "middle", "Site navigation", "0", "5", ""};
    return map;
}

std::string Block(const std::string &entries) { return worked::MapFileBytes + "\x1aMapolin extension 1\r\n" + entries; }

} // namespace

TEST(MapExtension, KeepsTextsBesideTheClassicFile)
{
    const TMapFile map = WithTexts();
    const std::string bytes = WriteMapFile(map);
    EXPECT_EQ(bytes.substr(0, ClassicEnd(bytes)), worked::MapFileBytes) << "the classic part is unchanged";
    EXPECT_EQ(ReadMapFile(bytes).Map, map);
    // Only the texts in use are written, so one option alone still makes a block.
    TMapFile nameOnly = worked::Map();
    nameOnly.Options.Name = "m";
    EXPECT_EQ(WriteMapFile(nameOnly), Block("map.name 1:m\r\nend\r\n"));

    TMapFile latin = map;
    latin.Rects[0].Alt = "caf\xE9";
    EXPECT_THROW(WriteMapFile(latin), std::invalid_argument) << "the block keeps UTF-8 only";
}

TEST(MapExtension, DamagedOrForeignBlocksLeaveTheClassicMap)
{
    // The block's header is line 37. Line 0: read without complaint, and the last column is then
    // the first rectangle's alt text.
    const std::tuple<const char *, std::string, int, const char *> cases[] = {
        {"later keys, a repeated key, bytes after the end",
         Block("zoom 3:1.5\r\nrect.1.lang 2:de\r\nrect.1.alt 1:x\r\nrect.1.alt 1:R\r\nend\r\nmore\r\n"), 0, "R"},
        {"a classic editor's padding", worked::MapFileBytes + "\x1a", 0, ""},
        {"other bytes after the byte 26", worked::MapFileBytes + "\x1aMapo", 0, ""},
        {"cut after the header", Block(""), 38, "cut short"},
        {"cut in a value", Block("rect.1.alt 8:About"), 38, "past the end"},
        {"cut in the header", worked::MapFileBytes + "\x1aMapolin ext", 37, "cut short"},
        {"wrong version", worked::MapFileBytes + "\x1aMapolin extension 2\r\nend\r\n", 37, "version 2"},
        {"not a header", worked::MapFileBytes + "\x1aMapolin\r\nend\r\n", 37, "first line"},
        {"no line end after the value", Block("rect.1.alt 1:RR\r\nend\r\n"), 38, "no line end"},
        {"not a length", Block("rect.1.alt x:R\r\nend\r\n"), 38, "not digits"},
        {"not a key", Block("Rect 1:R\r\nend\r\n"), 38, "not a key"},
        {"hotspot 0", Block("rect.0.alt 1:R\r\nend\r\n"), 38, "numbered from 1"},
        {"invalid UTF-8", Block("map.alt 1:\xE9\r\nend\r\n"), 38, "not UTF-8"},
        {"more entries than hotspots", Block("rect.1.alt 1:R\r\ncircle.2.title 1:C\r\nend\r\n"), 39, "circle 2"},
        {"lines in values count", Block("rect.1.alt 3:\r\r\r\r\npoly.1.alt 1:\xFF\r\nend\r\n"), 42, "not UTF-8"},
    };
    for (const auto &[name, bytes, line, what] : cases) {
        const TMapReadResult read = ReadMapFile(bytes);
        EXPECT_FALSE(read.Error) << name;
        TMapFile expected = worked::Map();
        if (line == 0) {
            expected.Rects[0].Alt = what;
            EXPECT_FALSE(read.ExtensionError) << name;
            EXPECT_EQ(read.Map, expected) << name;
            continue;
        }
        EXPECT_EQ(read.Map, expected) << name << ": no texts or options of a damaged block";
        ASSERT_TRUE(read.ExtensionError) << name;
        EXPECT_EQ(read.ExtensionError->Line, line) << name;
        EXPECT_NE(read.ExtensionError->Message.find(what), std::string::npos) << name << ": " << read.ExtensionError->Message;
    }
    // With the classic content broken, the block is not looked at.
    const TMapReadResult broken = ReadMapFile("a.gif\r\n\r\n\r\nx\r\n\x1aMapolin extension 1\r\nmap.name 1:m\r\nend\r\n");
    EXPECT_TRUE(broken.Error);
    EXPECT_FALSE(broken.ExtensionError);
    EXPECT_TRUE(broken.Map.Options.Name.empty());
}
