#include "dialogs/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

const QScreen *ScreenOf(const QWidget &widget)
{
    return widget.screen() ? widget.screen() : QGuiApplication::primaryScreen();
}

// The frame's size: before a window is first shown, frameGeometry() is the client size only, and
// a window never resized takes its layout's size when shown.
QSize FrameSize(QWidget &window)
{
    if (!window.testAttribute(Qt::WA_Resized))
        window.adjustSize();
    return window.frameGeometry().size().expandedTo(window.size());
}

} // namespace

void CentreOnScreen(QWidget &window)
{
    const QScreen *screen = ScreenOf(window);
    if (!screen)
        return;
    QRect box(QPoint(0, 0), FrameSize(window));
    box.moveCenter(screen->availableGeometry().center());
    window.move(box.topLeft());
}

namespace {

// Moves the box inside the area and places the window there, shrunk to the area if need be.
void PlaceInside(QWidget &window, QRect box, const QRect &area)
{
    // Right and bottom first, so a window larger than the space left still shows its top-left.
    if (box.right() > area.right())
        box.moveRight(area.right());
    if (box.bottom() > area.bottom())
        box.moveBottom(area.bottom());
    if (box.left() < area.left())
        box.moveLeft(area.left());
    if (box.top() < area.top())
        box.moveTop(area.top());
    window.resize(window.size().boundedTo(area.size()));
    window.move(box.topLeft());
}

} // namespace

void PlaceOver(QWidget &window, const QWidget &owner)
{
    const QScreen *screen = ScreenOf(owner);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect box(QPoint(0, 0), FrameSize(window).boundedTo(area.size()));
    box.moveCenter(owner.frameGeometry().center());
    PlaceInside(window, box, area);
}

void PlaceBeside(QWidget &window, const QWidget &owner, Qt::Orientation direction)
{
    const QScreen *screen = ScreenOf(owner);
    if (!screen)
        return;
    constexpr int Gap = 8;
    const QRect area = screen->availableGeometry();
    const QRect by = owner.frameGeometry();
    QRect box(QPoint(0, 0), FrameSize(window).boundedTo(area.size()));
    if (direction == Qt::Horizontal) {
        box.moveTo(by.right() + 1 + Gap, by.top());
        // No room on the right: on the left, if there is room there.
        if (box.right() > area.right() && by.left() - Gap - box.width() >= area.left())
            box.moveRight(by.left() - 1 - Gap);
    } else {
        box.moveTo(by.left(), by.bottom() + 1 + Gap);
        if (box.bottom() > area.bottom() && by.top() - Gap - box.height() >= area.top())
            box.moveBottom(by.top() - 1 - Gap);
    }
    PlaceInside(window, box, area);
}
