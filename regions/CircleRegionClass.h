// Circular hotspot: drawn from the centre outwards, moved by its inside, resized by its rim band;
// presses in the corners of its square pass to what lies beneath.
#pragma once

#include "regions/BaseRegionClass.h"
#include "regions/core/CircleGeometry.h"

class TCircleRegion : public TBaseRegion {
    Q_OBJECT
public:
    explicit TCircleRegion(QWidget *owner);

    // The drawing drag is in progress.
    bool Drawing = false;
    // The last hover test found the pointer on the rim: the next drag changes the radius.
    bool Resizing = false;
    int Radius = 0;
    // The centre, region-local (image coordinates while spanning).
    int CenterX = 0;
    int CenterY = 0;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    circlegeom::Bounds GetBounds() const;
    bool HitTest(int X, int Y) const override;
    // "X, Y, R": the centre in the parent frame and the radius.
    QString GetCoords() const override;
    void FitToShape() override;
    THotspotShape Shape(QPoint origin) const override;
    void SetShape(const THotspotShape &shape, QPoint origin) override;
    void SpanImage();

protected:
    void Paint(QPainter &canvas) override;
    bool OutlineInBox() const override;

private:
    circlegeom::Point Centre() const { return {CenterX, CenterY}; }
    int DistanceTo(int X, int Y) const { return circlegeom::Distance(X - CenterX, Y - CenterY); }
    void StepRadius(int X, int Y);
};
