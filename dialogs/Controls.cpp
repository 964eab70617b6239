#include "dialogs/Controls.h"

#include <QComboBox>
#include <QCompleter>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

namespace controls {

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, QRect place, int alignment,
                  bool wordWrap)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    // Qt would take a text holding "<...>" for markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
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

QComboBox *MakeTextBox(QWidget *parent, const char *name, const QStringList &entries, QRect place)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(entries);
    // Losing the focus, the box replaces a text that matches an entry as its completer matches,
    // so a case-blind completer would turn a typed "left" into the entry "LEFT".
    box->completer()->setCaseSensitivity(Qt::CaseSensitive);
    box->setCurrentIndex(-1);
    box->setEditText(QString());
    box->setGeometry(place);
    return box;
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
