#include "app/WhatsThisTag.h"

#include <QMouseEvent>
#include <QWidget>

namespace {
const char *const TagProperty = "Tag";
}

TWhatsThisTag::TWhatsThisTag(QWidget *control, int tag, Handler handler)
    : QObject(control), control_(control), handler_(std::move(handler))
{
    control->setProperty(TagProperty, tag);
    control->installEventFilter(this);
}

int TWhatsThisTag::TagOf(const QWidget *control) { return control->property(TagProperty).toInt(); }

bool TWhatsThisTag::eventFilter(QObject *watched, QEvent *event)
{
    // Filters see the events of a disabled control too; a disabled control takes no mouse action.
    if (watched == control_ && event->type() == QEvent::MouseButtonPress && control_->isEnabled())
        handler_(control_, static_cast<QMouseEvent *>(event));
    return false;
}
