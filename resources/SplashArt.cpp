#include "resources/ArtDrawing.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <utility>

namespace artdrawing {

namespace {

constexpr int kStripTop = 238; // the HTML strip along the bottom
constexpr qreal kTextLeft = 286;
constexpr qreal kTextWidth = 171;

QColor Alpha(QRgb rgb, int alpha)
{
    QColor colour = QColor::fromRgb(rgb);
    colour.setAlpha(alpha);
    return colour;
}

void Background(QPainter &p)
{
    QLinearGradient sky(0, 0, kSplashSize.width(), kStripTop);
    sky.setColorAt(0, QColor(0xFB, 0xFD, 0xFF));
    sky.setColorAt(1, QColor(0xD9, 0xE7, 0xF4));
    p.fillRect(QRect(0, 0, kSplashSize.width(), kStripTop), sky);
    QRadialGradient warmth(QPointF(410, 70), 190);
    warmth.setColorAt(0, QColor(0xFF, 0xE4, 0xC4, 150));
    warmth.setColorAt(1, QColor(0xFF, 0xE4, 0xC4, 0));
    p.fillRect(QRect(0, 0, kSplashSize.width(), kStripTop), warmth);
    // Graph paper: the editor places hotspots by the pixel.
    p.setPen(QPen(QColor(31, 90, 150, 20), 1));
    for (int x = 8; x < kSplashSize.width(); x += 16)
        p.drawLine(QPointF(x + 0.5, 0), QPointF(x + 0.5, kStripTop));
    for (int y = 8; y < kStripTop; y += 16)
        p.drawLine(QPointF(0, y + 0.5), QPointF(kSplashSize.width(), y + 0.5));
}

void Landscape(QPainter &p, const QRectF &frame)
{
    QLinearGradient sky(frame.topLeft(), QPointF(frame.left(), frame.top() + 95));
    sky.setColorAt(0, QColor(0x6F, 0xB7, 0xE9));
    sky.setColorAt(1, QColor(0xD7, 0xF0, 0xFF));
    p.fillRect(frame, sky);

    QRadialGradient sun(QPointF(160, 36), 17);
    sun.setColorAt(0, QColor(0xFF, 0xF5, 0xB8));
    sun.setColorAt(1, QColor(0xFF, 0xBE, 0x3B));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(160, 36), 17, 17);

    QLinearGradient rock(0, 30, 0, 154);
    rock.setColorAt(0, QColor(0x86, 0x9F, 0xBA));
    rock.setColorAt(1, QColor(0x55, 0x6E, 0x8A));
    p.setBrush(rock);
    p.drawPolygon(QPolygonF({{0, 100}, {36, 56}, {56, 74}, {88, 34}, {128, 92}, {152, 70}, {208, 106}, {208, 154}, {0, 154}}));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{88, 34}, {78, 48}, {84, 46}, {89, 51}, {94, 45}, {99, 50}}));

    QPainterPath hills(QPointF(0, 118));
    hills.quadTo(60, 92, 120, 116);
    hills.quadTo(170, 134, 208, 110);
    hills.lineTo(208, 154);
    hills.lineTo(0, 154);
    QLinearGradient grass(0, 100, 0, 154);
    grass.setColorAt(0, QColor(0x86, 0xCC, 0x62));
    grass.setColorAt(1, QColor(0x4A, 0x9A, 0x44));
    p.fillPath(hills, grass);
    QPainterPath meadow(QPointF(0, 140));
    meadow.quadTo(100, 124, 208, 144);
    meadow.lineTo(208, 154);
    meadow.lineTo(0, 154);
    p.fillPath(meadow, QColor(0x3D, 0x86, 0x3C));

    // A house and a tree for the rectangle to frame and the scene to feel lived in.
    p.setPen(QPen(QColor(0x8A, 0x5A, 0x3A), 1));
    p.setBrush(QColor(0xF4, 0xE3, 0xC3));
    p.drawRect(QRectF(28, 106, 32, 24));
    p.setBrush(QColor(0xC8, 0x55, 0x3D));
    p.drawPolygon(QPolygonF({{23, 107}, {44, 89}, {65, 107}}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7A, 0x4B, 0x2E));
    p.drawRect(QRectF(40, 116, 8, 14));
    p.setBrush(QColor(0x8F, 0xD3, 0xFF));
    p.drawRect(QRectF(31, 111, 6, 6));
    p.setBrush(QColor(0x6B, 0x45, 0x2A));
    p.drawRect(QRectF(176, 120, 4, 14));
    p.setBrush(QColor(0x2F, 0x7D, 0x3A));
    p.drawEllipse(QPointF(178, 114), 10, 12);
}

