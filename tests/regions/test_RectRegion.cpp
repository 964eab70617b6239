// Rectangle hotspots driven by real mouse events over an image in a scroll box.
#include "RegionHarness.h"

namespace {

using namespace regiontest;

// A 100 x 80 rectangle at 50, 50, selected and idle.
TRectRegion *SelectedRect(Editor &e)
{
    TRectRegion *r = e.DrawRect({50, 50}, {148, 128});
    e.Click({100, 90});
    EXPECT_TRUE(r->Selected);
    return r;
}

} // namespace

TEST(RectRegionDrawing, ClicksDragsAndAnotherButtonCompleteWithThePointerOnTheImage)
{
    Editor e;
    TRectRegion *r = e.New<TRectRegion>();
    e.Click({30, 40});
    EXPECT_EQ(r->GetCoords(), QStringLiteral("30, 40, 31, 41"));
    // A double click draws once; its second press selects the new rectangle.
    TRectRegion *d = e.New<TRectRegion>();
    QTest::mouseDClick(e.box->Client(), Qt::LeftButton, {}, {140, 40});
    EXPECT_EQ(e.dialogs, 2);
    EXPECT_EQ(BoxOf(d), QRect(140, 40, 2, 2));
    EXPECT_TRUE(d->Selected);

    EXPECT_EQ(e.DrawRect({80, 90}, {20, 30})->GetCoords(), QStringLiteral("21, 31, 80, 90"));
    TRectRegion *c = e.New<TRectRegion>();
    e.Press({250, 150});
    EXPECT_TRUE(c->PointerConfined());
    EXPECT_EQ(testcursor::Number(), AppCursor::crDrawRect);
    e.Move({380, 280}); // beyond the image: the handler sees its last pixel
    e.Release({380, 280});
    EXPECT_EQ(c->GetCoords(), QStringLiteral("250, 150, 300, 200"));
    EXPECT_FALSE(c->PointerConfined());

    // Releasing another button completes; the left button's own release then does nothing more.
    TRectRegion *o = e.New<TRectRegion>();
    e.Press({150, 120});
    e.Move({180, 150});
    e.Press({180, 150}, Qt::RightButton);
    e.Release({180, 150}, Qt::RightButton);
    EXPECT_EQ(o->GetCoords(), QStringLiteral("150, 120, 181, 151"));
    e.Release({180, 150});
    EXPECT_EQ(e.dialogs, 5);
    EXPECT_FALSE(o->Dragging);
}

TEST(RectRegionLookAndEvents, BandInvertsOutlineIsSolidSelectionIsDottedXorAndBadOriginsAreReported)
{
    Editor e;
    e.New<TRectRegion>();
    e.Press({20, 30});
    e.Move({80, 70});
    e.Move({60, 50});
    EXPECT_EQ(e.PixelAt({20, 30}), InvertedImageColour);
    EXPECT_EQ(e.PixelAt({61, 51}), InvertedImageColour);
    EXPECT_EQ(e.PixelAt({81, 71}), ImageColour) << "the previous band is gone";
    e.Release({60, 50});
    EXPECT_EQ(e.PixelAt({40, 30}), LineColour);
    EXPECT_EQ(e.PixelAt({40, 40}), ImageColour);
    e.Click({40, 40});
    // Dots mix the pen colour in; gaps mix in white, so even a black outline shows when selected.
    const QColor xored(ImageColour.rgb() ^ LineColour.rgb());
    int dots = 0, gaps = 0;
    for (int x = 25; x < 55; ++x) {
        const QColor pixel = e.PixelAt({x, 30});
        dots += pixel == xored;
        gaps += pixel == InvertedImageColour;
    }
    EXPECT_GT(dots, 8);
    EXPECT_GT(gaps, 8);
    EXPECT_EQ(dots + gaps, 30);

    // Pointer motion asks for the origin; a bad answer is reported.
    TRectRegion *r = e.DrawRect({50, 50}, {150, 120});
    e.words.clear();
    e.Move({100, 80});
    EXPECT_EQ(e.words.mid(e.words.size() - 2), (QStringList{QString(), QStringLiteral("MOVE")}));
    EXPECT_TRUE(AppCursor::IsDefault()) << "an unselected region keeps the cursor";
    e.Click({100, 80});
    e.badAnswer = QStringLiteral("12a");
    e.Glide({100, 80}, {120, 90});
    EXPECT_EQ(BoxOf(r), QRect(50, 50, 102, 72));
    EXPECT_EQ(e.prompter.messages.value(0).text, QStringLiteral("'12a' is not a valid integer value"));
}

