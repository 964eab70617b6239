#include "dialogs/HotspotDialogKit.h"

#include "dialogs/Prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace hotspotkit {

namespace {
const char *const AutoSizeProperty = "AutoSize";
// 8 points at 96 dots per inch, the size the dialogs were laid out for.
constexpr int DialogPixelSize = 11;
constexpr int SmallestPixelSize = 8;
} // namespace

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, QRect place, int alignment,
                  bool wordWrap)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::Alignment(alignment ? alignment : int(Qt::AlignLeft | Qt::AlignTop)));
    label->setWordWrap(wordWrap);
    if (place.size().isEmpty()) {
        label->setProperty(AutoSizeProperty, true);
        label->move(place.topLeft());
        label->adjustSize();
    } else {
        label->setGeometry(place);
    }
    return label;
}

QComboBox *MakeUrlBox(QWidget *parent, QRect place)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("cmbURL"));
    box->setEditable(true);
    // Typing must never add entries: the box only holds the text being edited.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setGeometry(place);
    box->setProperty("HelpContext", 21);
    return box;
}

QComboBox *MakeTargetBox(QWidget *parent, QRect place)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("txtTarget"));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems({QStringLiteral("_blank"), QStringLiteral("_parent"), QStringLiteral("_self"),
                   QStringLiteral("_top")});
    box->model()->sort(0);
    box->setCurrentIndex(-1);
    box->setEditText(QString());
    box->setGeometry(place);
    box->setProperty("HelpContext", 20);
    return box;
}

QPushButton *MakeOpenButton(QWidget *parent, QRect place)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QStringLiteral("btnOpen"));
    button->setIcon(parent->style()->standardIcon(QStyle::SP_DirOpenIcon));
    button->setIconSize(QSize(16, 16));
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
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

void FitFont(QWidget *clientArea)
{
    QFont font = QApplication::font();
    const auto labels = clientArea->findChildren<QLabel *>();
    for (int size = DialogPixelSize; size >= SmallestPixelSize; --size) {
        font.setPixelSize(size);
        clientArea->setFont(font);
        bool fits = true;
        for (QLabel *label : labels) {
            if (label->property(AutoSizeProperty).toBool())
                label->adjustSize();
            else
                fits = fits && TextFits(*label);
        }
        if (fits)
            return;
    }
}

void ChooseHtmlFile(QWidget *owner, const QString &documentDir, QComboBox *urlBox)
{
    IPrompter::OpenFileRequest request;
    request.filter = QStringLiteral("HTML Files|*.html;*.htm|All Files|*.*");
    request.initialDir = documentDir;
    request.mustExist = true;
    request.hideReadOnly = true;
    const QString chosen = Prompter().OpenFile(owner, request);
    if (chosen.isEmpty())
        return;
    urlBox->setEditText(QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath()));
}

} // namespace hotspotkit
