// A selected region's dotted XOR outline, drawn once into an image and laid over the screen.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>

#include <functional>
#include <vector>

class QPainter;

class TOutlineCache {
public:
    // The largest outline kept, in pixels (1 MB): a bigger region draws straight onto the screen,
    // as drawing and scanning its image again at each step of a resize would cost more.
    static constexpr qint64 MaxPixels = qint64(1) << 18;

    // Lays what draw paints, XORed onto canvas, over the exposed part of a size-sized area. draw
    // sets its own pens; it is run again into the image only when what it paints has changed.
    void Lay(QPainter &canvas, const QRect &exposed, const QSize &size, const std::function<void(QPainter &)> &draw);

private:
    // Splits the image into a few rectangles that hold every pixel that changes the screen.
    void FindPieces();

    QImage image_;
    QByteArray recipe_;
    std::vector<QRect> pieces_;
};
