#include "resources/ArtDrawing.h"

#include <QEasingCurve>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace artdrawing {

namespace {

constexpr int kArrive = 9; // frames 0-8 fly in, 9-14 pause with a heart, 15-23 fly out
constexpr int kLeave = 15;
constexpr qreal kRest = 40; // the envelope's centre while it pauses

// Where the envelope is and how it leans in a frame.
struct Flight {
    QPointF centre;
    qreal tilt = 0;
    bool moving = true;
};

Flight FlightAt(int frame)
{
    if (frame < kArrive) {
        const qreal t = QEasingCurve(QEasingCurve::OutQuad).valueForProgress(frame / qreal(kArrive));
        return {{-6 + t * (kRest + 6), 22 - 4 * t}, -8 * (1 - t), true};
    }
    if (frame < kLeave) {
        const qreal bob = std::sin((frame - kArrive) * M_PI / 3);
        return {{kRest, 18 + bob}, 0, false};
    }
    const qreal t = QEasingCurve(QEasingCurve::InQuad).valueForProgress((frame - kLeave + 1) / qreal(kEmailFrameCount - kLeave));
    return {{kRest + t * 84, 18 - 6 * t}, -12 * t, true};
}

void Pill(QPainter &p, const QPainterPath &pill)
{
    QLinearGradient glass(0, 0, 0, kEmailFrameSize.height());
    glass.setColorAt(0, QColor(255, 255, 255, 240));
    glass.setColorAt(1, QColor(0xE2, 0xEE, 0xF9, 240));
    p.fillPath(pill, glass);
    // The path the letter takes, faint, so the motion reads even in a still frame.
    p.setPen(QPen(QColor(0x9D, 0xB9, 0xD6), 1, Qt::DotLine));
    QPainterPath route(QPointF(4, 26));
    route.quadTo(44, 8, 86, 10);
    p.drawPath(route);
}

void Trail(QPainter &p, const Flight &flight)
{
    const QRgb colours[] = {kRectColour, kCircleColour, kPolyColour};
    for (int i = 0; i < 3; ++i) {
        const qreal y = flight.centre.y() - 4 + 4 * i;
        const qreal length = 9 - 2 * std::abs(i - 1);
        p.setPen(QPen(QColor::fromRgb(colours[i]), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(flight.centre.x() - 15 - length, y), QPointF(flight.centre.x() - 15, y));
    }
}

void Wing(QPainter &p, qreal side, qreal lift)
{
    QPainterPath wing(QPointF(side * 1, -7));
    wing.cubicTo(side * 4, -9 - 5 * lift, side * 11, -8 - 7 * lift, side * 13, -6 - 6 * lift);
    wing.cubicTo(side * 9, -6 - 2 * lift, side * 5, -5, side * 3, -6);
    p.setPen(QPen(QColor(0x5B, 0x88, 0xB8), 1));
    p.setBrush(QColor(0xC9, 0xE0, 0xF6));
    p.drawPath(wing);
}

void Envelope(QPainter &p, const Flight &flight, int frame)
{
    p.save();
    p.translate(flight.centre);
    p.rotate(flight.tilt);
    const qreal lifts[] = {1.0, 0.35, -0.35, 0.35};
    const qreal lift = flight.moving ? lifts[frame % 4] : lifts[(frame / 2) % 4] * 0.5;
    Wing(p, -1, lift);
    Wing(p, 1, lift);
    const QRectF body(-11, -7, 22, 15);
    p.setPen(QPen(QColor(0x2B, 0x4C, 0x6F), 1.2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(body, 1.5, 1.5);
    p.setPen(QPen(QColor(0xA9, 0xBD, 0xD1), 1));
    p.drawLine(QPointF(-11, 8), QPointF(-3, 1));
    p.drawLine(QPointF(11, 8), QPointF(3, 1));
    p.setPen(QPen(QColor(0x2B, 0x4C, 0x6F), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({{-11, -7}, {0, 2}, {11, -7}}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(kCircleColour));
    p.drawEllipse(QPointF(0, 2), 2.2, 2.2);
    p.setBrush(QColor::fromRgb(kRectColour));
    p.drawRect(QRectF(6, -5, 3.5, 3.5));
    p.restore();
}

// A heart that rises from the paused letter: it is going to a friend.
void Heart(QPainter &p, int frame)
{
    const int step = frame - kArrive;
    const qreal scale = 0.5 + 0.12 * step;
    p.save();
    p.translate(kRest + 19 + step, 14 - 1.3 * step);
    p.scale(scale, scale);
    QPainterPath heart(QPointF(0, 4));
    heart.cubicTo(-7, -1, -4, -8, 0, -3.5);
    heart.cubicTo(4, -8, 7, -1, 0, 4);
    QColor colour = QColor::fromRgb(kCircleColour);
    colour.setAlpha(255 - 25 * step);
    p.fillPath(heart, colour);
    p.restore();
}

QImage Frame(int frame)
{
    QImage image(kEmailFrameSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath pill;
    pill.addRoundedRect(QRectF(0.5, 0.5, kEmailFrameSize.width() - 1, kEmailFrameSize.height() - 1), 8, 8);
    Pill(p, pill);
    p.setClipPath(pill);
    const Flight flight = FlightAt(frame);
    if (flight.moving)
        Trail(p, flight);
    else
        Heart(p, frame);
    Envelope(p, flight, frame);
    p.setClipping(false);
    p.setPen(QPen(QColor(0x8F, 0xAF, 0xCF), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(pill);
    return image;
}

} // namespace

QImage EmailStrip()
{
    QImage strip(kEmailFrameSize.width() * kEmailFrameCount, kEmailFrameSize.height(),
                 QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    for (int i = 0; i < kEmailFrameCount; ++i)
        p.drawImage(i * kEmailFrameSize.width(), 0, Frame(i));
    return strip;
}

} // namespace artdrawing