TEST(RectRegionResize, EachGripKeepsTheOppositeEdgeWithinLimits)
{
    // One grip per cursor shape; the zones and steps themselves are the geometry tables' business.
    const struct { QPoint grip, to; Qt::CursorShape cursor; QRect expected; } rows[] = {
        {{100, 52}, {105, 40}, Qt::SizeVerCursor, {50, 40, 100, 90}},
        {{145, 52}, {160, 45}, Qt::SizeBDiagCursor, {50, 45, 110, 85}},
        // Never under 10 pixels, never past the image's edges.
        {{145, 90}, {30, 90}, Qt::SizeHorCursor, {50, 50, 10, 80}},
        {{145, 125}, {350, 260}, Qt::SizeFDiagCursor, {50, 50, 250, 150}},
    };
    for (const auto &row : rows) {
        Editor e;
        TRectRegion *r = SelectedRect(e);
        e.Move(row.grip);
        EXPECT_EQ(testcursor::Shape(), row.cursor) << row.grip.x() << "," << row.grip.y();
        e.Glide(row.grip, row.to);
        EXPECT_EQ(BoxOf(r), row.expected) << row.grip.x() << "," << row.grip.y();
    }
}

TEST(RectRegionResize, BodyTurnsAResizeIntoAMoveAndGripsNeedAHover)
{
    Editor e;
    TRectRegion *r = SelectedRect(e);
    e.Move({145, 90});
    e.Press({145, 90});
    e.Move({147, 90});
    EXPECT_EQ(BoxOf(r), QRect(50, 50, 97, 80));
    e.Move({110, 90});
    const QRect before = BoxOf(r);
    e.Move({100, 95});
    e.Release({100, 95});
    EXPECT_EQ(BoxOf(r), before.translated(-10, 5));
    // Pressed on a grip of an unselected rectangle: no zone yet, so only the body drags it.
    TRectRegion *s = e.DrawRect({200, 50}, {248, 98}); // 50 x 50
    e.Press({247, 70});
    e.Move({248, 75});
    EXPECT_EQ(BoxOf(s), QRect(200, 50, 50, 50));
    e.Move({220, 75});
    e.Release({220, 75});
    EXPECT_EQ(BoxOf(s), QRect(173, 55, 50, 50));
}

TEST(RectRegionMove, ImageEdgeStopsOneAxisAndNegativeTopStopsTheBody)
{
    Editor e;
    TRectRegion *r = SelectedRect(e);
    e.Move({100, 90});
    // Diagonal steps: once the left edge reaches the image's, the x steps stop and the y steps go on.
    e.Glide({100, 90}, {40, 150});
    EXPECT_EQ(BoxOf(r), QRect(0, 110, 100, 80));

    Editor tall({300, 600});
    TRectRegion *t = tall.DrawRect({50, 20}, {148, 98}); // 100 x 80 at 50, 20
    tall.box->verticalScrollBar()->setValue(30);
    tall.Click({100, 40});
    tall.Move({100, 40});
    tall.Glide({100, 40}, {101, 41}); // one step: once scrolled into view the top is no longer negative
    EXPECT_EQ(BoxOf(t).translated(-tall.image->pos()), QRect(50, 20, 100, 80)) << "not moved";
    EXPECT_EQ(t->Top(), 0) << "but scrolled into view";
    tall.box->verticalScrollBar()->setValue(30);
    tall.Move({145, 40});
    tall.Glide({145, 40}, {160, 40});
    EXPECT_EQ(t->Width(), 110) << "a resize works with a negative top";
}
