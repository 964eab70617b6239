// The editor controller: drawing tools, the channel dispatcher, forwarding a miss, editing in the
// bottom bar and deleting, driven through the real main window and rectangle regions.
// Mouse events go through the window system, so the widget under the pointer and the mouse
// capture decide who receives them, as for a user.
#define QTEST_QPA_MOUSE_HANDLING
#include "AppHarness.h"

#include "app/ImageView.h"
#include "dialogs/AddHotspotForm.h"
#include "regions/ChannelField.h"
#include "regions/CircleRegionClass.h"
#include "regions/PolyRegionClass.h"
#include "regions/RectRegionClass.h"
#include "regions/ScrollBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSet>
#include <QToolButton>

#include <random>

namespace {

class EditorControllerTest : public ImageWindowTest {
protected:
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
            // Clicked directly: a polygon's dialog opens while the closing right button is still down.
            (cancelHotspot ? dialog->btnCancel : dialog->btnOk)->click();
        };
        ShowWithImage(QStringLiteral("map.gif"), "gif");
        window.Editor().SetSavedFlag(true);
    }

    TRectRegion *DrawRect(QPoint from, QPoint to) { return static_cast<TRectRegion *>(ImageWindowTest::DrawRect(from, to)); }

    // Draws a circle with the tool from its centre outwards, answering the dialog; a cancelled one
    // is destroyed once the event loop runs.
    QPointer<TCircleRegion> DrawCircle(QPoint centre, QPoint to)
    {
        QTest::mouseClick(window.btnCircle, Qt::LeftButton);
        QPointer<TCircleRegion> circle = static_cast<TCircleRegion *>(window.Editor().Regions().Circles().last());
        Press(centre);
        Move(to);
        Release(to);
        return circle;
    }

    // Places the vertices with left clicks and closes with a right click, answering the dialog.
    QPointer<TPolyRegion> DrawPoly(std::initializer_list<QPoint> vertices)
    {
        QTest::mouseClick(window.btnPoly, Qt::LeftButton);
        QPointer<TPolyRegion> poly = static_cast<TPolyRegion *>(window.Editor().Regions().Polys().last());
        for (QPoint v : vertices)
            Click(v);
        const QPoint last = vertices.size() ? *(vertices.end() - 1) : QPoint(5, 5);
        Press(last, Qt::RightButton);
        Release(last, Qt::RightButton);
        return poly;
    }

    void ReportMiss(int x, int y)
    {
        window.txtXPos->SetInt(x);
        window.txtYPos->SetInt(y);
        window.txtInfo->SetText(QString());
        window.txtInfo->SetText(QStringLiteral("MISS"));
    }
};

TEST_F(EditorControllerTest, RectangleToolDrawsAHotspotEndToEndInTheLineColour)
{
    TRectRegion *r = DrawRect({40, 30}, {140, 90});
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->GetCoords(), "40, 30, 141, 91") << "the first press spans two pixels";
    EXPECT_EQ(r->URL + "|" + r->Target + "|" + r->StatusText, hotspotURL + "|main|status") << "the dialog's answers";
    EXPECT_FALSE(window.btnRect->isChecked()) << "DRAWN raises the tool";
    EXPECT_EQ(window.txtInfo->Text(), "DRAWN");
    EXPECT_FALSE(window.Editor().SavedFlag());
    EXPECT_EQ(r->PenColor(), window.LineColour());

    // A colour chosen from the swatch recolours every region, and new regions take it; the map
    // stays saved, and a cancelled chooser keeps the colour.
    prompter.colour = QColor(Qt::green);
    window.Editor().SetSavedFlag(true);
    QTest::mouseClick(window.lblColour, Qt::LeftButton);
    EXPECT_EQ(prompter.colourInitials, QList<QColor>{QColor(Qt::black)});
    EXPECT_TRUE(window.Editor().SavedFlag());
    EXPECT_EQ(r->PenColor(), QColor(Qt::green));
    prompter.colour.reset();
    QTest::mouseClick(window.lblColour, Qt::LeftButton);
    EXPECT_EQ(DrawRect({160, 100}, {200, 150})->PenColor(), QColor(Qt::green));
}

