// Base of every hotspot: a transparent control over the image that paints its outline and reads the mouse.
#pragma once

#include "output/core/Hotspot.h"
#include "regions/RegionHost.h"
#include "regions/RegionTypes.h"
#include "regions/ScrollBox.h"
#include "regions/core/RegionGeometry.h"

#include <QColor>
#include <QPen>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>


class QMouseEvent;
class QPainter;
class TPointerConfinement;

class TBaseRegion : public QWidget, public IScrollChild {
    Q_OBJECT
public:
    enum class TPenStyle { psSolid, psDot };
    // Copy paints the pen colour, Not inverts what lies beneath, Xor mixes the pen colour in.
    enum class TPenMode { pmCopy, pmNot, pmXor };

    // owner: the scroll box's client area (a TScrollBox is taken to mean its client area).
    explicit TBaseRegion(QWidget *owner);
    ~TBaseRegion() override;

    int LastX = 0;
    int LastY = 0;
    bool Dragging = false;
    // The window's side: event channel, bottom bar, hotspot dialog. Set by the creator.
    IRegionHost *Host = nullptr;
    QString URL;
    QString Target;
    QString StatusText;
    bool Selected = false;
    // Set through SetDrawn.
    bool Drawn = false;
    int ImageWidth = 0;
    int ImageHeight = 0;

    // The box in the parent frame, in image pixels: the image's origin there is minus the scroll
    // position (at 100 %), as in a scroll box. The control itself is placed at the zoom of its
    // scroll box.
    int Left() const { return ImageOrigin().x() + imageBox_.left; }
    int Top() const { return ImageOrigin().y() + imageBox_.top; }
    int Width() const { return imageBox_.width; }
    int Height() const { return imageBox_.height; }
    void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
    void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
    void SetBounds(int left, int top, int width, int height);
    // The box with the image's top-left pixel at 0, 0.
    regiongeom::Box ImageBox() const override { return imageBox_; }
    // Places the control where its box is shown at the scroll box's zoom and scroll position.
    void SyncView() override;
    // Scrolls the scroll box so that the region is in view.
    void ScrollIntoView();

    QColor PenColor() const { return penColor_; }
    // Also repaints the outline.
    void SetPenColor(const QColor &color);
    TPenStyle PenStyle() const { return penStyle_; }
    TPenMode PenMode() const { return penMode_; }

    // The drawing is complete: from now on the region shows its plain look when not selected.
    void SetDrawn();
    // Back to the unselected look, among the others again; the caller repaints.
    void Deselect();
    // The selected look without a grab, for a selection made by the keyboard, the hotspot list or
    // undo, painted with the next frame: the caller has deselected the others.
    void ShowSelected();
    // True once the hotspot dialog was cancelled: the region only waits to be destroyed.
    bool Cancelled() const { return cancelled_; }
    // True while the pointer is held inside the region's visible box.
    bool PointerConfined() const { return !confinement_.isNull(); }

    // The scroll box culls a region scrolled wholly out of view; show() and hide() from its owner
    // still decide whether it is shown at all.
    void setVisible(bool visible) override;
    void SetCulled(bool culled) override;
    bool ShownByOwner() const override { return shownByOwner_; }
    void Reparent(QWidget *parent) override;
    quint64 StackStamp() const override { return stackStamp_; }
    // A drawn region in the plain look is painted with the others beneath the widgets, where its
    // scroll box does that.
    bool PaintedBeneath() const override;
    void PaintBeneath(QPainter &painter) override;

    // Region-local X, Y. The main window calls MouseDown and MouseUp directly to forward a click.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);

    // Whether the region-local point lies on the shape.
    virtual bool HitTest(int X, int Y) const = 0;
    // The AREA coordinate text in the parent frame.
    virtual QString GetCoords() const = 0;
    // Shrinks a spanning region to its shape's box.
    virtual void FitToShape() = 0;

