#include "app/ColourSwatch.h"

#include <QMouseEvent>

TColourSwatch::TColourSwatch(QWidget *parent) : QLabel(parent)
{
    setAutoFillBackground(true);
    SetColour(Qt::black);
}

QColor TColourSwatch::Colour() const { return palette().color(QPalette::Window); }

void TColourSwatch::SetColour(const QColor &colour)
{
    QPalette swatch = palette();
    // Both states: the swatch shows the line colour also while it cannot be changed.
    swatch.setColor(QPalette::Active, QPalette::Window, colour);
    swatch.setColor(QPalette::Inactive, QPalette::Window, colour);
    swatch.setColor(QPalette::Disabled, QPalette::Window, colour);
    setPalette(swatch);
}

void TColourSwatch::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void TColourSwatch::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit Clicked();
}
