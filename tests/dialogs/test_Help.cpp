// The shipped help file, the help window, and help requests routed through the hook.
#include "dialogs/Help.h"

#include "dialogs/core/HelpFile.h"
#include "support/FakeHelpViewer.h"
#include "support/FakePrompter.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

QString ShippedHelpFile()
{
    return QString::fromLocal8Bit(qgetenv("MAPOLIN_SOURCE_DIR")) + QStringLiteral("/resources/mapolin.hlp");
}

TEST(HelpFile, ShippedFileCoversEveryContextAndIsToldApartWhenCut)
{
    QFile file(ShippedHelpFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string text = file.readAll().toStdString();
    const auto result = helpfile::Parse(text);
    ASSERT_TRUE(result.Ok()) << result.errorLine << ": " << result.error;
    for (const int context : {1, 11, 12, 13, 14, 15, 17, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28}) {
        ASSERT_TRUE(result.topics.contains(context)) << context;
        EXPECT_FALSE(result.topics.at(context).paragraphs.empty()) << context;
    }
    // Every cut at a line end loses "@end" and must not pass for the whole file.
    for (std::size_t end = text.find('\n'); end + 1 < text.size(); end = text.find('\n', end + 1))
        ASSERT_FALSE(helpfile::Parse(std::string_view(text).substr(0, end + 1)).Ok()) << "cut after byte " << end;
}

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override { Help::SetHelpFile(ShippedHelpFile() + QStringLiteral(">rodiradi")); }
    void TearDown() override { Help::Reset(); }

    FakePrompter prompter;
};

TEST_F(HelpTest, TheWindowSitsOverItsOwnerAndPopupsAtThePointer)
{
    QWidget owner;
    owner.setGeometry(100, 100, 600, 500);
    owner.show();
    Help::SetOwner(&owner);
    ASSERT_TRUE(Help::Request(Help::Command::Topic, 1));
    auto *helpWindow = owner.findChild<QWidget *>(QStringLiteral("rodiradi"));
    ASSERT_TRUE(helpWindow) << "the help window belongs to its owner";
    EXPECT_TRUE(helpWindow->isVisible());
    // Over its owner, whatever frame the window system adds.
    EXPECT_LE((helpWindow->frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 6);
    EXPECT_TRUE(helpWindow->screen()->availableGeometry().contains(helpWindow->frameGeometry()));
    auto *browser = helpWindow->findChild<QTextBrowser *>();
    ASSERT_TRUE(browser);
    EXPECT_TRUE(browser->toPlainText().contains("Mapolin Help Contents"));
    QTest::keyClick(browser, Qt::Key_Escape);
    EXPECT_FALSE(helpWindow->isVisible()) << "Escape closes it";

    FakeHelpViewer viewer;
    QCursor::setPos(200, 150);
    EXPECT_TRUE(Help::Request(Help::Command::Popup, 21));
    ASSERT_EQ(viewer.shown.size(), 1);
    EXPECT_EQ(viewer.Last(), std::pair(Help::Command::Popup, 21));
    EXPECT_EQ(viewer.shown[0].title, "URL");
    EXPECT_EQ(viewer.shown[0].position, QCursor::pos());
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(HelpTest, DroppedAndEndlesslyReplacedRequestsShowNothing)
{
    FakeHelpViewer viewer;
    int calls = 0;
    Help::SetHook([&calls](Help::Command command, int context) {
        ++calls;
        Help::Request(command, context);
        return false;
    });
    EXPECT_FALSE(Help::Request(Help::Command::Popup, 15));
    EXPECT_LE(calls, 8);
    EXPECT_TRUE(viewer.shown.isEmpty());
}

TEST_F(HelpTest, MissingDamagedFileAndUnknownContextAreReported)
{
    // Each failed request shows exactly one message.
    const auto reported = [&](Help::Command command, int context) {
        EXPECT_FALSE(Help::Request(command, context));
        EXPECT_EQ(prompter.messages.size(), 1);
        return prompter.messages.isEmpty() ? QString() : prompter.messages.takeLast().text;
    };
    EXPECT_EQ(reported(Help::Command::Popup, 999), "The help file has no topic for help context 999.");

    FakeHelpViewer viewer;
    QTemporaryDir dir;
    // A folder name with "%2" in it must reach the message unchanged.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("50%2off")));
    const QString file = dir.filePath("50%2off/mapolin.hlp");
    Help::SetHelpFile(file + ">rodiradi");
    EXPECT_EQ(reported(Help::Command::Topic, 1), "Cannot open the help file \"" + file + "\".");

    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("MAPOLIN-HELP 1\n@topic 1 Contents\nThe rest was lost");
    damaged.close();
    EXPECT_EQ(reported(Help::Command::Topic, 1),
              "The help file \"" + file + "\" is damaged (line 3: the file ends without @end; it may be cut short).");
    EXPECT_TRUE(viewer.shown.isEmpty());
}

} // namespace
