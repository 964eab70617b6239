#include "app/ZoomControl.h"

#include "app/ImageView.h"
#include "regions/BaseRegionClass.h"
#include "regions/ScrollBox.h"
#include "regions/core/ZoomMath.h"

#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

TZoomControl::TZoomControl(TScrollBox &box, TImageView &image, RegionVisitor forEachRegion, QObject *parent)
    : QObject(parent), box_(box), image_(image), forEachRegion_(std::move(forEachRegion))
{
    // The viewport sees the wheel over the client area and over a lifted region alike.
    box_.viewport()->installEventFilter(this);
}

int TZoomControl::Percent() const { return box_.ZoomPercent(); }

QPoint TZoomControl::Centre() const { return box_.Client()->rect().center(); }

void TZoomControl::ZoomTo(int percent, QPoint anchor)
{
    percent = std::clamp(percent, zoommath::MinPercent, zoommath::MaxPercent);
    if (percent == Percent())
        return;
    const QPoint kept = box_.ImagePointAt(anchor);
    const QPoint scroll(zoommath::ScrollKeeping(kept.x(), anchor.x(), percent),
                        zoommath::ScrollKeeping(kept.y(), anchor.y(), percent));
    const QSize content(zoommath::ViewStart(image_.ImageSize().width(), percent),
                        zoommath::ViewStart(image_.ImageSize().height(), percent));
    box_.Rezoom(percent, content, scroll, [this] {
        image_.SetZoomPercent(box_.ZoomPercent());
        image_.move(-box_.horizontalScrollBar()->value(), -box_.verticalScrollBar()->value());
        forEachRegion_([](TBaseRegion *region) { region->SyncView(); });
    });
    emit Zoomed(percent);
}

void TZoomControl::ZoomIn() { ZoomTo(zoommath::StepIn(Percent()), Centre()); }

void TZoomControl::ZoomOut() { ZoomTo(zoommath::StepOut(Percent()), Centre()); }

void TZoomControl::ActualSize() { ZoomTo(zoommath::ActualSize, Centre()); }

void TZoomControl::FitInWindow()
{
    const QSize image = image_.ImageSize();
    const QSize view = box_.maximumViewportSize();
    ZoomTo(zoommath::FitPercent(image.width(), image.height(), view.width(), view.height()), {});
}

bool TZoomControl::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && watched == box_.viewport()) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int delta = wheel->angleDelta().y();
            if (delta != 0)
                ZoomTo(delta > 0 ? zoommath::StepIn(Percent()) : zoommath::StepOut(Percent()),
                       wheel->position().toPoint());
            wheel->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
