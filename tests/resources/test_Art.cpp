// The numbered cursors keep their hot spots on a drawn tip; every glyph is compiled in at its size.
#include "resources/Art.h"

#include <QBitmap>
#include <QImage>
#include <gtest/gtest.h>

namespace {

bool IsSet(const QImage &bitmap, const QPoint &p) { return bitmap.pixel(p) == qRgb(0, 0, 0); }

TEST(Art, NumberedCursorsHaveTheirSizeAndExactHotSpot)
{
    const std::pair<const char *, QPoint> expected[Art::kCursorCount] = {
        {"MOVEREGION", {16, 16}}, {"DRAWRECT", {3, 28}},     {"DRAWCIRCLE", {3, 28}}, {"DRAWPOLY", {3, 28}},
        {"RESIZERECT", {3, 28}},  {"RESIZECIRCLE", {3, 28}}, {"RESIZEPOLY", {3, 28}},
    };
    for (int number = 1; number <= Art::kCursorCount; ++number) {
        const auto &[name, hotSpot] = expected[number - 1];
        SCOPED_TRACE(name);
        const QCursor cursor = Art::Cursor(number);
        EXPECT_EQ(cursor.hotSpot(), hotSpot);
        const QImage bitmap = cursor.bitmap().toImage();
        const QImage mask = cursor.mask().toImage();
        ASSERT_EQ(bitmap.size(), QSize(32, 32));
        ASSERT_EQ(mask.size(), QSize(32, 32));
        // The hot spot is a black, opaque pixel: the tip the user aims with.
        EXPECT_TRUE(IsSet(bitmap, hotSpot));
        EXPECT_TRUE(IsSet(mask, hotSpot));
        // Black outside the mask would invert the screen on some platforms.
        int opaque = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                ASSERT_FALSE(IsSet(bitmap, {x, y}) && !IsSet(mask, {x, y})) << x << "," << y;
                opaque += IsSet(mask, {x, y}) ? 1 : 0;
            }
        EXPECT_GT(opaque, 60);
    }
    for (const int number : {0, 8, -1})
        EXPECT_EQ(Art::Cursor(number).shape(), Qt::ArrowCursor);
}

TEST(Art, GlyphsAreCompiledInAtTheirSizes)
{
    for (const char *name : {"new", "load", "save", "rect", "circle", "poly", "delete", "compile", "exit"})
        EXPECT_EQ(Art::Glyph(name).size(), QSize(24, 24)) << name;
    EXPECT_EQ(Art::Glyph("open").size(), QSize(21, 17));
    EXPECT_FALSE(Art::AppIcon().isNull());
    EXPECT_TRUE(Art::Glyph("new").hasAlphaChannel()); // transparent around the drawing
    // The e-mail clip plays 24 frames, each unlike the next; names are matched as given.
    const Art::Clip clip = Art::Animation(QStringLiteral("EMAILAVI"));
    ASSERT_EQ(clip.frameCount, 24);
    const QImage strip = clip.strip.toImage();
    for (int i = 0; i < clip.frameCount; ++i)
        EXPECT_NE(strip.copy(clip.FrameRect(i)), strip.copy(clip.FrameRect((i + 1) % clip.frameCount))) << i;
    EXPECT_EQ(Art::Animation(QStringLiteral("emailavi")).frameCount, 0);
}

} // namespace
