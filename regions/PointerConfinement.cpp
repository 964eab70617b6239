#include "regions/PointerConfinement.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMouseEvent>

#include <algorithm>

TPointerConfinement::TPointerConfinement(const QRect &area, QObject *parent) : QObject(parent), area_(area)
{
    QCoreApplication::instance()->installEventFilter(this);
}

TPointerConfinement::~TPointerConfinement() { QCoreApplication::instance()->removeEventFilter(this); }

QPoint TPointerConfinement::Clamp(const QPoint &global) const
{
    if (area_.isEmpty())
        return global;
    return {std::clamp(global.x(), area_.left(), area_.right()),
            std::clamp(global.y(), area_.top(), area_.bottom())};
}

bool TPointerConfinement::eventFilter(QObject *watched, QEvent *event)
{
    // Each move reaches the window and then the widget; putting the pointer back once is enough.
    if (event->type() == QEvent::MouseMove && watched->isWidgetType()) {
        const QPoint global = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        const QPoint inside = Clamp(global);
        if (inside != global)
            QCursor::setPos(inside);
    }
    return QObject::eventFilter(watched, event);
}
