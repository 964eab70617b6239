#include "regions/ScrollBox.h"

#include <QChildEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace {

// The client area: the panel colour, with the outlines of the regions that reach beyond the image.
class TClientArea : public QWidget {
public:
    TClientArea(const TScrollBox &box, QWidget *viewport) : QWidget(viewport), box_(box)
    {
        setObjectName(QStringLiteral("ScrollBoxClient"));
        // Panel colour where no picture is, as the bars around it: white would read as an empty
        // image. Opaque, so that Qt looks no further beneath it.
        setBackgroundRole(QPalette::Window);
        setAutoFillBackground(true);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        // What lies wholly under the image is the image's to paint.
        if (!box_.PaintsOutlines() || box_.UnderImage(event->rect()))
            return;
        QPainter painter(this);
        box_.PaintOutlines(painter, this, event->rect());
    }

private:
    const TScrollBox &box_;
};

} // namespace

TScrollBox::TScrollBox(QWidget *parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("ScrollBox1"));
    client_ = new TClientArea(*this, viewport());
    client_->setGeometry(viewport()->rect());
    viewport()->installEventFilter(this);
    client_->installEventFilter(this);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // An arrow click scrolls 20 pixels and a wheel notch, three steps, 60.
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
    cullTimer_.setSingleShot(true);
    cullTimer_.setInterval(0);
    connect(&cullTimer_, &QTimer::timeout, this, [this] {
        const QSet<QObject *> pending = std::exchange(pendingCull_, {});
        for (QObject *object : pending)
            Cull(static_cast<QWidget *>(object));
    });
}

TScrollBox *TScrollBox::Of(const QWidget *child)
{
    const QWidget *parent = child ? child->parentWidget() : nullptr;
    if (!parent || !parent->parentWidget())
        return nullptr;
    // A lifted region's parent is the viewport, a child of the box; a region in the client area
    // or in a holder is a grandchild.
    if (auto *box = qobject_cast<TScrollBox *>(parent->parentWidget()))
        return box;
    return qobject_cast<TScrollBox *>(parent->parentWidget()->parentWidget());
}

bool TScrollBox::Holds(const QWidget *widget) const
{
    const QWidget *parent = widget->parentWidget();
    return parent == client_ || (parent == viewport() && widget != client_);
}

QWidgetList TScrollBox::Lifted() const
{
    QWidgetList lifted;
    for (QObject *object : viewport()->children())
        if (object != client_ && object->isWidgetType())
            lifted.append(static_cast<QWidget *>(object));
    return lifted;
}

void TScrollBox::Settle(QWidget *front)
{
    if (settling_ || culling_)
        return;
    settling_ = true;
    for (QWidget *child : Lifted()) {
        if (auto *region = dynamic_cast<IScrollChild *>(child)) {
            region->Reparent(client_);
            region->SetCulled(false);
            child->stackUnder(front);
        }
    }
    settling_ = false;
}

void TScrollBox::Lift(QWidget *child, bool lifted)
{
    auto *region = dynamic_cast<IScrollChild *>(child);
    if (!region || region->Culled() || child->parentWidget() != (lifted ? client_ : viewport()))
        return;
    // Either way it ends in front of every region, where a selected region always is.
    region->Reparent(lifted ? viewport() : client_);
    region->SetCulled(false);
}

void TScrollBox::ScrollInView(QRect r)
{
    const int clientWidth = viewport()->width();
    const int clientHeight = viewport()->height();
    const int scrolledFrom = horizontalScrollBar()->value();
    if (r.left() < 0) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + r.left());
    } else if (r.x() + r.width() > clientWidth) {
        const int right = r.width() > clientWidth ? r.x() + clientWidth : r.x() + r.width();
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + right - clientWidth);
    }
    r.translate(scrolledFrom - horizontalScrollBar()->value(), 0);
    if (r.top() < 0) {
        verticalScrollBar()->setValue(verticalScrollBar()->value() + r.top());
    } else if (r.y() + r.height() > clientHeight) {
        const int bottom = r.height() > clientHeight ? r.y() + clientHeight : r.y() + r.height();
        verticalScrollBar()->setValue(verticalScrollBar()->value() + bottom - clientHeight);
    }
}

QPoint TScrollBox::ImageOrigin() const
{
    return {-zoommath::ImageAt(horizontalScrollBar()->value(), zoom_),
            -zoommath::ImageAt(verticalScrollBar()->value(), zoom_)};
}

