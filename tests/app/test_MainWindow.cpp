// The main window's start-up state, the New flow, colour, resizing and shutdown.
#include "AppHarness.h"

#include "app/ShutdownEvent.h"
#include "app/ImageView.h"
#include "imaging/PMultiImage.h"
#include "regions/ChannelField.h"
#include "regions/ScrollBox.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

#include <csignal>
#include <fstream>

namespace {

class MainWindowTest : public ImageWindowTest {
protected:
    QList<QWidget *> EditingControls() const
    {
        return {window.btnSave, window.btnRect, window.btnCircle, window.btnPoly, window.btnDelete,
                window.btnCompile, window.cmbURL, window.txtTarget, window.btnLoadURL, window.lblColour,
                window.Label1, window.Label2, window.Label3};
    }
};

TEST_F(MainWindowTest, StartsWithEditingDisabledAndEnablesEverythingOnceAnImageIsOpen)
{
    EXPECT_EQ(window.pnlTop->x(), 417 / 2 - 412 / 2);
    EXPECT_EQ(window.pnlBottom->x(), 417 / 2 - 407 / 2);
    window.show();
    for (QWidget *w : EditingControls())
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(window.Save1->isVisible() || window.Compile1->isVisible());
    for (QWidget *w : QList<QWidget *>{window.btnNew, window.btnLoad, window.btnDone})
        EXPECT_TRUE(w->isEnabled());
    EXPECT_TRUE(window.Image1->isHidden());

    OpenImage(window, prompter, WriteImage(dir, "first.gif", {120, 80}, "gif"));

    for (QWidget *w : EditingControls())
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(window.Save1->isVisible() && window.Compile1->isVisible());
    EXPECT_FALSE(window.Image1->isHidden());
    EXPECT_EQ(window.Image1->geometry(), QRect(0, 0, 120, 80));

    // Resized, the image area takes the room between the bars.
    window.ClientArea()->setFixedSize(701, 500);
    QApplication::processEvents();
    EXPECT_EQ(window.ScrollBox1->geometry(), QRect(0, 44, 701, 500 - 44 - 57));
}

TEST_F(MainWindowTest, NewOpensTheImageAndDefaultLinkAndSurvivesCancelsAndUnreadableFiles)
{
    const QString path = WriteImage(dir, "photo.jpg", {64, 48}, "jpeg");
    OpenImage(window, prompter, path);

    ASSERT_EQ(prompter.openRequests.size(), 1);
    EXPECT_EQ(prompter.openRequests[0].initialDir, QCoreApplication::applicationDirPath());
    EXPECT_TRUE(prompter.messages.isEmpty()) << "no Save changes? while the map is saved";
    EXPECT_EQ(window.ImageFileName(), path);
    EXPECT_EQ(window.Editor().DefaultURL() + "|" + window.Editor().DefaultTarget(), "http://example.test/|_top");
    EXPECT_EQ(window.cmbURL->currentText() + "|" + window.txtTarget->text(), "http://example.test/|_top");
    EXPECT_TRUE(window.Editor().SavedFlag());

    // A cancelled file dialog keeps the old image and default, with an empty region list.
    window.btnNewClick(); // no file queued
    EXPECT_EQ(window.ImageFileName(), path);
    EXPECT_EQ(window.Image1->size(), QSize(64, 48));
    EXPECT_EQ(window.Editor().DefaultURL(), "http://example.test/");
    EXPECT_TRUE(window.Editor().Regions().Exist() && window.Editor().Regions().Count() == 0);

    // A cancelled default dialog leaves no default.
    modal.cancelDefault = true;
    OpenImage(window, prompter, WriteImage(dir, "a.gif", {30, 30}, "gif"));
    EXPECT_EQ(window.Editor().DefaultURL() + window.Editor().DefaultTarget() + window.cmbURL->currentText(), "");

    // An image that cannot be read is reported, and editing is enabled all the same.
    const QString broken = dir.filePath("broken.gif");
    std::ofstream(broken.toStdString()) << "GIF89a this is not really a picture";
    OpenImage(window, prompter, broken);
    EXPECT_FALSE(prompter.messages.isEmpty());
    EXPECT_TRUE(window.btnRect->isEnabled());
    EXPECT_TRUE(window.Image1->Picture().isNull());
}

TEST_F(MainWindowTest, SaveChangesQuestionDecidesWhetherNewGoesOn)
{
    const QString first = WriteImage(dir, "first.gif", {100, 50}, "gif");
    const QString second = WriteImage(dir, "second.gif", {40, 30}, "gif");
    OpenImage(window, prompter, first);
    window.Editor().SetSavedFlag(false);

    // Cancel: nothing changes and no file dialog is shown.
    prompter.answers.push_back(QMessageBox::Cancel);
    prompter.files.push_back(second);
    window.btnNewClick();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0].text, "Save changes?");
    EXPECT_EQ(prompter.messages[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(prompter.openRequests.size(), 1);
    EXPECT_EQ(window.ImageFileName(), first);

    // No: the new image replaces the old one.
    prompter.answers.push_back(QMessageBox::No);
    window.btnNewClick();
    EXPECT_EQ(window.ImageFileName(), second);
    EXPECT_EQ(window.Image1->size(), QSize(40, 30));
    EXPECT_FALSE(window.Editor().SavedFlag()) << "opening an image does not touch the saved flag";
}

// Disabled controls take no mouse action: no colour chooser, no What's This menu.
TEST_F(MainWindowTest, DisabledSwatchAndToolsTakeNoMouseAction)
{
    prompter.colour = QColor(Qt::red);
    window.show();
    QTest::mouseClick(window.lblColour, Qt::LeftButton);
    for (QWidget *control : {static_cast<QWidget *>(window.lblColour), static_cast<QWidget *>(window.btnRect)}) {
        QTest::mouseClick(control, Qt::RightButton, {}, QPoint(3, 3));
        EXPECT_FALSE(window.mnuWhat->isVisible()) << control->objectName().toStdString();
    }
    EXPECT_TRUE(prompter.colourInitials.isEmpty());
}

TEST_F(MainWindowTest, ExitTheShutdownMessageAndSigtermEndWithoutAsking)
{
    OpenImage(window, prompter, WriteImage(dir, "a.gif", {50, 50}, "gif"));
    window.Editor().SetSavedFlag(false);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const int before = int(prompter.messages.size());
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(prompter.messages.size(), before);
    EXPECT_FALSE(window.Editor().Regions().Exist()) << "closing clears the regions";

    EXPECT_EQ(RunUntilQuit([] { QCoreApplication::postEvent(qApp, new QEvent(ShutdownEventType)); }), 0);
    EXPECT_EQ(RunUntilQuit([] { ::raise(SIGTERM); }), 0);
}

} // namespace
