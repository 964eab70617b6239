// Maximise and restore of the main window under a real window manager: the window fills the work
// area, the image area takes the room, both bars stay centred, restore gives back size and place.
#include "AppHarness.h"

#include "regions/ScrollBox.h"
#include "support/XServer.h"

#include <QScreen>

namespace {

void ClickCaptionButton(TfrmImageMap &window, caption::Button kind)
{
    auto *bar = window.findChild<QWidget *>(QStringLiteral("CaptionBar"));
    ASSERT_NE(bar, nullptr);
    for (const caption::ButtonBox &button : window.CaptionLayout().buttons)
        if (button.kind == kind) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(button.box.left + 4, button.box.top + 4));
            return;
        }
    FAIL() << "no such caption button";
}

void ExpectBarsCentred(const TfrmImageMap &window)
{
    EXPECT_EQ(window.pnlTop->x(), window.Panel1->width() / 2 - window.pnlTop->width() / 2);
    EXPECT_EQ(window.pnlBottom->x(), window.Panel3->width() / 2 - window.pnlBottom->width() / 2);
    EXPECT_EQ(window.Panel3->geometry().bottom(), window.ClientArea()->height() - 1);
}

TEST(MainWindowUnderAWindowManager, MaximiseFillsTheWorkAreaAndRestoreGivesItBack)
{
    FakePrompter prompter;
    TfrmImageMap window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(300); // let the window manager place it
    const QRect designed = window.frameGeometry();
    const int designedImageArea = window.ScrollBox1->height();

    ClickCaptionButton(window, caption::Button::Maximize);
    const QRect workArea = window.screen()->availableGeometry();
    // Both the window system and Qt's own idea of the place, which maps controls to the screen.
    EXPECT_TRUE(QTest::qWaitFor([&] { return XGeometry(window) == workArea && window.frameGeometry() == workArea; }, 5000))
        << "maximised to " << window.frameGeometry().x() << "," << window.frameGeometry().y() << " " << window.frameGeometry().width() << "x" << window.frameGeometry().height() << " work area " << workArea.x() << "," << workArea.y() << " " << workArea.width() << "x" << workArea.height();
    EXPECT_TRUE(window.IsMaximised());
    EXPECT_GT(window.ScrollBox1->height(), designedImageArea + 300) << "the image area takes the room";
    EXPECT_EQ(window.ScrollBox1->width(), window.ClientArea()->width());
    ExpectBarsCentred(window);

    ClickCaptionButton(window, caption::Button::Restore);
    EXPECT_TRUE(QTest::qWaitFor([&] { return XGeometry(window) == designed && window.frameGeometry() == designed; }, 5000))
        << "restored to " << window.frameGeometry().x() << "," << window.frameGeometry().y() << " "
        << window.frameGeometry().width() << "x" << window.frameGeometry().height();
    EXPECT_EQ(window.ScrollBox1->height(), designedImageArea);
    ExpectBarsCentred(window);
}

} // namespace
