#include "regions/OutlineCache.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <functional>

namespace {

// A dotted XOR outline as a selected region draws it: dots in a colour, gaps in white.
std::function<void(QPainter &)> Dotted(QColor colour, const std::function<void(QPainter &)> &shape)
{
    return [=](QPainter &painter) {
        for (const auto &[pen, offset] : {std::pair{colour, 0}, std::pair{QColor(Qt::white), 1}}) {
            QPen dots(pen, 1);
            dots.setCosmetic(true);
            dots.setDashPattern({1, 1});
            dots.setDashOffset(offset);
            painter.setPen(dots);
            shape(painter);
        }
    };
}

QImage Background(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 7, y * 3, (x ^ y) & 0xFF));
    return image;
}

QImage Laid(TOutlineCache &cache, QSize size, const std::function<void(QPainter &)> &draw, QRect exposed)
{
    QImage image = Background(size);
    QPainter painter(&image);
    cache.Lay(painter, exposed, size, draw);
    return image;
}

} // namespace

TEST(OutlineCache, LaysTheSamePixelsAsDrawingStraightAndRedrawsWhenTheShapeChanges)
{
    const QSize size(190, 230); // taller than one piece
    const std::function<void(QPainter &)> shapes[] = {
        [](QPainter &p) { p.drawPolygon(QPolygon({{0, 0}, {0, 229}, {189, 229}, {189, 0}})); },
        [](QPainter &p) { p.drawEllipse(QRect(0, 0, 189, 229)); },
        [](QPainter &p) { p.drawPolyline(QPolygon({{5, 5}, {180, 40}, {20, 220}, {5, 5}})); },
        [](QPainter &p) { p.drawPolyline(QPolygon({{5, 5}, {181, 40}, {20, 220}, {5, 5}})); }, // one corner moved
    };
    TOutlineCache cache; // one for all shapes, as regions share it
    for (const QColor colour : {QColor(Qt::black), QColor(Qt::red)})
        for (const auto &shape : shapes) {
            QImage straight = Background(size);
            QPainter painter(&straight);
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            Dotted(colour, shape)(painter);
            painter.end();
            EXPECT_EQ(Laid(cache, size, Dotted(colour, shape), QRect(QPoint(), size)), straight);
            // A partial repaint changes its part only.
            const QRect part(30, 100, 100, 60);
            const QImage partly = Laid(cache, size, Dotted(colour, shape), part);
            EXPECT_EQ(partly.copy(part), straight.copy(part));
            EXPECT_EQ(partly.copy(0, 0, 190, 100), Background(size).copy(0, 0, 190, 100));
        }
}
