#include "dialogs/Controls.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

namespace controls {

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, QRect place, int alignment,
                  bool wordWrap)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::Alignment(alignment ? alignment : int(Qt::AlignLeft | Qt::AlignTop)));
    label->setWordWrap(wordWrap);
    if (place.size().isEmpty()) {
        label->move(place.topLeft());
        label->adjustSize();
    } else {
        label->setGeometry(place);
    }
    return label;
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &text, QRect place)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

bool TextFits(const QLabel &label)
{
    const QFontMetrics metrics(label.font());
    int flags = int(label.alignment());
    if (label.wordWrap())
        flags |= Qt::TextWordWrap;
    const QRect box = label.contentsRect();
    // Lay out in an unbounded height so overflow shows up as a taller rectangle.
    const QRect needed = metrics.boundingRect(QRect(0, 0, box.width(), 10000), flags, label.text());
    return needed.width() <= box.width() && needed.height() <= box.height();
}

} // namespace controls