TEST_F(EditorControllerTest, SecondToolWhileDrawingIsRaisedAndCreatesNothing)
{
    QTest::mouseClick(window.btnRect, Qt::LeftButton);
    ASSERT_EQ(window.txtInfo->Text(), "DRAWING");
    QTest::mouseClick(window.btnCircle, Qt::LeftButton);
    EXPECT_TRUE(!window.btnCircle->isChecked() && window.btnRect->isChecked());
    EXPECT_TRUE(window.Editor().Regions().Circles().isEmpty());
    QTest::mouseClick(window.btnRect, Qt::LeftButton);
    EXPECT_EQ(window.Editor().Regions().Rects().size(), 1) << "the same tool again starts nothing either";

    // A pointer move over the region being drawn replaces "DRAWING" with "MOVE" in the channel;
    // the drawing is still in progress and a tool must still be refused.
    Move({30, 30});
    ASSERT_EQ(window.txtInfo->Text(), "MOVE");
    QTest::mouseClick(window.btnPoly, Qt::LeftButton);
    EXPECT_TRUE(window.Editor().Regions().Polys().isEmpty() && !window.btnPoly->isChecked());
}

TEST_F(EditorControllerTest, CancelledHotspotsLeaveTheirListsAsTheyWereAndMarkTheMapChanged)
{
    DrawRect({10, 10}, {50, 50});
    DrawCircle({100, 40}, {110, 40});
    DrawPoly({{150, 20}, {190, 20}, {170, 60}});
    cancelHotspot = true;
    window.Editor().SetSavedFlag(true);
    QTest::mouseClick(window.btnRect, Qt::LeftButton);
    const QPointer<TBaseRegion> rect = window.Editor().Regions().Rects().last();
    Press({100, 100});
    Release({120, 120});
    const QPointer<TCircleRegion> circle = DrawCircle({200, 100}, {210, 100});
    const QPointer<TPolyRegion> poly = DrawPoly({{150, 150}, {180, 150}});
    EXPECT_EQ(window.Editor().Regions().Count(), 3);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(rect.isNull() && circle.isNull() && poly.isNull()) << "destroyed once their handlers returned";
    EXPECT_FALSE(window.Editor().SavedFlag());
    EXPECT_EQ(window.txtInfo->Text(), "DRAWN");
    EXPECT_FALSE(window.btnRect->isChecked() || window.btnCircle->isChecked() || window.btnPoly->isChecked());
}

TEST_F(EditorControllerTest, MissSelectsARectangleOnlyStrictlyInsideItsBox)
{
    TRectRegion *r = DrawRect({50, 50}, {99, 99}); // Left 50, Width 51
    ASSERT_NE(r, nullptr);
    // The left edge, the top edge and Left + Width are outside; one pixel in is inside.
    const struct { int x, y; bool selected; } misses[] = {
        {50, 70, false}, {70, 50, false}, {101, 70, false}, {51, 70, true}};
    for (const auto &m : misses) {
        ReportMiss(m.x, m.y);
        EXPECT_EQ(r->Selected, m.selected) << m.x << "," << m.y;
    }
    EXPECT_TRUE(TMapEditor::InRect(INT32_MAX - 1, 5, INT32_MAX - 10, 0, 100, 10)) << "no overflow at the limit";
    EXPECT_EQ(window.cmbURL->currentText() + "|" + window.txtTarget->text(), hotspotURL + "|main");

    // A miss over nothing deselects all and leaves what was typed in the bottom bar.
    window.cmbURL->setEditText(QStringLiteral("typed"));
    ReportMiss(200, 150);
    EXPECT_FALSE(r->Selected);
    EXPECT_EQ(window.cmbURL->currentText(), "typed");

    // A position that is not a number is reported and forwards nothing.
    window.txtXPos->SetText(QStringLiteral("abc"));
    window.txtYPos->SetText(QStringLiteral("70"));
    window.txtInfo->SetText(QString());
    window.txtInfo->SetText(QStringLiteral("MISS"));
    ASSERT_FALSE(prompter.messages.isEmpty());
    EXPECT_EQ(prompter.messages.last().text, "'abc' is not a valid integer value");
    EXPECT_FALSE(r->Selected);
}

TEST_F(EditorControllerTest, OverlappingHitsWinByKindThenByAge)
{
    TRectRegion *first = DrawRect({20, 20}, {120, 120});
    TRectRegion *second = DrawRect({60, 60}, {160, 160});
    ReportMiss(80, 80);
    EXPECT_TRUE(first->Selected) << "the earlier rectangle gets the click";
    EXPECT_FALSE(second->Selected);

    // A rectangle and a polygon under one point both get the click; the polygon ends selected.
    TPolyRegion *poly = DrawPoly({{70, 70}, {110, 70}, {110, 110}, {70, 110}});
    ReportMiss(80, 80);
    EXPECT_TRUE(poly->Selected) << "a polygon wins over a rectangle";
    EXPECT_FALSE(first->Selected);
    EXPECT_EQ(window.Editor().Regions().Rects().indexOf(first), 0);

    // A press in a circle's corner is reported at its parent-frame point and reaches the
    // rectangle beneath.
    TRectRegion *under = DrawRect({200, 20}, {260, 80});
    TCircleRegion *circle = DrawCircle({230, 50}, {250, 50}); // radius 20, box 210..250
    Click({230, 50});
    ASSERT_TRUE(circle->Selected);
    Move({240, 140});
    Click({212, 32}); // the circle's top-left corner
    EXPECT_EQ(window.txtXPos->Text() + "," + window.txtYPos->Text(), "212,32");
    EXPECT_TRUE(under->Selected) << "the miss reached the rectangle";
    EXPECT_FALSE(circle->Selected);
    EXPECT_FALSE(poly->Selected || first->Selected) << "exactly one selected";
}

