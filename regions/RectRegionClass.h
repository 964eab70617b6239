// Rectangular hotspot: drawn by dragging corner to corner, moved by its body, resized by eight grips.
#pragma once

#include "regions/BaseRegionClass.h"
#include "regions/core/RectGeometry.h"

class TRectRegion : public TBaseRegion {
    Q_OBJECT
public:
    explicit TRectRegion(QWidget *owner);

    // The drawing drag is in progress (first press to release).
    bool Drawing = false;
    // The two corners while drawing, region-local; (0, 0, width - 1, height - 1) once fitted.
    rectgeom::Corners DrawRect;
    // The grip found by the last hover test that counted.
    rectgeom::Zone ResizeZone = rectgeom::Zone::Unset;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    bool HitTest(int X, int Y) const override;
    // "L, T, R, B" with the right and bottom pixels included.
    QString GetCoords() const override;
    void FitToShape() override;

protected:
    void Paint(QPainter &canvas) override;
    bool OutlineInBox() const override { return Drawn; }

private:
    void HoverTest(int X, int Y);
    void DragStep(int X, int Y, const QPoint &imageOrigin);
};
