// Windows-style filters become Qt filters without doubled pattern lists.
#include "dialogs/core/FileFilter.h"

#include <gtest/gtest.h>

TEST(FileFilter, TranslatesNamesAndPatterns)
{
    EXPECT_EQ(filefilter::ToQtFilter("HTML Files|*.html;*.htm|All Files|*.*"),
              "HTML Files (*.html *.htm);;All Files (*.*)");
    EXPECT_EQ(filefilter::ToQtFilter("Image Files (*.GIF, *.JPG)|*.gif;*.jpg|Gif Files (*.GIF)|*.gif"),
              "Image Files (*.gif *.jpg);;Gif Files (*.gif)");
    EXPECT_EQ(filefilter::ToQtFilter(""), "");
    EXPECT_EQ(filefilter::ToQtFilter("Dangling"), "");
}
