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

void PlaceOver(QWidget &window, const QWidget &owner)
{
    const QScreen *screen = ScreenOf(owner);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect box(QPoint(0, 0), FrameSize(window).boundedTo(area.size()));
    box.moveCenter(owner.frameGeometry().center());
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
