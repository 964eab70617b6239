#include "regions/CursorTable.h"

#include <QGuiApplication>
#include <QHash>

namespace AppCursor {

namespace {
QHash<int, QCursor> &Table()
{
    static QHash<int, QCursor> table;
    return table;
}
void Override(const QCursor &cursor)
{
    if (QGuiApplication::overrideCursor())
        QGuiApplication::changeOverrideCursor(cursor);
    else
        QGuiApplication::setOverrideCursor(cursor);
}
} // namespace

void Register(int number, const QCursor &cursor) { Table().insert(number, cursor); }

QCursor Numbered(int number) { return Table().value(number, QCursor(Qt::ArrowCursor)); }

void Set(int number)
{
    if (number == crDefault) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        return;
    }
    Override(Numbered(number));
}

void SetShape(Qt::CursorShape shape)
{
    Override(QCursor(shape));
}

bool IsDefault() { return QGuiApplication::overrideCursor() == nullptr; }

} // namespace AppCursor
