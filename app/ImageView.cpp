#include "app/ImageView.h"

#include "regions/ScrollBox.h"
#include "regions/core/ZoomMath.h"

#include <QMouseEvent>
#include <QPainter>

#include <utility>

TImageView::TImageView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Image1"));
    setMouseTracking(true);
}

void TImageView::SetPicture(const QImage &picture)
{
    picture_ = picture;
    scaledRect_ = {};
    compositeRect_ = {};
    update();
}

void TImageView::SetImageSize(const QSize &size)
{
    imageSize_ = size;
    Resize();
}

void TImageView::SetZoomPercent(int percent)
{
    zoom_ = percent;
    scaledRect_ = {};
    scaled_ = QImage();
    compositeRect_ = {};
    Resize();
    update();
}

void TImageView::Resize()
{
    resize(zoommath::ViewStart(imageSize_.width(), zoom_), zoommath::ViewStart(imageSize_.height(), zoom_));
}

QRect TImageView::Shown() const { return QRect(mapFromParent(QPoint(0, 0)), parentWidget()->size()) & rect(); }

QColor TImageView::PanelColour() const { return parentWidget()->palette().color(parentWidget()->backgroundRole()); }

void TImageView::OutlinesChanged(const QRect &clientArea)
{
    stale_ |= clientArea.translated(-pos()) & compositeRect_;
}

void TImageView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const TScrollBox *box = TScrollBox::Of(this);
    if (!box || !box->PaintsOutlines()) {
        PaintPicture(painter, event->rect());
        return;
    }
    const QRect shown = Shown();
    if (shown != compositeRect_) {
        compositeRect_ = shown;
        composite_ = QImage(shown.size(), QImage::Format_RGB32);
        stale_ = shown;
    }
    Compose(*box);
    const QRect exposed = event->rect() & compositeRect_;
    painter.drawImage(exposed.topLeft(), composite_, exposed.translated(-compositeRect_.topLeft()));
}

void TImageView::changeEvent(QEvent *event)
{
    // What is kept lies on the client area's colour.
    if (event->type() == QEvent::PaletteChange)
        compositeRect_ = {};
    QWidget::changeEvent(event);
}

void TImageView::Compose(const TScrollBox &box)
{
    const QRect area = std::exchange(stale_, QRect());
    if (area.isEmpty())
        return;
    QPainter painter(&composite_);
    painter.translate(-compositeRect_.topLeft());
    painter.setClipRect(area);
    // On the client area's colour, as the picture is shown over it.
    painter.fillRect(area, PanelColour());
    PaintPicture(painter, area);
    painter.resetTransform();
    box.PaintOutlines(painter, this, area, compositeRect_.topLeft());
}

void TImageView::PaintPicture(QPainter &painter, const QRect &exposedRect)
{
    if (picture_.isNull())
        return;
    if (zoom_ == zoommath::ActualSize) {
        const QRect area = exposedRect & picture_.rect();
        painter.drawImage(area.topLeft(), picture_, area);
        return;
    }
    // Only what the view shows is scaled, so a huge image at a high zoom costs what is in view.
    const QRect shown = Shown();
    const QRect exposed = exposedRect & shown;
    if (!scaledRect_.contains(exposed))
        Rescale(shown);
    const QRect area = exposed & scaledRect_;
    painter.drawImage(area.topLeft(), scaled_, area.translated(-scaledRect_.topLeft()));
}

void TImageView::Rescale(const QRect &area)
{
    const QRect source =
        QRect(QPoint(zoommath::ImageAt(area.left(), zoom_), zoommath::ImageAt(area.top(), zoom_)),
              QPoint(zoommath::ImageAt(area.right(), zoom_), zoommath::ImageAt(area.bottom(), zoom_)))
        & picture_.rect();
    scaledRect_ = {};
    if (source.isEmpty())
        return;
    scaledRect_ = QRect(QPoint(zoommath::ViewStart(source.left(), zoom_), zoommath::ViewStart(source.top(), zoom_)),
                        QPoint(zoommath::ViewStart(source.right() + 1, zoom_) - 1,
                               zoommath::ViewStart(source.bottom() + 1, zoom_) - 1));
    // Opaque, on the area's own background: copied to the screen without blending each time.
    scaled_ = QImage(scaledRect_.size(), QImage::Format_RGB32);
    scaled_.fill(PanelColour());
    QPainter painter(&scaled_);
    // Pixels stay sharp when enlarged; a reduced picture is smoothed so that it stays legible.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom_ < zoommath::ActualSize);
    painter.drawImage(QRect(QPoint(0, 0), scaledRect_.size()), picture_, source);
}

void TImageView::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
}

void TImageView::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a left press and release over the image, like a control's click.
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit Clicked();
}

void TImageView::mouseMoveEvent(QMouseEvent *) { emit MouseMoved(); }
