#include "regions/BaseRegionClass.h"

#include "dialogs/ModalResult.h"
#include "dialogs/Prompter.h"
#include "regions/ChannelWords.h"
#include "regions/CursorTable.h"
#include "regions/OutlineCache.h"
#include "regions/PointerConfinement.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <exception>
#include <optional>

namespace {

QWidget *ClientOf(QWidget *owner)
{
    if (auto *box = qobject_cast<TScrollBox *>(owner))
        return box->Client();
    return owner;
}

std::optional<TMouseButton> ButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return TMouseButton::mbLeft;
    case Qt::RightButton: return TMouseButton::mbRight;
    case Qt::MiddleButton: return TMouseButton::mbMiddle;
    default: return std::nullopt;
    }
}

TShiftState ShiftOf(const QMouseEvent *event)
{
    TShiftState shift = 0;
    const Qt::KeyboardModifiers keys = event->modifiers();
    if (keys & Qt::ShiftModifier)
        shift |= ssShift;
    if (keys & Qt::AltModifier)
        shift |= ssAlt;
    if (keys & Qt::ControlModifier)
        shift |= ssCtrl;
    const Qt::MouseButtons buttons = event->buttons();
    if (buttons & Qt::LeftButton)
        shift |= ssLeft;
    if (buttons & Qt::RightButton)
        shift |= ssRight;
    if (buttons & Qt::MiddleButton)
        shift |= ssMiddle;
    return shift;
}

QPainter::CompositionMode CompositionOf(TBaseRegion::TPenMode mode)
{
    switch (mode) {
    case TBaseRegion::TPenMode::pmNot: return QPainter::RasterOp_NotDestination;
    case TBaseRegion::TPenMode::pmXor: return QPainter::RasterOp_SourceXorDestination;
    case TBaseRegion::TPenMode::pmCopy: break;
    }
    return QPainter::CompositionMode_SourceOver;
}

} // namespace

namespace {
// Stacking stamps: a region brought to the front takes the next one.
quint64 nextStackStamp = 0;
} // namespace

TBaseRegion::TBaseRegion(QWidget *owner) : QWidget(ClientOf(owner)), box_(TScrollBox::Of(this)), stackStamp_(++nextStackStamp)
{
    // Every pointer move must arrive, buttons held or not: each one asks for the image origin.
    setMouseTracking(true);
}

TBaseRegion::~TBaseRegion()
{
    if (!updatesEnabled())
        RepaintBeneath();
}

void TBaseRegion::setVisible(bool visible)
{
    if (reparenting_) {
        QWidget::setVisible(visible);
        return;
    }
    // A region shown out of view stays hidden from the start: thousands shown at once (a map
    // being loaded) are then not each shown and hidden again.
    const bool showing = visible && !shownByOwner_ && box_;
    shownByOwner_ = visible;
    if (showing && !box_->InView(this)) {
        culled_ = true;
        ShowWidget(false);
        Reparent(box_->Holder(this));
        return;
    }
    ShowWidget(visible && !culled_);
}

void TBaseRegion::ShowWidget(bool shown)
{
    const bool repaint = !updatesEnabled() && shown == isHidden();
    if (repaint && !shown)
        RepaintBeneath();
    QWidget::setVisible(shown);
    if (repaint && shown)
        RepaintBeneath();
}

void TBaseRegion::RepaintBeneath()
{
    RepaintBeneath(geometry());
}

void TBaseRegion::RepaintBeneath(const QRect &place)
{
    if (!isVisible() || !parentWidget())
        return;
    if (box_)
        box_->OutlinesChanged(place);
    parentWidget()->update(place);
}

void TBaseRegion::FollowLook()
{
    const bool ownPaint = !PaintedBeneath();
    if (ownPaint == updatesEnabled())
        return;
    // Turned back on, Qt repaints the box itself, but the outline kept beneath goes too.
    if (ownPaint && box_ && isVisible())
        box_->OutlinesChanged(geometry());
    setUpdatesEnabled(ownPaint);
    if (!ownPaint)
        RepaintBeneath();
}

void TBaseRegion::Reparent(QWidget *parent)
{
    reparenting_ = true;
    setParent(parent);
    reparenting_ = false;
}

