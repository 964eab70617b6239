#include "dialogs/MapOptionsForm.h"

#include "dialogs/Controls.h"
#include "dialogs/Prompter.h"
#include "dialogs/WindowPlacement.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace controls;

namespace {
QLineEdit *MakeEdit(QWidget *parent, const char *name, QRect place, int helpContext)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(place);
    edit->setProperty("HelpContext", helpContext);
    return edit;
}
} // namespace

TfrmMapOptions::TfrmMapOptions(QWidget *owner) : TGradientForm(owner, BorderStyle::Dialog, biSystemMenu | biHelp)
{
    setObjectName(QStringLiteral("frmMapOptions"));
    SetCaption(QStringLiteral("Image Map Options"));
    SetClientSize(420, 230);
    QWidget *area = ClientArea();
    const int right = int(Qt::AlignRight | Qt::AlignTop);

    Label1 = MakeLabel(area, "Label1",
                       QStringLiteral("Each image map in a HTML document requires a unique name. Please enter the \n"
                                      "image map name to compile to HTML code. The image map can be formatted using\n"
                                      "standard image tags, which may be altered if required."),
                       QRect(14, 8, 393, 39), Qt::AlignHCenter | Qt::AlignTop);
    Label2 = MakeLabel(area, "Label2", QStringLiteral("Image Map Name"), QRect(131, 58, 84, 13), right);
    txtMapName = MakeEdit(area, "txtMapName", QRect(218, 56, 193, 21), 22);
    Label3 = MakeLabel(area, "Label3", QStringLiteral("Alternate Description (for text-only browsers)"),
                       QRect(9, 83, 206, 13), right);
    txtAltDesc = MakeEdit(area, "txtAltDesc", QRect(218, 80, 193, 21), 23);
    Label4 = MakeLabel(area, "Label4", QStringLiteral("Border Width"), QRect(153, 107, 62, 13), right);
    txtBorderWidth = MakeEdit(area, "txtBorderWidth", QRect(218, 104, 193, 21), 24);
    Label5 = MakeLabel(area, "Label5", QStringLiteral("Horizontal spacing from text"), QRect(85, 130, 0, 0));
    txtHoriz = MakeEdit(area, "txtHoriz", QRect(218, 128, 193, 21), 25);
    Label6 = MakeLabel(area, "Label6", QStringLiteral("Vertical spacing from text"), QRect(97, 153, 0, 0));
    txtVert = MakeEdit(area, "txtVert", QRect(218, 152, 193, 21), 26);
    Label7 = MakeLabel(area, "Label7", QStringLiteral("Alignment"), QRect(169, 178, 0, 0));
    cmbAlign = MakeTextBox(area, "cmbAlign",
                           {QStringLiteral("TOP"), QStringLiteral("MIDDLE"), QStringLiteral("BOTTOM"),
                            QStringLiteral("LEFT"), QStringLiteral("RIGHT")},
                           QRect(218, 176, 193, 21));
    cmbAlign->setProperty("HelpContext", 27);
    btnOk = MakeButton(area, "btnOk", QStringLiteral("Ok"), QRect(254, 202, 75, 25));
    btnCancel = MakeButton(area, "btnCancel", QStringLiteral("Cancel"), QRect(332, 202, 75, 25));

    QWidget *order[] = {txtMapName, txtAltDesc, txtBorderWidth, txtHoriz, txtVert, cmbAlign, btnOk, btnCancel};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    for (QLineEdit *number : {txtBorderWidth, txtHoriz, txtVert})
        number->installEventFilter(this);

    connect(btnOk, &QPushButton::clicked, this, &TfrmMapOptions::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmMapOptions::btnCancelClick);
    SetCancelButton(btnCancel);
    CentreOnScreen(*this);
}

void TfrmMapOptions::showEvent(QShowEvent *event)
{
    TGradientForm::showEvent(event);
    txtMapName->setFocus();
}

void TfrmMapOptions::btnOkClick()
{
    // Only an empty name is refused: blanks pass, and no other field is looked at.
    if (txtMapName->text().isEmpty()) {
        Prompter().Message(this, IPrompter::Kind::Plain, QStringLiteral("Mapolin"),
                           QStringLiteral("Please enter a map name"), QMessageBox::Ok);
        return;
    }
    SetModalResult(mrOk);
}

void TfrmMapOptions::btnCancelClick() { SetModalResult(mrCancel); }

bool TfrmMapOptions::txtBorderWidthKeyPress(const QKeyEvent &key)
{
    // Keys that move or end the dialog are not characters typed into the field.
    switch (key.key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    const QString text = key.text();
    if (text.isEmpty())
        return false; // arrows, Delete, Shift+Insert: no character is typed
    const QChar c = text.front();
    return !(text.size() == 1 && ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QChar(8)));
}

bool TfrmMapOptions::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        txtBorderWidthKeyPress(*static_cast<QKeyEvent *>(event)))
        return true;
    return TGradientForm::eventFilter(watched, event);
}
