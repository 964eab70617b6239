// The editor controller: drawing tools, the channel dispatcher, forwarding a miss, editing in the
// bottom bar and deleting, driven through the real main window and rectangle regions.
// Mouse events go through the window system, so the widget under the pointer and the mouse
// capture decide who receives them, as for a user.
#define QTEST_QPA_MOUSE_HANDLING
#include "AppHarness.h"

#include "app/ImageView.h"
#include "dialogs/AddHotspotForm.h"
#include "regions/ChannelField.h"
#include "regions/RectRegionClass.h"
#include "regions/ScrollBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QToolButton>

namespace {

// A stand-in for the circle and polygon shapes: hit only where the test says, selects like a region.
class TStandInShape : public TBaseRegion {
public:
    explicit TStandInShape(QWidget *owner) : TBaseRegion(owner) { Drawn = true; }
    bool hit = true;
    int presses = 0;
    void MouseDown(TMouseButton Button, TShiftState, int X, int Y) override
    {
        ++presses;
        if (Button == TMouseButton::mbLeft && HitTest(X, Y))
            SelectAndGrab(X, Y, false);
    }
    bool HitTest(int, int) const override { return hit; }
    QString GetCoords() const override { return {}; }
    void FitToShape() override {}
    void Report(const QString &word) { Emit(word); }
};

class EditorControllerTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakePrompter prompter;
    ModalAnswers modal{prompter};
    TfrmImageMap window;
    QString hotspotURL = QStringLiteral("http://example.test/a.html");
    bool cancelHotspot = false;

    void SetUp() override
    {
        modal.other = [this](QWidget &form) {
            auto *dialog = qobject_cast<TfrmHotSpot *>(&form);
            ASSERT_NE(dialog, nullptr);
            dialog->cmbURL->setEditText(hotspotURL);
            dialog->txtTarget->setEditText(QStringLiteral("main"));
            dialog->txtAlt->setText(QStringLiteral("status"));
            QTest::mouseClick(cancelHotspot ? dialog->btnCancel : dialog->btnOk, Qt::LeftButton);
        };
        window.SetRegionFactory([](TfrmImageMap::RegionKind kind, QWidget *owner) -> TBaseRegion * {
            if (kind == TfrmImageMap::RegionKind::Rect)
                return new TRectRegion(owner);
            return new TStandInShape(owner);
        });
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        OpenImage(window, prompter, WriteImage(dir, "map.gif", {300, 200}, "gif"));
        window.SavedFlag = true;
    }

    QWidget *Client() const { return window.ScrollBox1->Client(); }
    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(Client(), b, {}, p); }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(Client(), b, {}, p); }
    void Move(QPoint p) { QTest::mouseMove(Client(), p); }
    void Click(QPoint p) { QTest::mouseClick(Client(), Qt::LeftButton, {}, p); }

    // Draws a rectangle with the tool, from one corner to the other, answering the dialog.
    TRectRegion *DrawRect(QPoint from, QPoint to)
    {
        QTest::mouseClick(window.btnRect, Qt::LeftButton);
        Press(from);
        Move((from + to) / 2);
        Move(to);
        Release(to);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window.Regions.Rects().isEmpty() ? nullptr
                                                : static_cast<TRectRegion *>(window.Regions.Rects().last());
    }

    TStandInShape *AddShape(QToolButton *tool, TRegionLists::List &list, QRect box)
    {
        QTest::mouseClick(tool, Qt::LeftButton);
        auto *shape = static_cast<TStandInShape *>(list.last());
        shape->setGeometry(box);
        window.txtInfo->SetText(QStringLiteral("DRAWN"));
        return shape;
    }

    void ReportMiss(int x, int y)
    {
        window.txtXPos->SetInt(x);
        window.txtYPos->SetInt(y);
        window.txtInfo->SetText(QString());
        window.txtInfo->SetText(QStringLiteral("MISS"));
    }
};

TEST_F(EditorControllerTest, RectangleToolDrawsAHotspotEndToEnd)
{
    TRectRegion *r = DrawRect({40, 30}, {140, 90});
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(window.Regions.Rects().size(), 1);
    EXPECT_EQ(r->GetCoords(), "40, 30, 141, 91") << "the first press spans two pixels";
    EXPECT_EQ(r->URL, hotspotURL);
    EXPECT_EQ(r->Target, "main");
    EXPECT_EQ(r->StatusText, "status");
    EXPECT_FALSE(window.btnRect->isChecked()) << "DRAWN raises the tool";
    EXPECT_EQ(window.txtInfo->Text(), "DRAWN");
    EXPECT_FALSE(window.SavedFlag);
    EXPECT_EQ(r->PenColor(), window.LineColour());
}

