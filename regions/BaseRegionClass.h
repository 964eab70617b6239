// Base of every hotspot: a transparent control over the image that paints its outline and reads the mouse.
#pragma once

#include "output/core/Hotspot.h"
#include "regions/RegionTypes.h"
#include "regions/core/RegionGeometry.h"

#include <QColor>
#include <QPen>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>


class QComboBox;
class QLineEdit;
class QMouseEvent;
class QPainter;
class TChannelField;
class TPointerConfinement;

class TBaseRegion : public QWidget {
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
    TChannelField *txtXPos = nullptr;
    TChannelField *txtYPos = nullptr;
    TChannelField *txtInfo = nullptr;
    QString URL;
    QString Target;
    QString StatusText;
    QLineEdit *txtTarget = nullptr;
    QComboBox *cmbURL = nullptr;
    bool Selected = false;
    bool Drawn = false;
    int ImageWidth = 0;
    int ImageHeight = 0;

    // The box in the parent frame.
    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetLeft(int left) { move(left, y()); }
    void SetTop(int top) { move(x(), top); }
    void SetWidth(int width) { resize(width, height()); }
    void SetHeight(int height) { resize(width(), height); }
    void SetBounds(int left, int top, int width, int height) { setGeometry(left, top, width, height); }

    QColor PenColor() const { return penColor_; }
    void SetPenColor(const QColor &color);
    TPenStyle PenStyle() const { return penStyle_; }
    TPenMode PenMode() const { return penMode_; }

    // Back to the unselected look; the caller repaints.
    void Deselect();
    // True once the hotspot dialog was cancelled: the region only waits to be destroyed.
    bool Cancelled() const { return cancelled_; }
    // True while the pointer is held inside the region's visible box.
    bool PointerConfined() const { return !confinement_.isNull(); }

    // The scroll box hides a region scrolled wholly out of view; show() and hide() from its owner
    // still decide whether it is shown at all.
    void setVisible(bool visible) override;
    void SetCulled(bool culled);
    bool ShownByOwner() const { return shownByOwner_; }

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
    // What the shape draws with the prepared pen.
    virtual void Paint(QPainter &canvas);

    void SetPenStyle(TPenStyle style) { penStyle_ = style; }
    void SetPenMode(TPenMode mode) { penMode_ = mode; }

    // Writes the empty text, then word, so a repeated word is heard too.
    void Emit(const QString &word);
    // Sends "MOVE" and reads the answer: the image's origin in the parent frame.
    QPoint RequestImageOrigin();
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
    regiongeom::Box Box() const { return {x(), y(), width(), height()}; }
    // Whether a region-local point lies on the control. A drawing starts only there: a press
    // elsewhere reaches the region only while another button holds the mouse, and would place a
    // hotspot off the image.
    bool OnControl(int X, int Y) const { return 0 <= X && X < width() && 0 <= Y && Y < height(); }
    void SetBox(const regiongeom::Box &box) { setGeometry(box.left, box.top, box.width, box.height); }
    void ScrollIntoView();

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // One pixel on, one off; offset 1 draws the gaps of offset 0.
    static QPen DottedPen(const QColor &colour, int offset);
    QPoint LocalPos(const QMouseEvent *event) const;
    void DeliverPress(QMouseEvent *event, TShiftState extra);
    template <typename Handler> void Guarded(Handler &&handler);

    QColor penColor_ = Qt::black;
    TPenStyle penStyle_ = TPenStyle::psSolid;
    TPenMode penMode_ = TPenMode::pmCopy;
    bool cancelled_ = false;
    bool shownByOwner_ = false;
    bool culled_ = false;
    QPointer<TPointerConfinement> confinement_;
    // Screen position of the client area's origin, as the last press delivered to it showed it.
    std::optional<QPoint> clientOnScreen_;
};
