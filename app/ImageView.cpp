#include "app/ImageView.h"

#include "regions/core/ZoomMath.h"

#include <QMouseEvent>
#include <QPainter>

TImageView::TImageView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Image1"));
    setMouseTracking(true);
}

void TImageView::SetPicture(const QImage &picture)
{
    picture_ = picture;
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
    Resize();
    update();
}

void TImageView::Resize()
{
    resize(zoommath::ViewStart(imageSize_.width(), zoom_), zoommath::ViewStart(imageSize_.height(), zoom_));
}

void TImageView::paintEvent(QPaintEvent *event)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    if (zoom_ == zoommath::ActualSize) {
        const QRect area = event->rect() & picture_.rect();
        painter.drawImage(area.topLeft(), picture_, area);
        return;
    }
    // Only the exposed part is scaled, so a huge image at a high zoom costs what the view shows.
    const QRect exposed = event->rect();
    const QRect source = QRect(QPoint(zoommath::ImageAt(exposed.left(), zoom_), zoommath::ImageAt(exposed.top(), zoom_)),
                               QPoint(zoommath::ImageAt(exposed.right(), zoom_), zoommath::ImageAt(exposed.bottom(), zoom_)))
        & picture_.rect();
    if (source.isEmpty())
        return;
    const QRect target(QPoint(zoommath::ViewStart(source.left(), zoom_), zoommath::ViewStart(source.top(), zoom_)),
                       QPoint(zoommath::ViewStart(source.right() + 1, zoom_) - 1,
                              zoommath::ViewStart(source.bottom() + 1, zoom_) - 1));
    // Pixels stay sharp when enlarged; a reduced picture is smoothed so that it stays legible.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom_ < zoommath::ActualSize);
    painter.drawImage(target, picture_, source);
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
