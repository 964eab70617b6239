#include "app/ImageView.h"

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

void TImageView::paintEvent(QPaintEvent *event)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    const QRect area = event->rect() & picture_.rect();
    painter.drawImage(area.topLeft(), picture_, area);
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
