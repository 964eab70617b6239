// Windows-style filters become Qt filters that keep their names whole and list every file for "*.*".
#include "dialogs/Prompter.h"
#include "dialogs/core/FileFilter.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QTimer>

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

TEST(FileFilter, TheFileDialogShowsTheNamesAsWritten)
{
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        for (int i = 0; i < types->count(); ++i)
            shown << types->itemText(i);
        dialog->reject();
    });
    IPrompter::OpenFileRequest request;
    request.filter = QStringLiteral("Image Files (*.GIF, *.JPG)|*.gif;*.jpg|Gif Files (*.GIF)|*.gif|All Files|*.*");
    EXPECT_TRUE(Prompter().OpenFile(nullptr, request).isEmpty());
    EXPECT_EQ(shown, QStringList({"Image Files (*.GIF, *.JPG)", "Gif Files (*.GIF)", "All Files"}));
}
