#include "dialogs/HotspotDialogKit.h"

#include "dialogs/Controls.h"
#include "dialogs/Prompter.h"
#include "resources/Art.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>

namespace hotspotkit {

QComboBox *MakeUrlBox(QWidget *parent, QRect place)
{
    QComboBox *box = controls::MakeTextBox(parent, "cmbURL", {}, place);
    box->setProperty("HelpContext", 21);
    return box;
}

QComboBox *MakeTargetBox(QWidget *parent, QRect place)
{
    QComboBox *box = controls::MakeTextBox(
        parent, "txtTarget",
        {QStringLiteral("_blank"), QStringLiteral("_parent"), QStringLiteral("_self"), QStringLiteral("_top")}, place);
    box->model()->sort(0);
    box->setProperty("HelpContext", 20);
    return box;
}

QPushButton *MakeOpenButton(QWidget *parent, QRect place)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QStringLiteral("btnOpen"));
    button->setIcon(QIcon(Art::Glyph(QStringLiteral("open"))));
    button->setIconSize(QSize(21, 17));
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
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
