#include "regions/OutlineCache.h"

#include <QPainter>
#include <gtest/gtest.h>

TEST(OutlineCache, LaysTheSamePixelsAsDrawingStraightAndRedrawsWhenTheShapeChanges)
{
    const QSize size(190, 230); // taller than one piece
    QImage background(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            background.setPixel(x, y, qRgb(x * 7, y * 3, (x ^ y) & 0xFF));
    const std::function<void(QPainter &)> shapes[] = {
        [](QPainter &p) { p.drawPolygon(QPolygon({{0, 0}, {0, 229}, {189, 229}, {189, 0}})); },
        [](QPainter &p) { p.drawEllipse(QRect(0, 0, 189, 229)); },
        [](QPainter &p) { p.drawPolyline(QPolygon({{5, 5}, {180, 40}, {20, 220}, {5, 5}})); },
        [](QPainter &p) { p.drawPolyline(QPolygon({{5, 5}, {181, 40}, {20, 220}, {5, 5}})); }, // one corner moved
        // Arms that a crossing line joins: pieces that grow into each other must not overlap.
        [](QPainter &p) { p.drawPolygon(QPolygon({{20, 10}, {20, 150}, {32, 150}, {32, 10}})); },
    };
    TOutlineCache cache; // one for all, as the regions share it
    for (const QColor colour : {QColor(Qt::black), QColor(Qt::red)})
        for (const auto &shape : shapes) {
            // Dots in the colour, gaps in white, as a selected region draws them.
            const auto dotted = [&](QPainter &painter) {
                for (const auto &[pen, offset] : {std::pair{colour, 0}, std::pair{QColor(Qt::white), 1}}) {
                    QPen dots(pen, 1);
                    dots.setCosmetic(true);
                    dots.setDashPattern({1, 1});
                    dots.setDashOffset(offset);
                    painter.setPen(dots);
                    shape(painter);
                }
            };
            const auto painted = [&](const std::function<void(QPainter &)> &paint) {
                QImage image = background;
                QPainter painter(&image);
                painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
                paint(painter);
                return image;
            };
            const QImage straight = painted(dotted);
            EXPECT_EQ(painted([&](QPainter &p) { cache.Lay(p, QRect(QPoint(), size), size, dotted); }), straight);
            // A partial repaint changes its part only.
            const QRect part(30, 100, 100, 60);
            const QImage partly = painted([&](QPainter &p) { cache.Lay(p, part, size, dotted); });
            EXPECT_EQ(partly.copy(part), straight.copy(part));
            EXPECT_EQ(partly.copy(0, 0, 190, 100), background.copy(0, 0, 190, 100));
        }
}
