#include "app/ImageAreaKeys.h"

#include "app/MapEditor.h"

#include <QKeyEvent>
#include <QWidget>

TImageAreaKeys::TImageAreaKeys(QWidget *area, TMapEditor &editor) : QObject(area), editor_(editor)
{
    area->installEventFilter(this);
}

bool TImageAreaKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const int step = modifiers & Qt::ShiftModifier ? 10 : 1;
    const bool selected = editor_.Selection().What == TSelection::TWhat::Hotspot;
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        // With nothing selected the arrows scroll the image, as in any view.
        if (!selected || (modifiers & ~Qt::ShiftModifier))
            return false;
        editor_.Nudge(key->key() == Qt::Key_Left ? -step : key->key() == Qt::Key_Right ? step : 0,
                      key->key() == Qt::Key_Up ? -step : key->key() == Qt::Key_Down ? step : 0);
        return true;
    case Qt::Key_Delete:
        if (!selected)
            return false;
        editor_.btnDeleteClick();
        return true;
    case Qt::Key_D:
        if (modifiers != Qt::ControlModifier)
            return false;
        editor_.Duplicate();
        return true;
    case Qt::Key_Tab:
        editor_.SelectStep(1);
        return true;
    case Qt::Key_Backtab:
        editor_.SelectStep(-1);
        return true;
    default:
        return false;
    }
}
