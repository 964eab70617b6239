#include "regions/PolyRegionClass.h"

#include "dialogs/Prompter.h"
#include "output/core/Coords.h"
#include "regions/CursorTable.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace {
std::size_t Slot(int index) { return static_cast<std::size_t>(std::clamp(index, 0, polygeom::Slots - 1)); }
} // namespace

TPolyRegion::TPolyRegion(QWidget *owner) : TBaseRegion(owner)
{
    setObjectName(QStringLiteral("PolyRegion"));
}

void TPolyRegion::MouseDown(TMouseButton Button, TShiftState, int X, int Y)
{
    if (Button == TMouseButton::mbLeft && !Drawn) {
        PlaceVertex(X, Y);
    } else if (Button == TMouseButton::mbLeft && !OnVertex) {
        if (HitTest(X, Y))
            SelectAndGrab(X, Y, TGrabCursor::Move);
        else
            ReportMiss(X, Y, QString());
    } else if (Button == TMouseButton::mbLeft) {
        // Grab the vertex found by the last hover test; the drag spans the image from here.
        Points[Slot(VertexIndex)] = {X, Y};
        SelectAndGrab(X, Y, TGrabCursor::Keep);
        SpanImage();
    } else if (Button == TMouseButton::mbRight && !Drawn) {
        Close();
    }
}

void TPolyRegion::PlaceVertex(int X, int Y)
{
    if (!OnControl(X, Y))
        return;
    ConfinePointer();
    if (PointCount == 0) {
        AppCursor::Set(AppCursor::crDrawPoly);
        // The region still spans the image here.
        ImageWidth = Width();
        ImageHeight = Height();
    } else if (PointCount >= polygeom::MaxPoints) {
        Prompter().Message(window(), IPrompter::Kind::Warning, QStringLiteral("Warning"),
                           QStringLiteral("Maximum number of points reached"), QMessageBox::Ok);
        return;
    }
    Points[Slot(PointCount)] = {X, Y};
    ++PointCount;
    band_.reset();
    repaint();
}

void TPolyRegion::Close()
{
    ReleasePointer();
    Points[Slot(PointCount)] = Points[0];
    band_.reset();
    Complete(QStringLiteral("CANCELPOLY"));
}

void TPolyRegion::MouseMove(TShiftState Shift, int X, int Y)
{
    const QPoint imageOrigin = RequestImageOrigin();
    const bool left = Shift & ssLeft;
    if (left && Dragging && !OnVertex) {
        DragMove(X, Y, imageOrigin);
    } else if (left && Dragging) {
        polygeom::DragVertex(Points, PointCount, VertexIndex, X, Y, ImageWidth, ImageHeight);
        repaint();
    } else if (Drawn && Shift == 0 && Selected && PointCount >= 1) {
        HoverTest(X, Y);
    }
    if (!Drawn && PointCount > 0) {
        band_ = QPoint(X, Y);
        RubberBand();
    }
}

void TPolyRegion::HoverTest(int X, int Y)
{
    // The region's own cursor: the application-wide one is the move cursor while selected.
    const std::optional<int> vertex = polygeom::VertexAt(Points, PointCount, X, Y);
    OnVertex = vertex.has_value();
    if (vertex)
        VertexIndex = *vertex;
    setCursor(AppCursor::Numbered(vertex ? AppCursor::crResizePoly : AppCursor::crMoveRegion));
}

void TPolyRegion::MouseUp(TMouseButton Button, TShiftState, int, int)
{
    if (Button != TMouseButton::mbLeft || !Dragging)
        return;
    if (OnVertex) {
        FitToShape();
        OnVertex = false;
        Dragging = false;
        return;
    }
    AppCursor::Set(AppCursor::crDefault);
    Dragging = false;
    repaint();
}

bool TPolyRegion::HitTest(int X, int Y) const { return polygeom::HitTest(Points, PointCount, X, Y); }

QString TPolyRegion::GetCoords() const
{
    const std::vector<CoordPoint> points(Points.begin(), Points.begin() + Slot(std::max(PointCount, 1) - 1) + 1);
    return QString::fromStdString(PolyCoords(Left(), Top(), points, PointCount));
}

THotspotShape TPolyRegion::Shape(QPoint origin) const
{
    THotspotShape shape = TBaseRegion::Shape(origin);
    shape.PointCount = PointCount;
    shape.Points.assign(Points.begin(), Points.begin() + Slot(PointCount) + 1);
    return shape;
}

void TPolyRegion::SetShape(const THotspotShape &shape, QPoint origin)
{
    // The reader holds PointCount within the slots; anything past them is not a point of this one.
    PointCount = std::clamp(shape.PointCount, 0, polygeom::Slots - 1);
    Points = {};
    std::copy_n(shape.Points.begin(), std::min(shape.Points.size(), Points.size()), Points.begin());
    TBaseRegion::SetShape(shape, origin);
}

void TPolyRegion::FitToShape()
{
    const QPoint origin = RequestImageOrigin();
    SetBox(polygeom::Fit(Points, PointCount, Width(), Height(), ImageAreaAt(origin)));
    repaint();
}

void TPolyRegion::SpanImage()
{
    const QPoint origin = RequestImageOrigin();
    const regiongeom::ImageArea image = ImageAreaAt(origin);
    polygeom::Span(Points, PointCount, Box(), image);
    SetBox({image.left, image.top, image.width, image.height});
    repaint();
}

bool TPolyRegion::OutlineInBox() const
{
    for (int i = 0; i <= PointCount; ++i) {
        const auto &p = Points[Slot(i)];
        if (p.x < 0 || p.y < 0 || p.x >= Width() || p.y >= Height())
            return false;
    }
    return true;
}

void TPolyRegion::Paint(QPainter &canvas)
{
    // Drawn: through the closing copy, so the outline is closed; while drawing: the placed
    // vertices, and the band from the last one to the pointer.
    const int last = Drawn ? PointCount : PointCount - 1;
    if (last < 0)
        return;
    QPolygon line;
    line.reserve(last + 2);
    for (int i = 0; i <= last; ++i)
        line << ViewPoint(Points[Slot(i)].x, Points[Slot(i)].y);
    if (!Drawn && band_)
        line << ViewPoint(band_->x(), band_->y());
    if (line.size() == 1)
        canvas.drawPoint(line.first());
    else
        canvas.drawPolyline(line);
}