bool TBaseRegion::event(QEvent *event)
{
    // Raised to the front of its fellows: stacked in front of every region when it comes back.
    if (event->type() == QEvent::ZOrderChange && !reparenting_ && parentWidget()
        && parentWidget()->children().constLast() == this)
        stackStamp_ = ++nextStackStamp;
    // The pass beneath paints in stacking order too.
    if (event->type() == QEvent::ZOrderChange && !updatesEnabled())
        RepaintBeneath();
    return QWidget::event(event);
}

void TBaseRegion::SetBounds(int left, int top, int width, int height)
{
    const QPoint origin = ImageOrigin();
    imageBox_ = {left - origin.x(), top - origin.y(), width, height};
    SyncView();
}

void TBaseRegion::SyncView()
{
    if (!box_) {
        setGeometry(imageBox_.left, imageBox_.top, imageBox_.width, imageBox_.height);
    } else if (culled_) {
        // Out of view it needs no place, only a look whether it has come into view.
        box_->Recheck(this);
    } else {
        const QRect before = geometry();
        setGeometry(box_->ViewRect(imageBox_));
        // Qt repaints only where the box was, and not what is kept beneath; the shape may also
        // have changed within the box.
        if (!updatesEnabled()) {
            RepaintBeneath(before);
            RepaintBeneath();
        }
    }
}

QPoint TBaseRegion::ImageOrigin() const { return box_ ? box_->ImageOrigin() : QPoint(); }

void TBaseRegion::SetCulled(bool culled)
{
    culled_ = culled;
    ShowWidget(shownByOwner_ && !culled_);
    FollowLook();
}

void TBaseRegion::SetPenColor(const QColor &color)
{
    penColor_ = color;
    if (updatesEnabled())
        update();
    else
        RepaintBeneath();
}

void TBaseRegion::SetDrawn()
{
    Drawn = true;
    FollowLook();
}

void TBaseRegion::Deselect()
{
    penMode_ = TPenMode::pmCopy;
    penStyle_ = TPenStyle::psSolid;
    unsetCursor();
    Selected = false;
    // Not while a button is held: the press's implicit grab may be this region's. It is put back
    // anyway as soon as another region comes in front.
    if (box_ && QGuiApplication::mouseButtons() == Qt::NoButton)
        box_->Lift(this, false);
    FollowLook();
}

void TBaseRegion::ShowSelected()
{
    Selected = true;
    penStyle_ = TPenStyle::psDot;
    penMode_ = TPenMode::pmXor;
    FollowLook();
    // Lifted while no button is held: a press's implicit grab would not survive the move.
    if (box_ && QGuiApplication::mouseButtons() == Qt::NoButton) {
        box_->Lift(this, true);
        // In front of every region, lifted or not.
        if (parentWidget() != box_->Client())
            stackStamp_ = ++nextStackStamp;
    }
    if (parentWidget()->children().constLast() != this)
        raise();
    Host->ShowLink(URL, Target);
    update();
}

THotspotShape TBaseRegion::Shape(QPoint origin) const
{
    THotspotShape shape;
    shape.Top = Top() - origin.y();
    shape.Left = Left() - origin.x();
    shape.Height = Height();
    shape.Width = Width();
    return shape;
}

void TBaseRegion::SetShape(const THotspotShape &shape, QPoint origin)
{
    SetBounds(origin.x() + shape.Left, origin.y() + shape.Top, shape.Width, shape.Height);
}

void TBaseRegion::MouseDown(TMouseButton, TShiftState, int, int) {}
void TBaseRegion::MouseMove(TShiftState, int, int) {}
void TBaseRegion::MouseUp(TMouseButton, TShiftState, int, int) {}
void TBaseRegion::Paint(QPainter &) {}

QPoint TBaseRegion::ViewPoint(int x, int y) const
{
    const int zoom = box_ ? box_->ZoomPercent() : zoommath::ActualSize;
    if (zoom == zoommath::ActualSize)
        return {x, y};
    const auto middle = [zoom](int start, int offset) {
        const int first = zoommath::ViewStart(start + offset, zoom);
        const int next = zoommath::ViewStart(start + offset + 1, zoom);
        return first + std::max(0, next - first - 1) / 2 - zoommath::ViewStart(start, zoom);
    };
    return {middle(imageBox_.left, x), middle(imageBox_.top, y)};
}

