// The help file format: topics, paragraphs and list items, and malformed files told with their line.
#include "dialogs/core/HelpFile.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(HelpFile, ParsesTopicsParagraphsAndListItems)
{
    const auto result = helpfile::Parse("\xEF\xBB\xBFMAPOLIN-HELP 1\r\n"
                                        "@topic 1 Contents  \r\n"
                                        "First line\r\n"
                                        "second line.\r\n"
                                        "\r\n"
                                        "\r\n"
                                        "- item one\r\n"
                                        "  goes on\r\n"
                                        "- item two\r\n"
                                        "not indented\r\n"
                                        "@topic 21  URL of a hotspot\n"
                                        "@end\n"
                                        "\n");
    ASSERT_TRUE(result.Ok()) << result.error;
    ASSERT_EQ(result.topics.size(), 2u);
    const helpfile::Topic &contents = result.topics.at(1);
    EXPECT_EQ(contents.title, "Contents");
    using Paragraphs = std::vector<std::vector<std::string>>;
    EXPECT_EQ(contents.paragraphs,
              (Paragraphs{{"First line", "second line."}, {"- item one goes on", "- item two", "not indented"}}));
    EXPECT_EQ(result.topics.at(21).title, "URL of a hotspot");
    EXPECT_TRUE(result.topics.at(21).paragraphs.empty());
}

TEST(HelpFile, ReportsMalformedFilesWithTheirLine)
{
    const std::tuple<const char *, int, const char *> cases[] = {
        {"", 1, "not a Mapolin help file"},
        {"MAPOLIN-HELP 2\n@end\n", 1, "not a Mapolin help file"},
        {"MAPOLIN-HELP 1\nstray text\n@end\n", 2, "before the first topic"},
        {"MAPOLIN-HELP 1\n@topic x Title\n@end\n", 2, "context number"},
        {"MAPOLIN-HELP 1\n@topic 0 Title\n@end\n", 2, "context number"},
        {"MAPOLIN-HELP 1\n@topic 99999999999 Title\n@end\n", 2, "context number"},
        {"MAPOLIN-HELP 1\n@topic 12x Title\n@end\n", 2, "context number"},
        {"MAPOLIN-HELP 1\n@topic 12\n@end\n", 2, "no title"},
        {"MAPOLIN-HELP 1\n@topic 3 A\n@topic 3 B\n@end\n", 3, "appears twice"},
        {"MAPOLIN-HELP 1\n@topic 3 A\n@title B\n@end\n", 3, "unknown directive @title"},
        {"MAPOLIN-HELP 1\n@topic 3 A\n@end\nmore\n", 4, "after @end"},
        {"MAPOLIN-HELP 1\n@topic 3 A\ntext\n", 3, "cut short"},
    };
    for (const auto &[text, line, error] : cases) {
        const auto result = helpfile::Parse(text);
        EXPECT_FALSE(result.Ok()) << text;
        EXPECT_EQ(result.errorLine, line) << text;
        EXPECT_NE(result.error.find(error), std::string::npos) << text << " -> " << result.error;
    }
}
