// One text value of a settings file, also from lines cut short in an escape or a key.
#include "output/core/IniValue.h"

#include <gtest/gtest.h>

TEST(IniValue, ReadsWholeValuesAndSurvivesCutEscapes)
{
    const std::pair<const char *, std::optional<std::string>> cases[] = {
        {"[Options]\nDirectories\\DocumentDir=\"a, b\" , c\n", "a, b , c"},
        {"[Options]\nDirectories\\DocumentDir=x\\\n y\n", "x y"},   // carried on
        {"[Options]\r\nDirectories\\DocumentDir=\\x00410\\1012\\\"\r\n", "A0A2\""}, // 4 hex or 3 octal digits
        {"[Options]\nDirectories\\DocumentDir=\\", "\\"},            // cut in an escape
        {"[Options]\nDirectories\\DocumentDir=\\x", std::string(1, '\0')},
        {"[Options]\nDirectories\\DocumentDir=\"open", "open"},
        {"[Options]\nDirectories%5CDocumentDir=%\n", std::nullopt}, // %5C is a backslash in the name
        {"[Opt%U0069ons]\nDirectories\\DocumentDir=1\nDirectories\\DocumentDir=2\n", "2"},
        {"[Options]\nDirectories\\DocumentDir=@@at\n", "@at"},
        {"[Options]\nDirectories\\DocumentDir=@Rect(1 2 3 4)\n", std::nullopt},     // not a text
        {"[Directories]\nDocumentDir=/web\n\x01\x02\xff\xfe", std::nullopt},       // wrong group, binary
        {"[Options\nDirectories\\DocumentDir=x\n", std::nullopt},
        {"[Options]\n;Directories\\DocumentDir=x\n%U12\n=\n", std::nullopt},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(ini::Value(text, "Options", "Directories/DocumentDir"), expected) << text;
}