    // The hotspot as map files hold it, the box relative to origin (the image's, in the parent
    // frame); and back. Each shape adds its own fields.
    virtual THotspotShape Shape(QPoint origin) const;
    virtual void SetShape(const THotspotShape &shape, QPoint origin);

protected:
    // What the shape draws with the prepared pen, through ViewPoint.
    virtual void Paint(QPainter &canvas);
    // Whether the drawn outline's image pixels lie wholly in the box, so that painting it at 100 %
    // or more needs no clip.
    virtual bool OutlineInBox() const { return false; }
    // Where a region-local image pixel is drawn: the middle of its square at the scroll box's zoom.
    QPoint ViewPoint(int x, int y) const;

    void SetPenStyle(TPenStyle style) { penStyle_ = style; }
    void SetPenMode(TPenMode mode) { penMode_ = mode; }

    // Writes the empty text, then word, so a repeated word is heard too.
    void Emit(const QString &word) { Host->Emit(word); }
    // Sends "MOVE" and reads the answer: the image's origin in the parent frame.
    QPoint RequestImageOrigin() { return Host->ImageOrigin(); }
    regiongeom::ImageArea ImageAreaAt(const QPoint &origin) const;
    // Puts the click point (parent frame) in the coordinate fields, writes lead, then "MISS".
    void ReportMiss(int X, int Y, const QString &lead);

    void ConfinePointer();
    void ReleasePointer();

    // Paints the shape's transient lines inverted over a freshly restored image.
    void RubberBand();
    // Ends a drawing: fit, ask for the link, then "DRAWN" or cancelWord as the very last act.
    void Complete(const QString &cancelWord);
    // What a grab does to the application-wide cursor: the move cursor, the move cursor unless
    // another one (a resize grip) is shown, or nothing.
    enum class TGrabCursor { Move, MoveIfDefault, Keep };
    // A press on the shape: selects the region and starts a drag grabbed at X, Y.
    void SelectAndGrab(int X, int Y, TGrabCursor cursor);
    // One body-move step of a drag, then the region is scrolled into view.
    void DragMove(int X, int Y, const QPoint &imageOrigin);
    regiongeom::Box Box() const { return {Left(), Top(), Width(), Height()}; }
    bool event(QEvent *event) override;
    // Whether a region-local point lies on the control. A drawing starts only there: a press
    // elsewhere reaches the region only while another button holds the mouse, and would place a
    // hotspot off the image.
    bool OnControl(int X, int Y) const { return 0 <= X && X < Width() && 0 <= Y && Y < Height(); }
    void SetBox(const regiongeom::Box &box) { SetBounds(box.left, box.top, box.width, box.height); }

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // The image's origin in the parent frame as the scroll box places it (0, 0 outside one).
    QPoint ImageOrigin() const;
    // One pixel on, one off; offset 1 draws the gaps of offset 0.
    static QPen DottedPen(const QColor &colour, int offset);
    // The outline with a solid pen of the region's colour, in the painter's mode.
    void PaintSolid(QPainter &canvas);
    // A region whose outline the pass beneath paints takes no paint events: Qt then skips it
    // when it paints the thousands of regions in view. Called whenever PaintedBeneath may change.
    void FollowLook();
    // Repaints the region's box from beneath, which a region without paint events needs after it
    // is moved, shown, hidden or changed.
    void RepaintBeneath();
    void RepaintBeneath(const QRect &place);
    // QWidget::setVisible, with the repaint beneath for a region without paint events.
    void ShowWidget(bool shown);
    QPoint LocalPos(const QMouseEvent *event) const;
    void DeliverPress(QMouseEvent *event, TShiftState extra);
    template <typename Handler> void Guarded(Handler &&handler);

    regiongeom::Box imageBox_;
    QColor penColor_ = Qt::black;
    TPenStyle penStyle_ = TPenStyle::psSolid;
    TPenMode penMode_ = TPenMode::pmCopy;
    bool cancelled_ = false;
    bool shownByOwner_ = false;
    bool reparenting_ = false;
    // The scroll box the region was made in; culling moves the widget out of its client area.
    TScrollBox *box_ = nullptr;
    quint64 stackStamp_ = 0;
    QPointer<TPointerConfinement> confinement_;
    // Screen position of the client area's origin, as the last press delivered to it showed it.
    std::optional<QPoint> clientOnScreen_;
};