QRect TScrollBox::ViewRect(const regiongeom::Box &imageBox) const
{
    const int x = horizontalScrollBar()->value();
    const int y = verticalScrollBar()->value();
    const int left = zoommath::ViewStart(imageBox.left, zoom_);
    const int top = zoommath::ViewStart(imageBox.top, zoom_);
    // A box keeps at least one view pixel each way, however far it is zoomed out.
    const int right = std::max(left + 1, zoommath::ViewStart(imageBox.left + imageBox.width, zoom_));
    const int bottom = std::max(top + 1, zoommath::ViewStart(imageBox.top + imageBox.height, zoom_));
    return {left - x, top - y, right - left, bottom - top};
}

QPoint TScrollBox::ImagePointAt(QPoint client) const
{
    return {zoommath::ImageAt(client.x() + horizontalScrollBar()->value(), zoom_),
            zoommath::ImageAt(client.y() + verticalScrollBar()->value(), zoom_)};
}

void TScrollBox::Rezoom(int percent, QSize content, QPoint scroll, const std::function<void()> &placeChildren)
{
    rezooming_ = true;
    zoom_ = percent;
    extent_ = {content.width(), content.height(), nullptr, nullptr};
    ApplyRange();
    horizontalScrollBar()->setValue(scroll.x());
    verticalScrollBar()->setValue(scroll.y());
    // All of it first: the repaints the children then ask for fall within it at no cost.
    client_->update();
    placeChildren();
    rezooming_ = false;
    UpdateRange();
    CullAll();
}