regiongeom::ImageArea TBaseRegion::ImageAreaAt(const QPoint &origin) const
{
    return {origin.x(), origin.y(), ImageWidth, ImageHeight};
}

void TBaseRegion::ReportMiss(int X, int Y, const QString &lead) { Host->ReportMiss({Left() + X, Top() + Y}, lead); }

void TBaseRegion::ConfinePointer()
{
    ReleasePointer();
    QWidget *client = parentWidget();
    if (!client)
        return;
    // Cut to what the client area shows: the pointer cannot reach the scrolled-away part anyway.
    const QRect shown = geometry();
    const regiongeom::Span area = regiongeom::ConfinementArea({shown.x(), shown.y(), shown.width(), shown.height()},
                                                              client->width(), client->height());
    if (area.right <= area.left || area.bottom <= area.top)
        return;
    // The screen position comes from the press being handled, whose own global and local points
    // are the window system's: Qt's idea of where the window is can lag behind a window manager.
    const QPoint clientToScreen = clientOnScreen_ ? *clientOnScreen_ : client->mapToGlobal(QPoint(0, 0));
    const QRect screen(QPoint(area.left, area.top) + clientToScreen,
                       QPoint(area.right - 1, area.bottom - 1) + clientToScreen);
    confinement_ = new TPointerConfinement(screen, this);
}

void TBaseRegion::ReleasePointer() { delete confinement_.data(); }

void TBaseRegion::RubberBand()
{
    penMode_ = TPenMode::pmNot;
    repaint();
    penMode_ = TPenMode::pmCopy;
}

void TBaseRegion::Complete(const QString &cancelWord)
{
    ReleasePointer();
    SetDrawn();
    FitToShape();
    AppCursor::Set(AppCursor::crDefault);
    const IRegionHost::TLink link = Host->AskLink(this);
    if (link.result == mrOk) {
        URL = link.URL;
        Target = link.Target;
        StatusText = link.StatusText;
    } else if (link.result == mrCancel) {
        // The main window destroys the region on the cancel word; until then it takes no input.
        cancelled_ = true;
        hide();
        Host->Report(cancelWord);
        return;
    }
    Host->Report(ChannelWord::Drawn);
}

void TBaseRegion::SelectAndGrab(int X, int Y, TGrabCursor cursor)
{
    // First, so that the dispatcher's deselect-all cannot undo this selection.
    Emit(ChannelWord::Repaint);
    Selected = true;
    LastX = X;
    LastY = Y;
    raise();
    Dragging = true;
    penStyle_ = TPenStyle::psDot;
    penMode_ = TPenMode::pmXor;
    FollowLook();
    if (cursor == TGrabCursor::Move || (cursor == TGrabCursor::MoveIfDefault && AppCursor::IsDefault()))
        AppCursor::Set(AppCursor::crMoveRegion);
    Host->ShowLink(URL, Target);
    repaint();
}

void TBaseRegion::DragMove(int X, int Y, const QPoint &imageOrigin)
{
    SetBox(regiongeom::MoveWithinImage(Box(), X - LastX, Y - LastY, ImageAreaAt(imageOrigin)));
    ScrollIntoView();
}

void TBaseRegion::ScrollIntoView()
{
    if (box_)
        box_->ScrollInView(box_->ViewRect(imageBox_));
}

bool TBaseRegion::PaintedBeneath() const
{
    return Drawn && !cancelled_ && penMode_ == TPenMode::pmCopy && penStyle_ == TPenStyle::psSolid && box_
           && box_->PaintsOutlines() && parentWidget() == box_->Client();
}

void TBaseRegion::paintEvent(QPaintEvent *event)
{
    if (PaintedBeneath())
        return;
    QPainter canvas(this);
    canvas.setCompositionMode(CompositionOf(penMode_));
    if (penStyle_ == TPenStyle::psDot) {
        canvas.setBrush(Qt::NoBrush);
        // A dotted pen also draws its gaps in the background colour, white, with the same mix, as
        // on an opaque canvas: without them a black XOR outline would not show at all.
        const auto dotted = [this](QPainter &painter) {
            painter.setPen(DottedPen(penColor_, 0));
            Paint(painter);
            painter.setPen(DottedPen(Qt::white, 1));
            Paint(painter);
        };
        // The selected region's outline, which a drag repaints at every pointer move, is kept; one
        // for all regions, as at most one is selected.
        static TOutlineCache outline;
        if (penMode_ == TPenMode::pmXor && qint64(width()) * height() <= TOutlineCache::MaxPixels)
            outline.Lay(canvas, event->rect(), size(), dotted);
        else
            dotted(canvas);
        return;
    }
    PaintSolid(canvas);
}

