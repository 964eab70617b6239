// The map file reader and writer: the worked file, the integer rule, and cut, odd and hostile input.
#include "output/core/MapFile.h"
#include "output/core/StrToInt.h"
#include "output/WorkedExample.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

namespace {

std::string Lines(std::initializer_list<std::string> lines)
{
    std::string bytes;
    for (const std::string &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

} // namespace

TEST(MapFile, WorkedExampleWritesAndReadsBack)
{
    EXPECT_EQ(WriteMapFile(worked::Map()), worked::MapFileBytes);
    const TMapReadResult read = ReadMapFile(worked::MapFileBytes);
    EXPECT_FALSE(read.Error);
    EXPECT_EQ(read.Map, worked::Map());
    EXPECT_EQ(WriteMapFile(TMapFile{}), Lines({"", "", "", "0", "0", "0"}));
}

TEST(MapFile, IntegerRule)
{
    const std::pair<const char *, int> good[] = {{" 12", 12}, {"+12", 12}, {"$0C", 12}, {"-$0c", -12},
                                                 {"-2147483648", INT32_MIN}, {"$7FFFFFFF", INT32_MAX},
                                                 {"-$80000000", INT32_MIN}, {"0000000000012", 12}};
    for (const auto &[text, value] : good) {
        int read = 0;
        EXPECT_TRUE(TryStrToInt(text, read)) << text;
        EXPECT_EQ(read, value) << text;
    }
    for (const char *text : {"12 ", "", " ", "-", "$", "+$", "2147483648", "$80000000", "-2147483649", "1e3",
                             "0x1", "\t1", "1 2", "99999999999999999999999"}) {
        int read = 0;
        EXPECT_FALSE(TryStrToInt(text, read)) << text;
    }
    EXPECT_THROW(StrToInt("12 "), EConvertError);
}

// Cut after every byte: no crash, an error unless only the last line end is missing; after a
// whole line the error is at the next number line and only whole records are kept.
TEST(MapFile, FileCutShort)
{
    const std::set<int> textLines{1, 2, 3, 9, 10, 16, 17, 26, 27};
    const std::string &full = worked::MapFileBytes;
    for (std::size_t size = 0, kept = 0; size < full.size(); ++size) {
        const TMapReadResult read = ReadMapFile(full.substr(0, size));
        EXPECT_EQ(read.Error.has_value(), size < full.size() - 2) << size;
        if (size == 0 || (size >= 2 && full.compare(size - 2, 2, "\r\n") == 0)) {
            int expectedLine = static_cast<int>(++kept);
            while (textLines.count(expectedLine))
                ++expectedLine;
            EXPECT_EQ(read.Error, (TMapFileError{expectedLine, "'' is not a valid integer value"})) << size;
            EXPECT_EQ(read.Map.Rects.size(), kept > 8 ? 1u : 0u) << size << " (missing texts read as empty)";
            EXPECT_EQ(read.Map.Circles.size(), kept > 20 ? 1u : 0u) << size;
            EXPECT_TRUE(read.Map.Polys.empty()) << size;
        }
        // Byte 26 cuts the file just as its end does.
        const TMapReadResult cut = ReadMapFile(full.substr(0, size) + '\x1a' + full.substr(size));
        EXPECT_EQ(cut.Map, read.Map) << size;
        EXPECT_EQ(cut.Error, read.Error) << size;
    }
}

TEST(MapFile, LineEndsAndOddText)
{
    // A lone LF is text; CR alone and CR LF both end a line.
    const TMapReadResult lf = ReadMapFile("a.gif\n1\n");
    EXPECT_EQ(lf.Map.ImageFileName, "a.gif\n1\n");
    EXPECT_EQ(*lf.Error, (TMapFileError{4, "'' is not a valid integer value"}));
    const TMapReadResult mixed = ReadMapFile("a.gif\rd\n\r\n\r\n-3\r0\r\n0\r\nextra\r\n");
    EXPECT_FALSE(mixed.Error) << "counts of 0 and below read no records; extra lines are ignored";
    EXPECT_EQ(mixed.Map.DefaultURL, "d\n");

    // Texts go through as bytes, quotes and non-ASCII included; a 10 MB line too.
    TMapFile map = worked::Map();
    map.ImageFileName = std::string(10 << 20, 'x');
    map.Rects[0].URL = "\xC3\xA9t\xE9 \"q\"\n";
    const TMapReadResult big = ReadMapFile(WriteMapFile(map));
    EXPECT_FALSE(big.Error);
    EXPECT_EQ(big.Map, map);

    for (auto broken : {+[](TMapFile &m) { m.Rects[0].URL = "a\rb"; }, +[](TMapFile &m) { m.DefaultTarget = "\x1a"; },
                        +[](TMapFile &m) { m.Polys[0].Shape.Points.pop_back(); },
                        +[](TMapFile &m) { m.Polys[0].Shape.Points.clear(), m.Polys[0].Shape.PointCount = -1; }}) {
        TMapFile bad = worked::Map();
        broken(bad);
        EXPECT_THROW(WriteMapFile(bad), std::invalid_argument);
    }
}

TEST(MapFile, HostileCounts)
{
    // Huge counts cost nothing ahead of their records: the first missing record stops reading.
    const TMapReadResult huge = ReadMapFile(Lines({"i.gif", "", "", "2147483647"}));
    EXPECT_EQ(*huge.Error, (TMapFileError{5, "'' is not a valid integer value"}));

    const std::string beforeCount = worked::MapFileBytes.substr(0, worked::MapFileBytes.find("3\r\n5\r\n5\r\n65"));
    for (const char *count : {"-1", "101", "2147483647", "-2147483648"}) {
        const TMapReadResult read = ReadMapFile(beforeCount + count + "\r\n5\r\n5\r\n");
        ASSERT_TRUE(read.Error) << count;
        EXPECT_EQ(read.Error->Line, 28);
        EXPECT_EQ(read.Error->Message, std::string("Line 28: a polygon point count of ") + count + " is outside 0 to 100");
        EXPECT_EQ(read.Map.Rects.size() + read.Map.Circles.size(), 2u) << "earlier records stay";
        EXPECT_TRUE(read.Map.Polys.empty());
    }
    TMapFile widest = worked::Map();
    widest.Polys[0].Shape.PointCount = 100;
    widest.Polys[0].Shape.Points.assign(101, {INT32_MIN, INT32_MAX});
    EXPECT_EQ(ReadMapFile(WriteMapFile(widest)).Map, widest);
}
