#include "dialogs/AddHotspotForm.h"

#include "dialogs/Controls.h"
#include "dialogs/HotspotDialogKit.h"
#include "dialogs/Prompter.h"
#include "dialogs/WindowPlacement.h"
#include "output/HostSettings.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace controls;
using namespace hotspotkit;

TfrmHotSpot::TfrmHotSpot(QWidget *owner)
    : TGradientForm(owner, BorderStyle::Dialog, biSystemMenu | biHelp)
{
    setObjectName(QStringLiteral("frmHotSpot"));
    SetCaption(QStringLiteral("Add Hotspot URL"));
    SetClientSize(392, 177);
    QWidget *area = ClientArea();

    Label3 = MakeLabel(area, "Label3",
                       QStringLiteral("Enter the name of the URL (hypertext link) for this area. If this is a link\n"
                                      "to another Web page, the URL must begin with an \"http://\" tag. The optional \n"
                                      "target field specifies the target frame for this particular URL link."),
                       QRect(16, 8, 368, 39), Qt::AlignHCenter | Qt::AlignTop);
    Label1 = MakeLabel(area, "Label1", QStringLiteral("URL :"), QRect(24, 56, 0, 0));
    cmbURL = MakeUrlBox(area, QRect(64, 56, 249, 21));
    btnOpen = MakeOpenButton(area, QRect(312, 56, 25, 21));
    Label4 = MakeLabel(area, "Label4", QStringLiteral("Status Bar Text"), QRect(11, 78, 41, 27),
                       Qt::AlignHCenter | Qt::AlignTop, true);
    txtAlt = new QLineEdit(area);
    txtAlt->setObjectName(QStringLiteral("txtAlt"));
    txtAlt->setGeometry(64, 82, 273, 21);
    Label2 = MakeLabel(area, "Label2", QStringLiteral("Target :"), QRect(16, 112, 0, 0));
    txtTarget = MakeTargetBox(area, QRect(64, 112, 273, 21));
    btnOk = MakeButton(area, "btnOk", QStringLiteral("&Ok"), QRect(226, 144, 75, 25));
    btnCancel = MakeButton(area, "btnCancel", QStringLiteral("&Cancel"), QRect(304, 144, 75, 25));

    setTabOrder(cmbURL, btnOpen);
    setTabOrder(btnOpen, txtAlt);
    setTabOrder(txtAlt, txtTarget);
    setTabOrder(txtTarget, btnOk);
    setTabOrder(btnOk, btnCancel);

    connect(btnOpen, &QPushButton::clicked, this, &TfrmHotSpot::btnOpenClick);
    connect(btnOk, &QPushButton::clicked, this, &TfrmHotSpot::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmHotSpot::btnCancelClick);
    SetCancelButton(btnCancel);

    CentreOnScreen(*this);
    FormCreate();
}

void TfrmHotSpot::FormCreate() { DocumentDir = HostSettings::QuorixDocumentDir(); }

void TfrmHotSpot::btnOpenClick() { ChooseHtmlFile(this, DocumentDir, cmbURL); }

void TfrmHotSpot::btnOkClick()
{
    // Only an empty text is refused: blanks are taken as the user's URL.
    if (cmbURL->currentText().isEmpty()) {
        Prompter().Message(this, IPrompter::Kind::Plain, QStringLiteral("Mapolin"), QStringLiteral("Please enter a URL"),
                           QMessageBox::Ok);
        return;
    }
    URL = cmbURL->currentText();
    Target = txtTarget->currentText();
    StatusText = txtAlt->text();
    SetModalResult(mrOk);
}

void TfrmHotSpot::btnCancelClick() { SetModalResult(mrCancel); }
