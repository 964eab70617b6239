#include "regions/CircleRegionClass.h"

#include "output/core/Coords.h"
#include "regions/CursorTable.h"

#include <QPainter>

TCircleRegion::TCircleRegion(QWidget *owner) : TBaseRegion(owner)
{
    setObjectName(QStringLiteral("CircleRegion"));
}

void TCircleRegion::MouseDown(TMouseButton Button, TShiftState, int X, int Y)
{
    if (Button != TMouseButton::mbLeft)
        return;
    if (!Drawing && !Drawn) {
        if (!OnControl(X, Y))
            return;
        CenterX = X;
        CenterY = Y;
        Drawing = true;
        // The region still spans the image here.
        ImageWidth = Width();
        ImageHeight = Height();
        AppCursor::Set(AppCursor::crDrawCircle);
        ConfinePointer();
        return;
    }
    if (!Drawn)
        return;
    if (Resizing) {
        // The rim found by the last hover test: the radius drag starts at once, without selecting.
        Dragging = true;
        SpanImage();
    } else if (HitTest(X, Y)) {
        SelectAndGrab(X, Y, TGrabCursor::Move);
    } else {
        ReportMiss(X, Y, QStringLiteral("REPAINT"));
    }
}

void TCircleRegion::MouseMove(TShiftState Shift, int X, int Y)
{
    const QPoint imageOrigin = RequestImageOrigin();
    if (Shift == 0 && !Dragging && !Drawing && Selected) {
        if (circlegeom::OnRim(DistanceTo(X, Y), Radius)) {
            AppCursor::Set(AppCursor::crResizeCircle);
            Resizing = true;
        } else {
            AppCursor::Set(HitTest(X, Y) ? AppCursor::crMoveRegion : AppCursor::crDefault);
            Resizing = false;
        }
    }
    const bool left = Shift & ssLeft;
    if (left && Dragging && Resizing) {
        StepRadius(X, Y);
        repaint();
    } else if (left && Dragging) {
        DragMove(X, Y, imageOrigin);
    }
    if (!Drawn && Drawing) {
        StepRadius(X, Y);
        RubberBand();
    }
}

void TCircleRegion::StepRadius(int X, int Y)
{
    // Refused, not reduced, when the circle would leave the image it spans.
    Radius = circlegeom::StepRadius(Centre(), Radius, X, Y, Width(), Height());
}

void TCircleRegion::MouseUp(TMouseButton Button, TShiftState, int, int)
{
    if (Button != TMouseButton::mbLeft)
        return;
    if (Dragging) {
        AppCursor::Set(AppCursor::crDefault);
        Dragging = false;
        if (Resizing)
            FitToShape();
        else
            repaint();
    }
    if (Drawing) {
        Drawing = false;
        Complete(QStringLiteral("CANCELCIRCLE"));
    }
}

circlegeom::Bounds TCircleRegion::GetBounds() const { return circlegeom::GetBounds(Centre(), Radius); }

bool TCircleRegion::HitTest(int X, int Y) const { return circlegeom::HitTest(Centre(), Radius, X, Y); }

QString TCircleRegion::GetCoords() const
{
    return QString::fromStdString(CircleCoords(Left(), Top(), {CenterX, CenterY}, Radius));
}

THotspotShape TCircleRegion::Shape(QPoint origin) const
{
    THotspotShape shape = TBaseRegion::Shape(origin);
    shape.Radius = Radius;
    shape.Centre = {CenterX, CenterY};
    return shape;
}

void TCircleRegion::SetShape(const THotspotShape &shape, QPoint origin)
{
    Radius = shape.Radius;
    CenterX = shape.Centre.x;
    CenterY = shape.Centre.y;
    TBaseRegion::SetShape(shape, origin);
}

void TCircleRegion::FitToShape()
{
    const QPoint origin = RequestImageOrigin();
    const regiongeom::Box box = circlegeom::FitBox(Centre(), Radius, ImageAreaAt(origin));
    CenterX = Radius;
    CenterY = Radius;
    SetBox(box);
    repaint();
}

void TCircleRegion::SpanImage()
{
    const QPoint origin = RequestImageOrigin();
    const regiongeom::ImageArea image = ImageAreaAt(origin);
    const circlegeom::Point centre = circlegeom::SpanCentre(Box(), Radius, image);
    CenterX = centre.x;
    CenterY = centre.y;
    SetBox({image.left, image.top, image.width, image.height});
    repaint();
}

bool TCircleRegion::OutlineInBox() const
{
    const circlegeom::Bounds b = GetBounds();
    return b.left >= 0 && b.top >= 0 && b.right < Width() && b.bottom < Height();
}

void TCircleRegion::Paint(QPainter &canvas)
{
    if (!Drawn && !Drawing)
        return;
    // The outline runs through the square's edge pixels on every side, as wide as the fitted box.
    const circlegeom::Bounds b = GetBounds();
    const QPoint topLeft = ViewPoint(b.left, b.top);
    const QPoint bottomRight = ViewPoint(b.right, b.bottom);
    if (Radius == 0)
        canvas.drawPoint(ViewPoint(CenterX, CenterY));
    else
        canvas.drawEllipse(QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y())));
}
