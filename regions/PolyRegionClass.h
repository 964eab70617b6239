// Polygon hotspot: vertices by left clicks, closed by a right click; moved by its inside and
// reshaped by dragging a vertex; presses in its box outside the shape pass to what lies beneath.
#pragma once

#include "regions/BaseRegionClass.h"
#include "regions/core/PolyGeometry.h"

#include <optional>

class TPolyRegion : public TBaseRegion {
    Q_OBJECT
public:
    explicit TPolyRegion(QWidget *owner);

    // The last hover test found the pointer on a vertex: the next drag moves that vertex.
    bool OnVertex = false;
    int VertexIndex = 0;
    // The vertices, region-local (image coordinates while spanning); once drawn, slot PointCount
    // is a copy of slot 0.
    polygeom::Points Points{};
    int PointCount = 0;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    bool HitTest(int X, int Y) const override;
    // Slot 0 always, then every further vertex, in the parent frame; never the closing copy.
    QString GetCoords() const override;
    void FitToShape() override;
    THotspotShape Shape(QPoint origin) const override;
    void SetShape(const THotspotShape &shape, QPoint origin) override;
    void SpanImage();

protected:
    void Paint(QPainter &canvas) override;
    bool OutlineInBox() const override;

private:
    void PlaceVertex(int X, int Y);
    void Close();
    void HoverTest(int X, int Y);

    // The end of the rubber band from the last vertex, while one is shown.
    std::optional<QPoint> band_;
};