TEST_F(EditorControllerTest, CancelledHotspotIsRemovedAndMarksTheMapChanged)
{
    DrawRect({10, 10}, {50, 50});
    cancelHotspot = true;
    QPointer<TBaseRegion> cancelled;
    QTest::mouseClick(window.btnRect, Qt::LeftButton);
    cancelled = window.Regions.Rects().last();
    window.SavedFlag = true;
    Press({100, 100});
    Release({120, 120});
    EXPECT_EQ(window.Regions.Rects().size(), 1) << "the list is as before the tool was chosen";
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(cancelled.isNull()) << "the cancelled region is destroyed after its handler returned";
    EXPECT_FALSE(window.SavedFlag);
    EXPECT_FALSE(window.btnRect->isChecked());
}

TEST_F(EditorControllerTest, SecondToolWhileDrawingIsRaisedAndCreatesNothing)
{
    QTest::mouseClick(window.btnRect, Qt::LeftButton);
    ASSERT_EQ(window.txtInfo->Text(), "DRAWING");
    QTest::mouseClick(window.btnCircle, Qt::LeftButton);
    EXPECT_FALSE(window.btnCircle->isChecked());
    EXPECT_TRUE(window.btnRect->isChecked());
    EXPECT_TRUE(window.Regions.Circles().isEmpty());
    EXPECT_EQ(window.Regions.Rects().size(), 1);
    QTest::mouseClick(window.btnRect, Qt::LeftButton);
    EXPECT_EQ(window.Regions.Rects().size(), 1) << "the same tool again starts nothing either";

    // A pointer move over the region being drawn replaces "DRAWING" with "MOVE" in the channel;
    // the drawing is still in progress and a tool must still be refused.
    Move({30, 30});
    ASSERT_EQ(window.txtInfo->Text(), "MOVE");
    QTest::mouseClick(window.btnPoly, Qt::LeftButton);
    EXPECT_TRUE(window.Regions.Polys().isEmpty());
    EXPECT_FALSE(window.btnPoly->isChecked());
}

TEST_F(EditorControllerTest, CancelWordsOfEveryKindRemoveTheNewestRegionOfThatKind)
{
    for (auto [tool, list, word] : {std::tuple{window.btnCircle, &window.Regions.Circles(), "CANCELCIRCLE"},
                                    std::tuple{window.btnPoly, &window.Regions.Polys(), "CANCELPOLY"}}) {
        AddShape(tool, *list, {5, 5, 20, 20});
        QTest::mouseClick(tool, Qt::LeftButton);
        ASSERT_EQ(list->size(), 2);
        auto *newest = static_cast<TStandInShape *>(list->last());
        QPointer<TBaseRegion> watch = newest;
        newest->Report(QString::fromLatin1(word));
        EXPECT_EQ(list->size(), 1) << word;
        EXPECT_EQ(window.txtInfo->Text(), "DRAWN");
        EXPECT_FALSE(tool->isChecked());
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(watch.isNull());
    }
}

TEST_F(EditorControllerTest, MissReachesARectangleOnlyStrictlyInsideItsBox)
{
    TRectRegion *r = DrawRect({50, 50}, {99, 99}); // Left 50, Width 51
    ASSERT_NE(r, nullptr);
    ReportMiss(50, 70);
    EXPECT_FALSE(r->Selected) << "left edge is outside";
    ReportMiss(70, 50);
    EXPECT_FALSE(r->Selected) << "top edge is outside";
    ReportMiss(101, 70);
    EXPECT_FALSE(r->Selected) << "Left + Width is outside";
    ReportMiss(51, 70);
    EXPECT_TRUE(r->Selected) << "one pixel in";
    EXPECT_TRUE(TfrmImageMap::InRect(INT32_MAX - 1, 5, INT32_MAX - 10, 0, 100, 10)) << "no overflow at the limit";
    EXPECT_EQ(window.cmbURL->currentText(), hotspotURL);
    EXPECT_EQ(window.txtTarget->text(), "main");
}

