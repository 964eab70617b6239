// Help from the main window: contents, F1 on the bottom bar, and What's This on tagged controls.
#define QTEST_QPA_MOUSE_HANDLING
#include "AppHarness.h"

#include "dialogs/Help.h"
#include "support/FakeHelpViewer.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

namespace {

class MainWindowHelpTest : public ImageWindowTest {
protected:
    FakeHelpViewer viewer;

    void SetUp() override { ShowWithImage(QStringLiteral("a.gif"), "gif"); }
    void TearDown() override
    {
        window.mnuWhat->hide();
        Help::Reset();
    }
};

TEST_F(MainWindowHelpTest, ContentsIsTheOnlyTopicAndItsWindowEndsWithTheMainWindow)
{
    window.Contents1->trigger();
    EXPECT_EQ(viewer.Last(), std::pair(Help::Command::Topic, 1));
    EXPECT_TRUE(prompter.messages.isEmpty()) << "the help file beside the program is found";
    // Any other topic asked for is turned into a pop-up by the window's help hook.
    Help::Request(Help::Command::Topic, 15);
    EXPECT_EQ(viewer.Last(), std::pair(Help::Command::Popup, 15));

    // With the real help window open, closing the main window still ends the program.
    Help::SetViewer(nullptr);
    window.Contents1->trigger();
    auto *helpWindow = window.findChild<QWidget *>(QStringLiteral("rodiradi"));
    ASSERT_NE(helpWindow, nullptr);
    EXPECT_TRUE(helpWindow->isVisible());
    EXPECT_EQ(RunUntilQuit([&] { window.close(); }), 0) << "the program kept running after its main window closed";
}

// F1 on the bottom bar shows its context as a pop-up; a right click offers What's This on tagged
// controls only.
TEST_F(MainWindowHelpTest, F1AndRightClickShowTheControlsContext)
{
    const QList<QPair<QWidget *, int>> controls = {{window.cmbURL, 21}, {window.txtTarget, 20}};
    for (const auto &[control, context] : controls) {
        window.activateWindow();
        control->setFocus();
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : control;
        QTest::keyClick(target, Qt::Key_F1);
        EXPECT_EQ(viewer.Last(), std::pair(Help::Command::Popup, context)) << control->objectName().toStdString();
    }

    const QPoint at(10, 12);
    QTest::mousePress(window.btnDelete, Qt::RightButton, {}, at);
    QTest::mouseRelease(window.btnDelete, Qt::RightButton, {}, at);
    ASSERT_TRUE(window.mnuWhat->isVisible());
    EXPECT_EQ(window.mnuWhat->pos(), window.btnDelete->mapToGlobal(at) + QPoint(2, 2));
    EXPECT_EQ(window.mnuWhat->defaultAction(), window.WhatsThis1);
    window.WhatsThis1->trigger();
    EXPECT_EQ(viewer.Last(), std::pair(Help::Command::Popup, 15));
    window.mnuWhat->hide();

    for (QWidget *control : QList<QWidget *>{window.btnSave, window.btnCompile, window.txtTarget}) {
        QTest::mousePress(control, Qt::RightButton, {}, QPoint(5, 5));
        QTest::mouseRelease(control, Qt::RightButton, {}, QPoint(5, 5));
        EXPECT_FALSE(window.mnuWhat->isVisible()) << control->objectName().toStdString();
    }
    QTest::mousePress(window.btnRect, Qt::MiddleButton, {}, QPoint(5, 5));
    QTest::mouseRelease(window.btnRect, Qt::MiddleButton, {}, QPoint(5, 5));
    EXPECT_FALSE(window.mnuWhat->isVisible());

    const QList<QPair<QWidget *, int>> tags = {
        {window.btnNew, 11}, {window.btnLoad, 28}, {window.btnRect, 12}, {window.btnCircle, 13},
        {window.btnPoly, 14}, {window.btnDone, 17}, {static_cast<QWidget *>(window.lblColour), 19}};
    for (const auto &[control, tag] : tags) {
        QTest::mousePress(control, Qt::RightButton, {}, QPoint(3, 3));
        QTest::mouseRelease(control, Qt::RightButton, {}, QPoint(3, 3));
        window.WhatsThis1->trigger();
        EXPECT_EQ(viewer.Last(), std::pair(Help::Command::Popup, tag)) << control->objectName().toStdString();
        window.mnuWhat->hide();
    }
}

} // namespace
