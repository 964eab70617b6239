#include "dialogs/AddDefaultHotspotForm.h"

#include "dialogs/Controls.h"
#include "dialogs/HotspotDialogKit.h"
#include "dialogs/WindowPlacement.h"
#include "output/HostSettings.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace controls;
using namespace hotspotkit;

TfrmDefaultHotSpot::TfrmDefaultHotSpot(QWidget *owner)
    : TGradientForm(owner, BorderStyle::Dialog, biSystemMenu | biHelp)
{
    setObjectName(QStringLiteral("frmDefaultHotSpot"));
    SetCaption(QStringLiteral("Add Default URL"));
    SetClientSize(392, 173);
    QWidget *area = ClientArea();

    Label3 = MakeLabel(
        area, "Label3",
        QStringLiteral("Image maps can have a default URL (hypertext link). If the user clicks on an area\n"
                       "of the image not covered by a clickable region, the browser goes to this default \n"
                       "page. If the URL goes to another Web page, it must begin with an \"http://\" tag."),
        QRect(5, 0, 382, 39), Qt::AlignHCenter | Qt::AlignTop);
    Label4 = MakeLabel(area, "Label4",
                       QStringLiteral("The optional target field specifies the target frame for this particular URL link."),
                       QRect(16, 40, 0, 0));
    Label5 = MakeLabel(area, "Label5", QStringLiteral("(Note: The default tag only works in Netscape)"),
                       QRect(86, 56, 0, 0));
    Label1 = MakeLabel(area, "Label1", QStringLiteral("URL :"), QRect(24, 73, 0, 0));
    cmbURL = MakeUrlBox(area, QRect(64, 73, 249, 21));
    btnOpen = MakeOpenButton(area, QRect(312, 73, 25, 21));
    Label2 = MakeLabel(area, "Label2", QStringLiteral("Target :"), QRect(16, 105, 0, 0));
    txtTarget = MakeTargetBox(area, QRect(64, 104, 273, 21));
    btnOk = MakeButton(area, "btnOk", QStringLiteral("&Ok"), QRect(222, 137, 75, 25));
    btnCancel = MakeButton(area, "btnCancel", QStringLiteral("&Cancel"), QRect(300, 137, 75, 25));

    setTabOrder(cmbURL, btnOpen);
    setTabOrder(btnOpen, txtTarget);
    setTabOrder(txtTarget, btnOk);
    setTabOrder(btnOk, btnCancel);

    connect(btnOpen, &QPushButton::clicked, this, &TfrmDefaultHotSpot::btnOpenClick);
    connect(btnOk, &QPushButton::clicked, this, &TfrmDefaultHotSpot::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmDefaultHotSpot::btnCancelClick);
    SetCancelButton(btnCancel);

    CentreOnScreen(*this);
    FormCreate();
}

void TfrmDefaultHotSpot::FormCreate() { DocumentDir = HostSettings::QuorixDocumentDir(); }

void TfrmDefaultHotSpot::btnOpenClick() { ChooseHtmlFile(this, DocumentDir, cmbURL); }

// An empty URL is accepted: it leaves the map without a default link.
void TfrmDefaultHotSpot::btnOkClick()
{
    URL = cmbURL->currentText();
    Target = txtTarget->currentText();
    SetModalResult(mrOk);
}

void TfrmDefaultHotSpot::btnCancelClick() { SetModalResult(mrCancel); }