TEST_F(EditorControllerTest, OverlappingHitsWinByKindThenByAge)
{
    TRectRegion *first = DrawRect({20, 20}, {120, 120});
    TRectRegion *second = DrawRect({60, 60}, {160, 160});
    ReportMiss(80, 80);
    EXPECT_TRUE(first->Selected) << "the earlier rectangle gets the click";
    EXPECT_FALSE(second->Selected);

    TStandInShape *poly = AddShape(window.btnPoly, window.Regions.Polys(), {70, 70, 40, 40});
    ReportMiss(80, 80);
    EXPECT_EQ(poly->presses, 1);
    EXPECT_TRUE(poly->Selected) << "a polygon wins over a rectangle";
    EXPECT_FALSE(first->Selected);

    poly->hit = false;
    ReportMiss(80, 80);
    EXPECT_TRUE(first->Selected) << "outside the polygon's shape the rectangle keeps the click";
    EXPECT_FALSE(poly->Selected);
    EXPECT_EQ(poly->presses, 1) << "a shape that is not hit gets no press";
}

TEST_F(EditorControllerTest, MissOverNothingDeselectsAllAndLeavesTheBottomBar)
{
    TRectRegion *r = DrawRect({20, 20}, {60, 60});
    ReportMiss(30, 30);
    ASSERT_TRUE(r->Selected);
    window.cmbURL->setEditText(QStringLiteral("typed"));
    ReportMiss(200, 150);
    EXPECT_FALSE(r->Selected);
    EXPECT_EQ(window.cmbURL->currentText(), "typed");
}

TEST_F(EditorControllerTest, MissWithANonNumberIsReportedAndStopsTheForwarding)
{
    TRectRegion *r = DrawRect({20, 20}, {60, 60});
    window.txtXPos->SetText(QStringLiteral("abc"));
    window.txtYPos->SetText(QStringLiteral("30"));
    window.txtInfo->SetText(QString());
    window.txtInfo->SetText(QStringLiteral("MISS"));
    ASSERT_FALSE(prompter.messages.isEmpty());
    EXPECT_EQ(prompter.messages.last().text, "'abc' is not a valid integer value");
    EXPECT_FALSE(r->Selected);
}

TEST_F(EditorControllerTest, BottomBarEditsTheDefaultOrTheSelectedRegion)
{
    TRectRegion *r = DrawRect({20, 20}, {60, 60});
    const QString defaultURL = window.DefaultURL;

    // Neither editing the default nor a region selected: typing stores nothing.
    ReportMiss(250, 150);
    window.cmbURL->setEditText(QStringLiteral("nowhere"));
    window.txtTarget->setText(QStringLiteral("nothing"));
    EXPECT_EQ(window.DefaultURL, defaultURL);
    EXPECT_EQ(r->URL, hotspotURL);

    // A click on the bare image shows and then edits the default.
    Click({250, 150});
    EXPECT_TRUE(window.EditingDefault);
    EXPECT_EQ(window.cmbURL->currentText(), defaultURL);
    window.cmbURL->setEditText(QStringLiteral("http://example.test/default"));
    window.txtTarget->setText(QStringLiteral("_blank"));
    EXPECT_EQ(window.DefaultURL, "http://example.test/default");
    EXPECT_EQ(window.DefaultTarget, "_blank");

    // A click on the region shows and then edits the region.
    Click({30, 30});
    EXPECT_TRUE(r->Selected);
    EXPECT_FALSE(window.EditingDefault);
    EXPECT_EQ(window.cmbURL->currentText(), hotspotURL);
    window.cmbURL->setEditText(QStringLiteral("http://example.test/b"));
    window.txtTarget->setText(QStringLiteral("side"));
    EXPECT_EQ(r->URL, "http://example.test/b");
    EXPECT_EQ(r->Target, "side");
    EXPECT_EQ(window.DefaultURL, "http://example.test/default");

    // The file button writes the chosen path into the URL box, which edits the region.
    prompter.files.push_back(QStringLiteral("/tmp/page.html"));
    QTest::mouseClick(window.btnLoadURL, Qt::LeftButton);
    EXPECT_EQ(r->URL, "/tmp/page.html");
    EXPECT_EQ(prompter.openRequests.last().filter, "HTML Files|*.html;*.htm|All Files|*.*");
    EXPECT_EQ(prompter.openRequests.last().initialDir, window.DocumentDir);
}

TEST_F(EditorControllerTest, SelectingAnotherRegionLeavesExactlyOneSelected)
{
    TRectRegion *a = DrawRect({10, 10}, {50, 50});
    TRectRegion *b = DrawRect({100, 100}, {150, 150});
    Click({20, 20});
    Click({120, 120});
    EXPECT_FALSE(a->Selected);
    EXPECT_TRUE(b->Selected);
}

