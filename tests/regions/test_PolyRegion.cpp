// Polygon hotspots driven by real mouse events: vertices, closing, the limit, vertex drags, misses.
#include "RegionHarness.h"

#include "regions/PolyRegionClass.h"

namespace {

using namespace regiontest;

TPolyRegion *DrawPoly(Editor &e, std::initializer_list<QPoint> vertices, QPoint close = {150, 150})
{
    auto *p = e.New<TPolyRegion>();
    for (QPoint v : vertices)
        e.Click(v);
    e.Press(close, Qt::RightButton);
    e.Release(close, Qt::RightButton);
    return p;
}

} // namespace

TEST(PolyRegionDrawing, ClicksPlaceVerticesARightClickClosesAndTheNinetyNinthIsRefused)
{
    Editor e;
    TPolyRegion *t = DrawPoly(e, {{50, 50}, {100, 50}, {50, 100}});
    EXPECT_EQ(t->PointCount, 3);
    EXPECT_EQ(t->Points[3], t->Points[0]) << "the closing copy";
    EXPECT_EQ(BoxOf(t), QRect(50, 50, 51, 51));
    EXPECT_EQ(t->GetCoords(), QStringLiteral("50, 50, 100, 50, 50, 100"));

    // Right clicks after 0 and 2 vertices: the empty one sits at the image's corner.
    EXPECT_EQ(DrawPoly(e, {})->GetCoords(), QStringLiteral("0, 0"));
    TPolyRegion *two = DrawPoly(e, {{200, 120}, {240, 160}});
    EXPECT_EQ(two->GetCoords(), QStringLiteral("200, 120, 240, 160"));
    EXPECT_NE(e.Miss({220, 140}), QStringLiteral("(no MISS)"));
    EXPECT_FALSE(two->Selected) << "a two-point polygon can never be selected";

    // The ninety-ninth vertex is refused with a warning.
    TPolyRegion *p = e.New<TPolyRegion>();
    for (int i = 0; i < 99; ++i)
        e.Click({10 + (i % 10) * 20, 10 + (i / 10) * 18});
    EXPECT_EQ(p->PointCount, 98);
    ASSERT_EQ(e.prompter.messages.size(), 1);
    EXPECT_EQ(e.prompter.messages[0].kind, IPrompter::Kind::Warning);
    EXPECT_EQ(e.prompter.messages[0].text, QStringLiteral("Maximum number of points reached"));
    EXPECT_TRUE(p->PointerConfined()) << "drawing goes on";
    QTest::mouseClick(e.box->Client(), Qt::RightButton, {}, {150, 150});
    EXPECT_TRUE(p->Drawn);
    EXPECT_EQ(p->GetCoords().count(QLatin1Char(',')), 2 * 98 - 1);

    // A double click adds two vertices; a middle click and a right click once drawn do nothing.
    TPolyRegion *d = e.New<TPolyRegion>();
    QTest::mouseDClick(e.box->Client(), Qt::LeftButton, {}, {20, 150});
    e.Click({20, 150}); // middle clicks are ignored below
    QTest::mouseClick(e.box->Client(), Qt::MiddleButton, {}, {60, 190});
    EXPECT_EQ(d->PointCount, 3);
    e.Press({60, 190}, Qt::RightButton);
    e.Release({60, 190}, Qt::RightButton);
    const int dialogs = e.dialogs;
    e.Press({60, 190}, Qt::RightButton);
    EXPECT_EQ(e.dialogs, dialogs);
}

TEST(PolyRegionVertices, HoverReachesThreePixelsAndADragMovesOnlyThatVertex)
{
    Editor e;
    TPolyRegion *t = DrawPoly(e, {{50, 50}, {100, 50}, {50, 100}});
    e.Click({60, 60});
    ASSERT_TRUE(t->Selected);
    e.Move({53, 97}); // 3 pixels off vertex 2 on both axes
    EXPECT_TRUE(t->OnVertex);
    EXPECT_EQ(t->VertexIndex, 2);
    EXPECT_EQ(t->cursor().shape(), Qt::BitmapCursor) << "the region's own cursor";

    e.Press({53, 97});
    EXPECT_EQ(BoxOf(t), QRect(0, 0, 300, 200)) << "spans the image from the press";
    e.Move({40, 130});
    e.Move({40, 400}); // past the bottom edge: y stays at its last accepted place
    e.Release({40, 400});
    EXPECT_FALSE(t->OnVertex);
    EXPECT_EQ(BoxOf(t), QRect(40, 50, 61, 81)) << "refitted, larger";
    EXPECT_EQ(t->GetCoords(), QStringLiteral("50, 50, 100, 50, 40, 130"));

    EXPECT_EQ(e.Miss({95, 95}), QString()) << "in the box, outside the shape: the clearing step";
}
