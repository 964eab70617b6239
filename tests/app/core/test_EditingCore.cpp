// The editor's widget-free rules: map order and file lines of the model, the history's steps and
// joins, and coordinates typed back in.
#include "app/core/CoordsText.h"
#include "app/core/History.h"
#include "app/core/MapModel.h"

#include <gtest/gtest.h>

namespace {

TMapRegion Record(int left, std::string url = "u")
{
    TMapRegion record;
    record.Shape.Left = left;
    record.Shape.Width = record.Shape.Height = 5;
    record.URL = std::move(url);
    return record;
}

TMapRegion Poly(int points)
{
    TMapRegion record = Record(0);
    record.Shape.PointCount = points;
    record.Shape.Points.assign(std::size_t(points) + 1, {1, 1});
    return record;
}

TEST(MapModel, MapOrderAndTheLinesARecordTakesInTheFile)
{
    TMapModel model;
    model.Insert({THotspotKind::Poly, 0}, Poly(3));
    model.Insert({THotspotKind::Rect, 0}, Record(1));
    model.Insert({THotspotKind::Circle, 0}, Record(2));
    model.Insert({THotspotKind::Rect, 0}, Record(0)); // before the first rectangle
    EXPECT_EQ(model.Count(), 4);
    EXPECT_EQ(model.RefAt(1), (THotspotRef{THotspotKind::Rect, 1}));
    EXPECT_EQ(model.RefAt(3), (THotspotRef{THotspotKind::Poly, 0}));
    EXPECT_FALSE(model.RefAt(4).Valid());
    EXPECT_EQ(model.PositionOf({THotspotKind::Circle, 0}), 2);

    // Lines as the map file lays them out: 3 header lines, a count before each list, rectangles of
    // 6 lines, circles of 9, polygons of 7 + 2 x (points + 1).
    const TMapFile file = model.ToMapFile();
    EXPECT_EQ(file.Rects[0].Line, 5);
    EXPECT_EQ(file.Rects[1].Line, 11);
    EXPECT_EQ(file.Circles[0].Line, 18);
    EXPECT_EQ(file.Polys[0].Line, 28);
    for (const auto &[line, ref] : {std::pair{11, THotspotRef{THotspotKind::Rect, 1}},
                                    std::pair{28, THotspotRef{THotspotKind::Poly, 0}}, std::pair{12, THotspotRef{}}})
        EXPECT_EQ(model.RefAtLine(line), ref) << line;

    EXPECT_EQ(model.Remove({THotspotKind::Rect, 0}).Shape.Left, 0);
    EXPECT_EQ(model.At({THotspotKind::Rect, 0}).Shape.Left, 1);
}

TEST(History, UndoRedoJoinsAndTheLimit)
{
    TMapModel model;
    model.Insert({THotspotKind::Rect, 0}, Record(0, "a"));
    THistory history(3);
    const auto edit = [&](const std::string &url, const std::string &key) {
        TChange change{TChange::TKind::Replace, {THotspotKind::Rect, 0}, model.At({THotspotKind::Rect, 0}), {}, {}, {}, {}, {}};
        change.After = change.Before;
        change.After.URL = url;
        Apply(model, change);
        history.Push({"Edit URL", {change}, {}, {}, key});
    };
    edit("ab", "url");
    edit("abc", "url"); // typing on: one step
    ASSERT_EQ(history.Size(), 1u);
    history.Seal();
    edit("abcd", "url"); // a new selection in between: a step of its own
    ASSERT_EQ(history.Size(), 2u);

    const auto undo = [&] {
        const TStep &step = history.Undo();
        for (auto it = step.Changes.rbegin(); it != step.Changes.rend(); ++it)
            Apply(model, Reversed(*it));
    };
    undo();
    EXPECT_EQ(model.At({THotspotKind::Rect, 0}).URL, "abc");
    undo();
    EXPECT_EQ(model.At({THotspotKind::Rect, 0}).URL, "a");
    EXPECT_FALSE(history.CanUndo());
    for (const TChange &change : history.Redo().Changes)
        Apply(model, change);
    EXPECT_EQ(model.At({THotspotKind::Rect, 0}).URL, "abc");
    edit("x", "url"); // not joined after an undo, and what could be redone is gone
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Size(), 2u);

    // Insert and remove undo each other; past the limit the oldest step goes.
    TChange insert{TChange::TKind::Insert, {THotspotKind::Circle, 0}, {}, Record(7), {}, {}, {}, {}};
    Apply(model, insert);
    Apply(model, Reversed(insert));
    EXPECT_TRUE(model.List(THotspotKind::Circle).empty());
    for (int i = 0; i < 5; ++i)
        history.Push({"Move", {}, {}, {}, {}});
    EXPECT_EQ(history.Size(), 3u);
}

TEST(CoordsText, TypedCoordinatesComeBackAsShapesOrAreRefused)
{
    // Written as the fragment writes them, read back to the same shape.
    const THotspotShape poly{10, 200, 41, 61, 0, {}, 3, {{0, 0}, {60, 0}, {30, 40}, {0, 0}}};
    const std::string text = CoordsText(THotspotKind::Poly, poly);
    EXPECT_EQ(text, "200, 10, 260, 10, 230, 50");
    EXPECT_EQ(ReadCoords(THotspotKind::Poly, text, 300, 100).Shape, poly);

    const struct {
        THotspotKind kind;
        const char *text;
        bool read;
    } cases[] = {
        {THotspotKind::Rect, "10, 20, 109, 69", true},
        {THotspotKind::Rect, "10 20 109 69", true},
        {THotspotKind::Rect, "10, 20, 300, 69", false},   // right edge past the 300 pixels
        {THotspotKind::Rect, "10, 20, 9, 69", false},     // right before left
        {THotspotKind::Rect, "-1, 20, 9, 69", false},     // negative
        {THotspotKind::Rect, "10, 20, 109", false},       // too few
        {THotspotKind::Rect, "10, 20, x, 69", false},     // not a number
        {THotspotKind::Rect, "10, 20, 99999999999999999999, 69", false}, // huge
        {THotspotKind::Circle, "150, 60, 25", true},
        {THotspotKind::Circle, "275, 60, 25", true},      // the outline may touch the right edge
        {THotspotKind::Circle, "276, 60, 25", false},
        {THotspotKind::Poly, "1, 1, 2, 2", false},        // two points
        {THotspotKind::Poly, "1, 1, 2, 2, 3", false},     // half a point
        {THotspotKind::Poly, "1, 1, 2, 2, 3, 99", true},
        {THotspotKind::Poly, "1, 1, 2, 2, 3, 100", false},
    };
    for (const auto &c : cases) {
        const TCoordsRead read = ReadCoords(c.kind, c.text, 300, 100);
        EXPECT_EQ(read.Shape.has_value(), c.read) << c.text;
        EXPECT_EQ(read.Error.empty(), c.read) << c.text;
    }
    std::string many;
    for (int i = 0; i < 99; ++i)
        many += std::to_string(i) + ", 5, ";
    EXPECT_FALSE(ReadCoords(THotspotKind::Poly, many, 300, 100).Shape) << "99 points";
    EXPECT_EQ(ReadCoords(THotspotKind::Rect, "10, 20, 109, 69", 300, 100).Shape,
              (THotspotShape{20, 10, 50, 100, 0, {}, 0, {}}));
}

} // namespace