void TScrollBox::ScrollToOrigin()
{
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

bool TScrollBox::InView(const QWidget *child) const
{
    const auto *region = dynamic_cast<const IScrollChild *>(child);
    const QRect box = region && region->Culled() ? ViewRect(region->ImageBox()) : child->geometry();
    return box.intersects(viewport()->rect());
}

TScrollBox::Extent TScrollBox::MeasureChildren() const
{
    Extent extent;
    const int x = horizontalScrollBar()->value();
    const int y = verticalScrollBar()->value();
    QObjectList children = client_->children();
    for (QWidget *lifted : Lifted())
        children.append(lifted);
    for (QObject *object : children) {
        auto *w = qobject_cast<QWidget *>(object);
        if (!w || !Counts(w))
            continue;
        if (w->x() + w->width() + x > extent.x) {
            extent.x = w->x() + w->width() + x;
            extent.widestChild = w;
        }
        if (w->y() + w->height() + y > extent.y) {
            extent.y = w->y() + w->height() + y;
            extent.tallestChild = w;
        }
    }
    return extent;
}

void TScrollBox::UpdateRange()
{
    extent_ = MeasureChildren();
    ApplyRange();
}

void TScrollBox::ChildGeometryChanged(const QWidget *child)
{
    // A drag moves one child per pointer move; among thousands of regions only a child that
    // reaches the extent, or did, needs the others looked at again.
    if (child == extent_.widestChild || child == extent_.tallestChild) {
        UpdateRange();
        return;
    }
    const int right = child->x() + child->width() + horizontalScrollBar()->value();
    const int bottom = child->y() + child->height() + verticalScrollBar()->value();
    bool grew = false;
    if (right > extent_.x) {
        extent_.x = right;
        extent_.widestChild = child;
        grew = true;
    }
    if (bottom > extent_.y) {
        extent_.y = bottom;
        extent_.tallestChild = child;
        grew = true;
    }
    if (grew)
        ApplyRange();
}

void TScrollBox::ApplyRange()
{
    if (updatingRange_)
        return;
    updatingRange_ = true;
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setPageStep(viewport()->height());
    horizontalScrollBar()->setRange(0, std::max(0, extent_.x - viewport()->width()));
    verticalScrollBar()->setRange(0, std::max(0, extent_.y - viewport()->height()));
    updatingRange_ = false;
}

void TScrollBox::scrollContentsBy(int dx, int dy)
{
    if (rezooming_)
        return;
    // Moves the children with the content, like a scroll box does.
    client_->scroll(dx, dy);
    for (QWidget *lifted : Lifted())
        lifted->move(lifted->pos() + QPoint(dx, dy));
    CullAll();
}

void TScrollBox::wheelEvent(QWheelEvent *event)
{
    // Ctrl with the wheel is left to the window (zoom), not taken as a page scroll.
    if (event->modifiers() & Qt::ControlModifier) {
        event->ignore();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

bool TScrollBox::Counts(const QWidget *child) const { return !child->isHidden(); }

bool TScrollBox::UnderImage(const QRect &area) const
{
    return outlineCanvas_ && !outlineCanvas_->isHidden() && outlineCanvas_->geometry().contains(area);
}

void TScrollBox::PaintOutlines(QPainter &painter, const QWidget *canvas, const QRect &area, QPoint origin) const
{
    const QPoint offset = (canvas == client_ ? QPoint() : canvas->pos()) + origin;
    const QRect image = outlineCanvas_->isHidden() ? QRect() : outlineCanvas_->geometry();
    for (QObject *object : client_->children()) {
        if (!object->isWidgetType())
            continue;
        const auto *widget = static_cast<const QWidget *>(object);
        const QRect place = widget->geometry();
        // The image paints over what the client area painted beneath it: a region wholly on the
        // image is left to the image.
        if (widget->isHidden() || !place.translated(origin - offset).intersects(area)
            || (canvas == client_ && image.contains(place)))
            continue;
        auto *region = dynamic_cast<IScrollChild *>(object);
        if (!region || !region->PaintedBeneath())
            continue;
        painter.setTransform(QTransform::fromTranslate(place.x() - offset.x(), place.y() - offset.y()));
        region->PaintBeneath(painter);
    }
}

QWidget *TScrollBox::Holder(const QWidget *child)
{
    // Spread over several holders: taking a region back out of one searches only its share.
    constexpr std::size_t Holders = 256;
    if (holders_.empty()) {
        // In one hidden widget: a region's move makes Qt look through the box's children again.
        waiting_ = new QWidget(this);
        waiting_->hide();
        for (std::size_t i = 0; i < Holders; ++i) {
            auto *holder = new QWidget(waiting_);
            holder->hide();
            holder->installEventFilter(this);
            holders_.push_back(holder);
        }
    }
    return holders_[(reinterpret_cast<quintptr>(child) >> 4) % Holders];
}

void TScrollBox::Cull(QWidget *child)
{
    auto *region = dynamic_cast<IScrollChild *>(child);
    if (culling_ || !region || !region->ShownByOwner())
        return;
    const bool inView = InView(child);
    if (inView != region->Culled())
        return;
    culling_ = true;
    if (inView) {
        region->Reparent(client_);
        region->SetCulled(false);
        region->SyncView();
        Restack(child, region->StackStamp());
    } else {
        region->SetCulled(true);
        region->Reparent(Holder(child));
    }
    culling_ = false;
}

void TScrollBox::Restack(QWidget *child, quint64 stamp)
{
    for (QObject *object : client_->children()) {
        const auto *region = dynamic_cast<const IScrollChild *>(object);
        if (object != child && region && !region->Culled() && region->StackStamp() > stamp) {
            child->stackUnder(static_cast<QWidget *>(object));
            return;
        }
    }
}

void TScrollBox::CullLater(QWidget *child)
{
    pendingCull_.insert(child);
    cullTimer_.start();
}

void TScrollBox::CullAll()
{
    // Copies: culling moves regions between the client area and the holders.
    const QObjectList shown = client_->children();
    for (QObject *object : shown)
        if (object->isWidgetType())
            Cull(static_cast<QWidget *>(object));
    for (QWidget *lifted : Lifted())
        Cull(lifted);
    for (QWidget *holder : holders_) {
        const QObjectList waiting = holder->children();
        for (QObject *object : waiting)
            Cull(static_cast<QWidget *>(object));
    }
}

bool TScrollBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == viewport() || watched == client_) {
        if (event->type() == QEvent::ChildAdded) {
            auto *child = static_cast<QChildEvent *>(event)->child();
            if (child->isWidgetType()) {
                child->installEventFilter(this);
                if (watched == client_)
                    Settle(static_cast<QWidget *>(child));
            }
        } else if (event->type() == QEvent::ChildRemoved) {
            QObject *child = static_cast<QChildEvent *>(event)->child();
            pendingCull_.remove(child);
            if (child == extent_.widestChild || child == extent_.tallestChild)
                UpdateRange();
        }
        return QAbstractScrollArea::eventFilter(watched, event);
    }
    // A region destroyed while it waits out of view leaves nothing to look at later.
    if (event->type() == QEvent::ChildRemoved)
        pendingCull_.remove(static_cast<QChildEvent *>(event)->child());
    if (culling_ || rezooming_ || !watched->isWidgetType() || watched->parent() == this
        || (waiting_ && watched->parent() == waiting_))
        return QAbstractScrollArea::eventFilter(watched, event);
    auto *child = static_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
        if (Counts(child)) {
            ChildGeometryChanged(child);
            CullLater(child);
        }
        break;
    case QEvent::Hide:
        if (child == extent_.widestChild || child == extent_.tallestChild)
            UpdateRange();
        break;
    case QEvent::ZOrderChange:
        if (child->parentWidget() == client_ && client_->children().constLast() == child)
            Settle(child);
        break;
    default:
        break;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

bool TScrollBox::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        client_->setGeometry(viewport()->rect());
        UpdateRange();
        CullAll();
    }
    return QAbstractScrollArea::viewportEvent(event);
}
