#include "regions/RectRegionClass.h"

#include "output/core/Coords.h"
#include "regions/CursorTable.h"

#include <QPainter>
#include <QPolygon>

using rectgeom::Zone;
using rectgeom::ZoneCursor;

TRectRegion::TRectRegion(QWidget *owner) : TBaseRegion(owner)
{
    setObjectName(QStringLiteral("RectRegion"));
}

void TRectRegion::MouseDown(TMouseButton Button, TShiftState, int X, int Y)
{
    if (Button != TMouseButton::mbLeft)
        return;
    if (!Drawing && !Drawn) {
        if (!OnControl(X, Y))
            return;
        DrawRect = rectgeom::StartDrawing(X, Y);
        LastX = X;
        LastY = Y;
        Drawing = true;
        AppCursor::Set(AppCursor::crDrawRect);
        // The region still spans the image here.
        ImageWidth = Width();
        ImageHeight = Height();
        ConfinePointer();
    } else if (Drawn && HitTest(X, Y)) {
        // The grip is the one the last hover test stored; the press itself does not look.
        SelectAndGrab(X, Y, TGrabCursor::MoveIfDefault);
    }
}

void TRectRegion::MouseMove(TShiftState, int X, int Y)
{
    const QPoint imageOrigin = RequestImageOrigin();
    if (Drawing) {
        DrawRect = rectgeom::DrawStep(DrawRect, X - LastX, Y - LastY, ImageWidth, ImageHeight);
        LastX = X;
        LastY = Y;
        RubberBand();
        return;
    }
    if (Drawn && Selected) {
        HoverTest(X, Y);
        if (Dragging)
            DragStep(X, Y, imageOrigin);
    }
}

void TRectRegion::MouseUp(TMouseButton, TShiftState, int, int)
{
    if (Drawing) {
        Drawing = false;
        Complete(QStringLiteral("CANCELRECT"));
        return;
    }
    Dragging = false;
    AppCursor::Set(AppCursor::crDefault);
}

void TRectRegion::HoverTest(int X, int Y)
{
    const rectgeom::HoverResult hover = rectgeom::Hover(X, Y, Width(), Height());
    switch (hover.cursor) {
    case ZoneCursor::SizeNwSe: AppCursor::SetShape(Qt::SizeFDiagCursor); break;
    case ZoneCursor::SizeNeSw: AppCursor::SetShape(Qt::SizeBDiagCursor); break;
    case ZoneCursor::SizeVertical: AppCursor::SetShape(Qt::SizeVerCursor); break;
    case ZoneCursor::SizeHorizontal: AppCursor::SetShape(Qt::SizeHorCursor); break;
    case ZoneCursor::MoveRegion: AppCursor::Set(AppCursor::crMoveRegion); break;
    }
    ResizeZone = rectgeom::KeptZone(ResizeZone, hover.zone, Dragging);
}

void TRectRegion::DragStep(int X, int Y, const QPoint &imageOrigin)
{
    const rectgeom::DragResult step =
        rectgeom::DragStep(Box(), ResizeZone, X, Y, LastX, LastY, ImageAreaAt(imageOrigin));
    if (step.moving)
        AppCursor::Set(AppCursor::crMoveRegion);
    SetBox(step.box);
    ScrollIntoView();
}

bool TRectRegion::HitTest(int X, int Y) const { return 0 <= X && X < Width() && 0 <= Y && Y < Height(); }

QString TRectRegion::GetCoords() const
{
    return QString::fromStdString(RectCoords(Left(), Top(), Width(), Height()));
}

void TRectRegion::FitToShape()
{
    const rectgeom::Fit fit = rectgeom::Normalise(DrawRect);
    SetBounds(Left() + fit.dx, Top() + fit.dy, fit.width, fit.height);
    DrawRect = {0, 0, fit.width - 1, fit.height - 1};
    repaint();
}

void TRectRegion::Paint(QPainter &canvas)
{
    // A closed polygon sets every outline pixel once, which keeps the XOR look whole at the corners.
    if (Drawn) {
        canvas.drawPolygon(QPolygon({ViewPoint(0, 0), ViewPoint(0, Height() - 1), ViewPoint(Width() - 1, Height() - 1),
                                     ViewPoint(Width() - 1, 0)}));
    } else if (Drawing) {
        const rectgeom::Corners &r = DrawRect;
        canvas.drawPolygon(QPolygon({ViewPoint(r.left, r.top), ViewPoint(r.left, r.bottom),
                                     ViewPoint(r.right, r.bottom), ViewPoint(r.right, r.top)}));
    }
}
