#include "dialogs/fAbout.h"

#include "dialogs/Animate.h"
#include "dialogs/Prompter.h"
#include "dialogs/fSplash.h"

#include <QLabel>
#include <QMouseEvent>

TfrmAbout::TfrmAbout(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                         | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    const TArtwork artwork = MakeArtwork(*this);
    Image1 = artwork.image;
    Label2 = artwork.version;
    Image1->installEventFilter(this);

    aviEmail = new TAnimate(this);
    aviEmail->setObjectName(QStringLiteral("aviEmail"));
    aviEmail->setGeometry(363, 16, 88, 34);
    aviEmail->setToolTip(QStringLiteral("Email A Friend"));
    aviEmail->raise();

    FormCreate();
}

int TfrmAbout::ShowModal() { return ExecModal(*this); }

void TfrmAbout::FormCreate()
{
    aviEmail->Open(Art::Animation(QStringLiteral("EMAILAVI")));
    aviEmail->Play();
}

void TfrmAbout::Image1Click() { done(QDialog::Accepted); }

bool TfrmAbout::eventFilter(QObject *watched, QEvent *event)
{
    const bool mouse = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease;
    if (watched != Image1 || !mouse || static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
        return QDialog::eventFilter(watched, event);
    // The press is taken so that its release comes back to the artwork.
    if (event->type() == QEvent::MouseButtonRelease
        && Image1->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint()))
        Image1Click();
    return true;
}