TEST_F(EditorControllerTest, BottomBarEditsTheDefaultOrTheSelectedRegion)
{
    TRectRegion *r = DrawRect({20, 20}, {60, 60});
    const QString defaultURL = window.Editor().DefaultURL();

    // Neither editing the default nor a region selected: typing stores nothing.
    ReportMiss(250, 150);
    window.cmbURL->setEditText(QStringLiteral("nowhere"));
    window.txtTarget->setText(QStringLiteral("nothing"));
    EXPECT_EQ(window.Editor().DefaultURL() + "|" + r->URL, defaultURL + "|" + hotspotURL);

    // A click on the bare image shows and then edits the default.
    Click({250, 150});
    EXPECT_TRUE(window.Editor().EditingDefault());
    EXPECT_EQ(window.cmbURL->currentText(), defaultURL);
    window.cmbURL->setEditText(QStringLiteral("http://example.test/default"));
    window.txtTarget->setText(QStringLiteral("_blank"));
    EXPECT_EQ(window.Editor().DefaultURL() + "|" + window.Editor().DefaultTarget(), "http://example.test/default|_blank");

    // A click on the region shows and then edits the region, not the default.
    Click({30, 30});
    EXPECT_TRUE(r->Selected && !window.Editor().EditingDefault());
    EXPECT_EQ(window.cmbURL->currentText(), hotspotURL);
    window.cmbURL->setEditText(QStringLiteral("http://example.test/b"));
    window.txtTarget->setText(QStringLiteral("side"));
    EXPECT_EQ(r->URL + "|" + r->Target + "|" + window.Editor().DefaultURL(),
              "http://example.test/b|side|http://example.test/default");

    // The file button writes the chosen path into the URL box, which edits the region.
    prompter.files.push_back(QStringLiteral("/tmp/page.html"));
    QTest::mouseClick(window.btnLoadURL, Qt::LeftButton);
    EXPECT_EQ(r->URL, "/tmp/page.html");
}

TEST_F(EditorControllerTest, DeleteRemovesTheSelectedRegionAndANewImageAllTheRest)
{
    TRectRegion *a = DrawRect({10, 10}, {50, 50});
    const QPointer<TBaseRegion> b = DrawRect({100, 100}, {150, 150});
    window.Editor().SetSavedFlag(true);

    window.Editor().btnDeleteClick(); // nothing selected: only deselects and shows the default
    EXPECT_EQ(window.Editor().Regions().Rects().size(), 2);
    EXPECT_EQ(window.cmbURL->currentText(), window.Editor().DefaultURL());

    Click({120, 120});
    Click({20, 20});
    EXPECT_FALSE(b->Selected) << "selecting another region deselects the first";
    ASSERT_TRUE(a->Selected);
    QPointer<TBaseRegion> watch = a;
    window.Editor().SetSavedFlag(true);
    QTest::mouseClick(window.btnDelete, Qt::LeftButton);
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(window.Editor().Regions().Rects().size(), 1);
    EXPECT_TRUE(window.Editor().SavedFlag()) << "deleting does not mark the map changed";

    OpenImage(window, prompter, WriteImage(dir, "next.gif", {80, 60}, "gif"));
    EXPECT_TRUE(b.isNull());
    EXPECT_EQ(window.Editor().Regions().Count(), 0);
}

TEST_F(EditorControllerTest, MoveIsAnsweredWithTheScrolledImageOriginAndMarksTheMapChanged)
{
    DrawRect({10, 10}, {50, 50});
    window.Editor().SetSavedFlag(true); // as after a save
    Move({30, 30});
    EXPECT_EQ(window.txtInfo->Text(), "MOVE");
    EXPECT_FALSE(window.Editor().SavedFlag()) << "passing the pointer over a region marks the map changed";
    EXPECT_EQ(window.txtXPos->Text() + "," + window.txtYPos->Text(), "0,0");

    prompter.answers.push_back(QMessageBox::No);
    OpenImage(window, prompter, WriteImage(dir, "big.jpg", {1200, 900}, "jpeg"));
    window.ScrollBox1->horizontalScrollBar()->setValue(150);
    window.ScrollBox1->verticalScrollBar()->setValue(40);
    window.txtInfo->SetText(QString());
    window.txtInfo->SetText(QStringLiteral("MOVE"));
    EXPECT_EQ(window.txtXPos->Text() + "," + window.txtYPos->Text(), "-150,-40");
}

