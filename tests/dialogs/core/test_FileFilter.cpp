// Windows-style filters become Qt filters that keep their names whole and list every file for "*.*";
// the extension a save adds is spelt as the filter's pattern spells it.
#include "dialogs/core/FileFilter.h"

#include <gtest/gtest.h>

TEST(FileFilter, TranslatesNamesAndPatterns)
{
    EXPECT_EQ(filefilter::ToQtFilter("HTML Files|*.html;*.htm|All Files|*.*"),
              "HTML Files (*.html *.htm);;All Files (*)");
    EXPECT_EQ(filefilter::ToQtFilter("Image Files (*.GIF, *.JPG)|*.gif;*.jpg|Gif Files (*.GIF)|*.gif"),
              "Image Files (*.GIF, *.JPG) (*.gif *.jpg);;Gif Files (*.GIF) (*.gif)");
    EXPECT_EQ(filefilter::ToQtFilter(""), "");
    EXPECT_EQ(filefilter::ToQtFilter("Dangling"), "");
}

TEST(FileFilter, DefaultSuffixIsSpeltAsThePatternSpellsIt)
{
    EXPECT_EQ(filefilter::DefaultSuffix("Client Side Imagemap Files (*.IM)|*.im", "IM"), "im");
    EXPECT_EQ(filefilter::DefaultSuffix("Pages|*.htm;*.Html", "HTML"), "Html");
    EXPECT_EQ(filefilter::DefaultSuffix("All Files|*.*|Maps|*.imx", "IM"), "IM") << "no pattern names it";
}