void Grips(QPainter &p, const QRectF &box, QRgb colour)
{
    p.setPen(QPen(QColor::fromRgb(colour), 1));
    p.setBrush(Qt::white);
    for (const qreal x : {box.left(), box.center().x(), box.right()})
        for (const qreal y : {box.top(), box.center().y(), box.bottom()})
            if (QPointF(x, y) != box.center())
                p.drawRect(QRectF(x - 2.5, y - 2.5, 5, 5));
}

void Hotspots(QPainter &p)
{
    const QRectF house(19, 84, 50, 50);
    p.setPen(QPen(QColor::fromRgb(kRectColour), 2));
    p.setBrush(Alpha(kRectColour, 45));
    p.drawRect(house);
    Grips(p, house, kRectColour);

    p.setPen(QPen(QColor::fromRgb(kCircleColour), 2));
    p.setBrush(Alpha(kCircleColour, 40));
    p.drawEllipse(QPointF(160, 36), 24, 24);

    const QPolygonF peak({{56, 72}, {88, 28}, {131, 94}, {104, 106}, {66, 98}});
    p.setPen(QPen(QColor::fromRgb(kPolyColour), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Alpha(kPolyColour, 45));
    p.drawPolygon(peak);
    p.setBrush(QColor::fromRgb(kPolyColour));
    p.setPen(Qt::NoPen);
    for (const QPointF &vertex : peak)
        p.drawEllipse(vertex, 2.5, 2.5);

    // The pointer that has just placed the last vertex.
    p.save();
    p.translate(132, 95);
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{0, 0}, {0, 14}, {3.5, 10.5}, {6, 16}, {8.5, 15}, {6, 9.5}, {11, 9.5}}));
    p.restore();
}