void TBaseRegion::PaintSolid(QPainter &canvas)
{
    // One pen for all regions while the line colour stays: a pass paints many in a row.
    static QPen pen;
    if (pen.color() != penColor_ || !pen.isCosmetic()) {
        pen = QPen(penColor_);
        pen.setCosmetic(true);
    }
    canvas.setBrush(Qt::NoBrush);
    canvas.setPen(pen);
    Paint(canvas);
}

void TBaseRegion::PaintBeneath(QPainter &painter)
{
    // Clipped to the box, as the region's own widget would be, only where the outline may leave
    // it: below 100 % the middle of the last pixel's square can lie on the next view pixel.
    const bool clip = !OutlineInBox() || (box_ && box_->ZoomPercent() < zoommath::ActualSize);
    if (clip)
        painter.setClipRect(rect());
    PaintSolid(painter);
    if (clip)
        painter.setClipping(false);
}

QPen TBaseRegion::DottedPen(const QColor &colour, int offset)
{
    QPen pen(colour, 1);
    pen.setCosmetic(true);
    pen.setDashPattern({1, 1});
    pen.setDashOffset(offset);
    return pen;
}

QPoint TBaseRegion::LocalPos(const QMouseEvent *event) const
{
    // From the event's own points, never from Qt's idea of the window's place on the screen.
    QPoint local = event->position().toPoint();
    if (confinement_) {
        const QPoint global = event->globalPosition().toPoint();
        local += confinement_->Clamp(global) - global;
    }
    // The handlers work in image pixels, whatever the zoom.
    if (!box_ || box_->ZoomPercent() == zoommath::ActualSize)
        return local;
    return box_->ImagePointAt(local + pos()) - QPoint(imageBox_.left, imageBox_.top);
}

template <typename Handler> void TBaseRegion::Guarded(Handler &&handler)
{
    // A failed command ends here with its message, as the application's error handler would show it.
    try {
        handler();
    } catch (const std::exception &error) {
        Prompter().Message(window(), IPrompter::Kind::Error, QGuiApplication::applicationDisplayName(),
                           QString::fromStdString(error.what()), QMessageBox::Ok);
    }
}

// The handlers may end in the region's own cancel word, after which it is about to be destroyed:
// nothing of this is touched after the call.
void TBaseRegion::DeliverPress(QMouseEvent *event, TShiftState extra)
{
    const std::optional<TMouseButton> button = ButtonOf(event->button());
    if (cancelled_ || !button) {
        event->ignore();
        return;
    }
    event->accept();
    const QPoint p = LocalPos(event);
    const TShiftState shift = ShiftOf(event) | extra;
    clientOnScreen_ = event->globalPosition().toPoint() - event->position().toPoint() - pos();
    Guarded([&] { MouseDown(*button, shift, p.x(), p.y()); });
}

void TBaseRegion::mousePressEvent(QMouseEvent *event) { DeliverPress(event, 0); }

void TBaseRegion::mouseDoubleClickEvent(QMouseEvent *event) { DeliverPress(event, ssDouble); }

void TBaseRegion::mouseMoveEvent(QMouseEvent *event)
{
    if (cancelled_) {
        event->ignore();
        return;
    }
    event->accept();
    const QPoint p = LocalPos(event);
    const TShiftState shift = ShiftOf(event);
    Guarded([&] { MouseMove(shift, p.x(), p.y()); });
}

void TBaseRegion::mouseReleaseEvent(QMouseEvent *event)
{
    const std::optional<TMouseButton> button = ButtonOf(event->button());
    if (cancelled_ || !button) {
        event->ignore();
        return;
    }
    event->accept();
    const QPoint p = LocalPos(event);
    const TShiftState shift = ShiftOf(event);
    Guarded([&] { MouseUp(*button, shift, p.x(), p.y()); });
}
