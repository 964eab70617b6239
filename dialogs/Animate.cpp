#include "dialogs/Animate.h"

#include <QMouseEvent>
#include <QPainter>

TAnimate::TAnimate(QWidget *parent) : QWidget(parent) {}

void TAnimate::Open(const Art::Clip &clip)
{
    Stop();
    clip_ = clip;
    frame_ = 0;
    update();
}

void TAnimate::Play()
{
    if (clip_.frameCount > 0 && clip_.interval > 0)
        timer_.start(clip_.interval, Qt::PreciseTimer, this);
}

void TAnimate::Stop() { timer_.stop(); }

void TAnimate::paintEvent(QPaintEvent *)
{
    if (clip_.frameCount == 0)
        return;
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), clip_.strip, clip_.FrameRect(frame_));
}

void TAnimate::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != timer_.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    frame_ = (frame_ + 1) % clip_.frameCount;
    update();
}

void TAnimate::mousePressEvent(QMouseEvent *event) { event->accept(); }