// The picture of an image being mapped: a snapshot with its hotspots drawn over it.
void Snapshot(QPainter &p)
{
    p.save();
    p.translate(30, 30);
    p.rotate(-3);
    const QRectF card(0, 0, 222, 184);
    p.setPen(Qt::NoPen);
    for (int spread = 4; spread >= 1; --spread) {
        p.setBrush(QColor(20, 40, 70, 14));
        p.drawRoundedRect(card.translated(3, 4).adjusted(-spread, -spread, spread, spread), 3 + spread, 3 + spread);
    }
    p.setPen(QPen(QColor(0xC9, 0xD6, 0xE3), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(card, 2, 2);
    p.translate(7, 7);
    const QRectF frame(0, 0, 208, 154);
    p.setClipRect(frame);
    Landscape(p, frame);
    Hotspots(p);
    p.setClipping(false);
    p.setPen(QColor(0x5A, 0x6B, 0x7D));
    QFont caption = Face("Liberation Sans", 11);
    caption.setItalic(true);
    p.setFont(caption);
    p.drawText(QPointF(2, 170), QStringLiteral("holiday.gif"));
    p.restore();
}

// The largest face up to pixelSize whose text fits the width.
QFont Fitting(const QString &text, QFont font, int pixelSize, qreal width)
{
    for (font.setPixelSize(pixelSize); pixelSize > 8 && QFontMetricsF(font).horizontalAdvance(text) > width;)
        font.setPixelSize(--pixelSize);
    return font;
}

void Title(QPainter &p)
{
    const QString name = QStringLiteral("Mapolin");
    QPainterPath title;
    title.addText(QPointF(kTextLeft, 116), Fitting(name, Face("Liberation Sans", 0, true), 46, kTextWidth), name);
    p.fillPath(title.translated(1.5, 2), QColor(14, 55, 99, 40));
    QLinearGradient ink(0, 80, 0, 118);
    ink.setColorAt(0, QColor(0x1F, 0x72, 0xAE));
    ink.setColorAt(1, QColor(0x0E, 0x37, 0x63));
    p.fillPath(title, ink);

    // The three hotspot colours underline the name.
    QLinearGradient trio(kTextLeft + 2, 0, kTextLeft + kTextWidth - 6, 0);
    trio.setColorAt(0, QColor::fromRgb(kRectColour));
    trio.setColorAt(0.5, QColor::fromRgb(kCircleColour));
    trio.setColorAt(1, QColor::fromRgb(kPolyColour));
    p.setPen(QPen(QBrush(trio), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(kTextLeft + 3, 151), QPointF(kTextLeft + kTextWidth - 6, 151));

    const QString line = QStringLiteral("client-side image maps");
    p.setFont(Fitting(line, Face("Liberation Sans", 0), 16, kTextWidth));
    p.setPen(QColor(0x2C, 0x4A, 0x68));
    p.drawText(QPointF(kTextLeft + 2, 174), line);
    const QString shapes = QStringLiteral("rectangles \u00B7 circles \u00B7 polygons");
    p.setFont(Fitting(shapes, Face("Liberation Sans", 0), 12, kTextWidth));
    p.setPen(QColor(0x5C, 0x76, 0x91));
    p.drawText(QPointF(kTextLeft + 2, 194), shapes);
}

// What the editor makes of the picture, as syntax-coloured HTML along the bottom.
void HtmlStrip(QPainter &p)
{
    const QRect strip(0, kStripTop, kSplashSize.width(), kSplashSize.height() - kStripTop);
    QLinearGradient night(strip.topLeft(), strip.bottomLeft());
    night.setColorAt(0, QColor(0x1B, 0x3F, 0x62));
    night.setColorAt(1, QColor(0x11, 0x2B, 0x46));
    p.fillRect(strip, night);
    const QColor tag(0x8C, 0xC8, 0xFF);
    const QColor attribute(0xFF, 0xC9, 0x76);
    const QColor value(0xB4, 0xE4, 0x8A);
    struct Area {
        const char *shape;
        QRgb colour;
        const char *coords;
        const char *href;
    };
    const Area areas[] = {
        {"rect", kRectColour, "26,79,76,129", "home.html"},
        {"circle", kCircleColour, "165,30,24", "sun.html"},
        {"poly", kPolyColour, "62,68,92,22,137,86,...", "peak.html"},
    };
    const QFont mono = Face("DejaVu Sans Mono", 10);
    p.setFont(mono);
    const QFontMetricsF metrics(mono);
    qreal y = kStripTop + 13;
    for (const Area &area : areas) {
        qreal x = 14;
        const std::pair<QString, QColor> pieces[] = {
            {QStringLiteral("<area "), tag},
            {QStringLiteral("shape="), attribute},
            {QStringLiteral("\"%1\" ").arg(QLatin1String(area.shape)), QColor::fromRgb(area.colour).lighter(150)},
            {QStringLiteral("coords="), attribute},
            {QStringLiteral("\"%1\" ").arg(QLatin1String(area.coords)), value},
            {QStringLiteral("href="), attribute},
            {QStringLiteral("\"%1\"").arg(QLatin1String(area.href)), value},
            {QStringLiteral(">"), tag},
        };
        for (const auto &[text, colour] : pieces) {
            p.setPen(colour);
            p.drawText(QPointF(x, y), text);
            x += metrics.horizontalAdvance(text);
        }
        y += 13;
    }
}

} // namespace

QFont Face(const char *family, int pixelSize, bool bold)
{
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(QString::fromLatin1(family).contains(QLatin1String("Mono")) ? QFont::Monospace
                                                                                  : QFont::SansSerif);
    if (pixelSize > 0)
        font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QImage Splash()
{
    QImage image(kSplashSize, QImage::Format_RGB32); // opaque: copied, not blended, onto the window
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Background(p);
    Snapshot(p);
    Title(p);
    HtmlStrip(p);
    return image;
}

} // namespace artdrawing