TEST_F(EditorControllerTest, DeleteRemovesTheSelectedRegionAndShowsTheDefault)
{
    TRectRegion *a = DrawRect({10, 10}, {50, 50});
    DrawRect({100, 100}, {150, 150});
    window.SavedFlag = true;

    window.btnDeleteClick(); // nothing selected: only deselects and shows the default
    EXPECT_EQ(window.Regions.Rects().size(), 2);
    EXPECT_TRUE(window.EditingDefault);
    EXPECT_EQ(window.cmbURL->currentText(), window.DefaultURL);

    Click({20, 20});
    ASSERT_TRUE(a->Selected);
    QPointer<TBaseRegion> watch = a;
    window.SavedFlag = true;
    QTest::mouseClick(window.btnDelete, Qt::LeftButton);
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(window.Regions.Rects().size(), 1);
    EXPECT_TRUE(window.EditingDefault);
    EXPECT_TRUE(window.SavedFlag) << "deleting does not mark the map changed";
}

TEST_F(EditorControllerTest, PassingThePointerOverARegionMarksTheMapChanged)
{
    DrawRect({10, 10}, {50, 50});
    window.SavedFlag = true; // as after a save
    Move({30, 30});
    EXPECT_EQ(window.txtInfo->Text(), "MOVE");
    EXPECT_FALSE(window.SavedFlag);
    EXPECT_EQ(window.txtXPos->Text(), "0");
    EXPECT_EQ(window.txtYPos->Text(), "0");

    prompter.answers.push_back(QMessageBox::Cancel);
    window.btnNewClick();
    ASSERT_FALSE(prompter.messages.isEmpty());
    EXPECT_EQ(prompter.messages.last().text, "Save changes?");
}

TEST_F(EditorControllerTest, MoveIsAnsweredWithTheScrolledImageOrigin)
{
    OpenImage(window, prompter, WriteImage(dir, "big.jpg", {1200, 900}, "jpeg"));
    window.ScrollBox1->horizontalScrollBar()->setValue(150);
    window.ScrollBox1->verticalScrollBar()->setValue(40);
    window.txtInfo->SetText(QString());
    window.txtInfo->SetText(QStringLiteral("MOVE"));
    EXPECT_EQ(window.txtXPos->Text(), "-150");
    EXPECT_EQ(window.txtYPos->Text(), "-40");
}

TEST_F(EditorControllerTest, LineColourRecoloursEveryRegion)
{
    TRectRegion *r = DrawRect({10, 10}, {50, 50});
    prompter.colour = QColor(Qt::green);
    window.lblColourClick();
    EXPECT_EQ(r->PenColor(), QColor(Qt::green));
    TRectRegion *next = DrawRect({100, 100}, {150, 150});
    EXPECT_EQ(next->PenColor(), QColor(Qt::green)) << "new regions take the swatch's colour";
}

TEST_F(EditorControllerTest, OpeningAnotherImageClearsTheRegions)
{
    QPointer<TBaseRegion> r = DrawRect({10, 10}, {50, 50});
    prompter.answers.push_back(QMessageBox::No);
    OpenImage(window, prompter, WriteImage(dir, "next.gif", {80, 60}, "gif"));
    EXPECT_TRUE(r.isNull());
    EXPECT_EQ(window.Regions.Count(), 0);
}

TEST_F(EditorControllerTest, RapidClicksAndDoubleClicksNeverLeaveAStrayRegion)
{
    // Tool buttons pressed while the hotspot dialog is open reach nothing: the dialog is modal.
    const auto answer = modal.other;
    modal.other = [&](QWidget &form) {
        for (QToolButton *tool : {window.btnRect, window.btnCircle, window.btnPoly})
            QTest::mouseClick(tool, Qt::LeftButton);
        answer(form);
    };
    QTest::mouseClick(window.btnRect, Qt::LeftButton);
    QTest::mouseDClick(Client(), Qt::LeftButton, {}, QPoint(70, 70));
    EXPECT_EQ(window.Regions.Count(), 1);
    modal.other = answer;
    Click({80, 80});
    QTest::mouseClick(window.btnRect, Qt::LeftButton);
    Press({90, 90});
    Release({95, 95}, Qt::RightButton);
    Release({95, 95});
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int children = 0;
    for (QObject *child : Client()->children())
        children += qobject_cast<TBaseRegion *>(child) != nullptr;
    EXPECT_EQ(children, window.Regions.Count()) << "every region on screen is in a list and back";
    for (TBaseRegion *region : window.Regions.Rects())
        EXPECT_TRUE(region->Drawn);
}

} // namespace
