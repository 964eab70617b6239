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
int &Number()
{
    static int number = crDefault;
    return number;
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
    Number() = number;
    if (number == crDefault) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        return;
    }
    Override(Numbered(number));
}

void SetShape(Qt::CursorShape shape)
{
    Number() = -1;
    Override(QCursor(shape));
}

bool IsDefault() { return QGuiApplication::overrideCursor() == nullptr; }

Qt::CursorShape CurrentShape()
{
    const QCursor *c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::ArrowCursor;
}

int CurrentNumber() { return IsDefault() ? crDefault : Number(); }

} // namespace AppCursor
