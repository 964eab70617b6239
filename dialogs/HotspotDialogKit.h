// Pieces shared by the two hotspot URL dialogs: their URL and target boxes and the HTML file chooser.
#pragma once

#include <QRect>
#include <QString>

class QComboBox;
class QPushButton;
class QWidget;

namespace hotspotkit {

// Editable URL box without entries.
QComboBox *MakeUrlBox(QWidget *parent, QRect place);
// Editable, sorted target box with the four standard frame names.
QComboBox *MakeTargetBox(QWidget *parent, QRect place);
// The small button with our open-folder glyph beside the URL box.
QPushButton *MakeOpenButton(QWidget *parent, QRect place);

// Asks for an HTML file starting in documentDir; a chosen file's full native path replaces the
// text of urlBox, a cancelled chooser leaves it alone.
void ChooseHtmlFile(QWidget *owner, const QString &documentDir, QComboBox *urlBox);

} // namespace hotspotkit
