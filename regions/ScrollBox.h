// Scrolling area whose children move when it scrolls, so their Left/Top turn negative as in a
// scroll box; it also shows its content zoomed.
#pragma once

#include "regions/core/RegionGeometry.h"
#include "regions/core/ZoomMath.h"

#include <QAbstractScrollArea>
#include <QSet>
#include <QTimer>

// A child the scroll box hides while it is scrolled wholly out of view (the regions).
class IScrollChild {
public:
    virtual ~IScrollChild() = default;
    // Whether its owner has shown it; a culled child counts for the scroll ranges all the same.
    virtual bool ShownByOwner() const = 0;
    virtual void SetCulled(bool culled) = 0;
};

class TScrollBox : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TScrollBox(QWidget *parent = nullptr);

    // Children (the image and every region) are placed here, in client coordinates.
    QWidget *Client() const { return viewport(); }
    // The scroll box a child of Client() lives in, or nullptr.
    static TScrollBox *Of(const QWidget *child);

    // Scrolls the least distance that brings child's box into view (left/top edge first).
    void ScrollInView(const QWidget *child);
    // Scrolls back to the origin, so client and content coordinates agree.
    void ScrollToOrigin();
    // Recomputes the scroll ranges from the extent of the visible children.
    void UpdateRange();
    // Whether any of child's box lies in the visible client area.
    bool InView(const QWidget *child) const { return child->geometry().intersects(viewport()->rect()); }
    // A region shown by its owner but kept hidden from the start, out of view: it counts for the
    // scroll ranges all the same.
    void NoteCulled(const QWidget *child) { ChildGeometryChanged(child); }

    // Zoom as a percentage; the owner places the children anew when it changes.
    int ZoomPercent() const { return zoom_; }
    void SetZoomPercent(int percent) { zoom_ = percent; }
    // The image's origin in the parent frame, in image pixels: minus the scroll position at 100 %.
    QPoint ImageOrigin() const;
    // A box in image pixels as client-area pixels, at the current zoom and scroll position.
    QRect ViewRect(const regiongeom::Box &imageBox) const;
    // The image pixel under a client-area point.
    QPoint ImagePointAt(QPoint client) const;

protected:
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    // Extent of the children in content coordinates and the children that reach it.
    struct Extent {
        int x = 0;
        int y = 0;
        const QWidget *widestChild = nullptr;
        const QWidget *tallestChild = nullptr;
    };
    // Regions scrolled wholly out of view are hidden, so that moving or painting one of thousands
    // does not make Qt walk all its siblings; they show again as soon as any part is in view.
    bool Counts(const QWidget *child) const;
    void Cull(QWidget *child);
    void CullAll();
    // A child is never hidden from inside its own show, move or resize: that waits for the loop.
    void CullLater(QWidget *child);

    Extent MeasureChildren() const;
    void ChildGeometryChanged(const QWidget *child);
    void ApplyRange();

    Extent extent_;
    bool updatingRange_ = false;
    QSet<QObject *> pendingCull_;
    QTimer cullTimer_;
    bool culling_ = false;
    int zoom_ = zoommath::ActualSize;
};