// Tool buttons pressed while the hotspot dialog is open reach nothing: the dialog is modal. Mixed
// buttons and double clicks are the random session's below.
TEST_F(EditorControllerTest, ToolsPressedWhileTheHotspotDialogIsOpenReachNothing)
{
    const auto answer = modal.other;
    modal.other = [&](QWidget &form) {
        for (QToolButton *tool : {window.btnRect, window.btnCircle, window.btnPoly})
            QTest::mouseClick(tool, Qt::LeftButton);
        answer(form);
    };
    QTest::mouseClick(window.btnRect, Qt::LeftButton);
    QTest::mouseDClick(Client(), Qt::LeftButton, {}, QPoint(70, 70));
    EXPECT_EQ(window.Editor().Regions().Count(), 1);
    EXPECT_TRUE(window.Editor().Regions().Rects().value(0)->Drawn);
}

// Invariants the editor keeps whatever the mouse does.
void ExpectSoundState(TfrmImageMap &window, QWidget *client, int step)
{
    QSet<TBaseRegion *> listed;
    int selected = 0;
    const QRect image = window.Image1->geometry().adjusted(0, 0, 1, 1); // widened by one pixel
    window.Editor().Regions().ForEach([&](TBaseRegion *region) {
        EXPECT_FALSE(listed.contains(region)) << "step " << step << ": a region in two lists";
        listed.insert(region);
        selected += region->Selected;
        if (region->Drawn) {
            const QRect box(region->Left(), region->Top(), region->Width(), region->Height());
            EXPECT_TRUE(image.contains(box)) << "step " << step << ": " << region->objectName().toStdString() << " leaves the image";
        }
    });
    EXPECT_LE(selected, 1) << "step " << step;
    for (QObject *child : client->children())
        if (auto *region = qobject_cast<TBaseRegion *>(child); region && !region->Cancelled()) {
            EXPECT_TRUE(listed.contains(region)) << "step " << step << ": a region outside the lists";
        }
}

} // namespace

TEST_F(EditorControllerTest, ALongRandomMouseSessionKeepsTheEditorSound)
{
    std::mt19937 random(qEnvironmentVariableIsSet("SEED") ? qEnvironmentVariableIntValue("SEED") : 20261206);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };
    modal.other = [&](QWidget &form) {
        if (auto *dialog = qobject_cast<TfrmHotSpot *>(&form)) {
            dialog->cmbURL->setEditText(QStringLiteral("x.html"));
            (pick(4) ? dialog->btnOk : dialog->btnCancel)->click();
        }
    };
    // Larger than the view, so drags scroll it and Left and Top turn negative.
    OpenImage(window, prompter, WriteImage(dir, "wide.gif", {700, 450}, "gif"));
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    QToolButton *tools[] = {window.btnRect, window.btnCircle, window.btnPoly};
    for (int step = 0; step < 4000; ++step) {
        // Presses land in the image area; moves and releases also far outside the window. (A
        // press on a scroll bar or an edit would open Qt's own context menu and wait for a user.)
        const QSize view = Client()->size();
        const QPoint inside(pick(view.width()), pick(view.height()));
        const QPoint anywhere = pick(10) ? inside : QPoint(pick(2000) - 1000, pick(2000) - 1000);
        const Qt::MouseButton button = buttons[pick(4)];
        switch (pick(12)) {
        case 0: QTest::mouseClick(tools[pick(3)], Qt::LeftButton); break;
        case 1: Press(inside, button); break;
        case 2: Release(anywhere, button); break;
        case 3: QTest::mouseDClick(Client(), button, {}, inside); break;
        case 4: Click(inside); break;
        case 5:
            if (!pick(8))
                QTest::mouseClick(window.btnDelete, Qt::LeftButton);
            break;
        default: Move(anywhere); break;
        }
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (step % 50 == 0)
            ExpectSoundState(window, Client(), step);
        if (HasFailure())
            return;
    }
    ExpectSoundState(window, Client(), 4000);
    EXPECT_GT(window.Editor().Regions().Count(), 3) << "the session drew hotspots";
}
