// Scrolling area whose children move when it scrolls, so their Left/Top turn negative as in a
// scroll box; it also shows its content zoomed.
#pragma once

#include "regions/core/RegionGeometry.h"
#include "regions/core/ZoomMath.h"

#include <QAbstractScrollArea>
#include <QSet>
#include <QTimer>

#include <functional>
#include <vector>

class QPainter;

// A child the scroll box takes out of the client area while it is scrolled wholly out of view
// (the regions), so that painting one of thousands does not make Qt walk all of them.
class IScrollChild {
public:
    virtual ~IScrollChild() = default;
    // Whether its owner has shown it.
    virtual bool ShownByOwner() const = 0;
    // Hidden while culled, shown (if its owner showed it) when back in view.
    virtual void SetCulled(bool culled) = 0;
    bool Culled() const { return culled_; }
    // Its box in image pixels, whatever the widget's place.
    virtual regiongeom::Box ImageBox() const = 0;
    // Puts the widget where its box is shown at the current zoom and scroll position.
    virtual void SyncView() = 0;
    // Gives the widget a new parent without counting as its owner's show or hide.
    virtual void Reparent(QWidget *parent) = 0;
    // Rises whenever it comes to the front: the order its widgets are stacked in.
    virtual quint64 StackStamp() const = 0;
    // Whether the scroll box paints its outline beneath the widgets, with all others in one pass;
    // and that outline, painted at the widget's origin and kept within its box.
    virtual bool PaintedBeneath() const = 0;
    virtual void PaintBeneath(QPainter &painter) = 0;

protected:
    bool culled_ = false;
};

class TScrollBox : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TScrollBox(QWidget *parent = nullptr);

    // Children (the image and every region) are placed here, in client coordinates: a panel that
    // fills the viewport and stays put while its children scroll.
    QWidget *Client() const { return client_; }
    // The scroll box a child of Client() lives in (lifted or culled too), or nullptr.
    static TScrollBox *Of(const QWidget *child);
    // Whether a widget is a child of Client(), or a region lifted above it.
    bool Holds(const QWidget *widget) const;
    // Shows a region above the client area, in the same place, so that moving it (the selected
    // region) does not make Qt look again at every region in the client area; or puts it back,
    // in front of them. A region out of view, or not where the call expects it, stays. A child
    // that comes to the front of the client area later goes in front of a lifted region too: the
    // lifted region goes back beneath it.
    void Lift(QWidget *child, bool lifted);

    // Scrolls the least distance that brings a client-area rectangle into view (left/top edge first).
    void ScrollInView(QRect r);
    void ScrollInView(const QWidget *child) { ScrollInView(child->geometry()); }
    // Scrolls back to the origin, so client and content coordinates agree.
    void ScrollToOrigin();
    // Recomputes the scroll ranges from the extent of the visible children.
    void UpdateRange();
    // Whether any of a child's box lies in the visible client area.
    bool InView(const QWidget *child) const;
    // A region's box changed while it was culled: it may have come into view.
    void Recheck(QWidget *child)
    {
        if (!rezooming_)
            CullLater(child);
    }
    // Where a region waits while it is culled: one of several hidden widgets outside the client area.
    QWidget *Holder(const QWidget *child);

    // From now on the plain outlines of all regions are painted in one pass beneath their widgets:
    // by image over itself (see PaintOutlines) and by the client area elsewhere. changed is told
    // where, in client coordinates, the plain outlines changed.
    void PaintOutlinesOn(const QWidget *image, std::function<void(const QRect &)> changed)
    {
        outlineCanvas_ = image;
        outlinesChanged_ = std::move(changed);
    }
    bool PaintsOutlines() const { return outlineCanvas_ != nullptr; }
    void OutlinesChanged(const QRect &area) const
    {
        if (outlinesChanged_)
            outlinesChanged_(area);
    }
    // Paints, with a painter on canvas (the client area or the image), the plain outlines of the
    // regions that meet area, in canvas coordinates; bottom to top, as their widgets are stacked.
    // The painter's origin shows the canvas point origin.
    void PaintOutlines(QPainter &painter, const QWidget *canvas, const QRect &area, QPoint origin = {}) const;
    // Whether a client-area rectangle lies wholly under the image.
    bool UnderImage(const QRect &area) const;

    // Zoom as a percentage.
    int ZoomPercent() const { return zoom_; }
    // Changes the zoom and the scroll position at once, for content of the given size at the new
    // zoom; placeChildren then puts every child where the new zoom and position show it. The
    // children are placed once, not moved by the scroll as well.
    void Rezoom(int percent, QSize content, QPoint scroll, const std::function<void()> &placeChildren);
    // The image's origin in the parent frame, in image pixels: minus the scroll position at 100 %.
    QPoint ImageOrigin() const;
    // A box in image pixels as client-area pixels, at the current zoom and scroll position.
    QRect ViewRect(const regiongeom::Box &imageBox) const;
    // The image pixel under a client-area point.
    QPoint ImagePointAt(QPoint client) const;

protected:
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent *event) override;
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
    // Regions scrolled wholly out of view wait, hidden, in holders outside the client area, so
    // that painting or moving one of thousands does not make Qt walk all its siblings; they come
    // back, in their stacking order, as soon as any part is in view.
    bool Counts(const QWidget *child) const;
    void Cull(QWidget *child);
    void CullAll();
    // Stacks a region that came back under the first region in view that was in front of it.
    void Restack(QWidget *child, quint64 stamp);
    // A child is never hidden from inside its own show, move or resize: that waits for the loop.
    void CullLater(QWidget *child);

    // The regions lifted above the client area, and putting them back beneath front.
    QWidgetList Lifted() const;
    void Settle(QWidget *front);
    Extent MeasureChildren() const;
    void ChildGeometryChanged(const QWidget *child);
    void ApplyRange();

    Extent extent_;
    bool updatingRange_ = false;
    QSet<QObject *> pendingCull_;
    QTimer cullTimer_;
    bool culling_ = false;
    bool settling_ = false;
    QWidget *waiting_ = nullptr;
    std::vector<QWidget *> holders_;
    QWidget *client_ = nullptr;
    const QWidget *outlineCanvas_ = nullptr;
    std::function<void(const QRect &)> outlinesChanged_;
    int zoom_ = zoommath::ActualSize;
    bool rezooming_ = false;
};
