// Pieces shared by the two hotspot URL dialogs: their controls, font fitting and the HTML file chooser.
#pragma once

#include <QRect>
#include <QString>

class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

namespace hotspotkit {

// Label at a fixed place; a zero size means "as wide and high as its text".
QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, QRect place,
                  int alignment = 0, bool wordWrap = false);
// Editable URL box without entries.
QComboBox *MakeUrlBox(QWidget *parent, QRect place);
// Editable, sorted target box with the four standard frame names.
QComboBox *MakeTargetBox(QWidget *parent, QRect place);
// The small button with the open-folder glyph beside the URL box.
QPushButton *MakeOpenButton(QWidget *parent, QRect place);
QPushButton *MakeButton(QWidget *parent, const char *name, const QString &text, QRect place);

// Applies the platform's default font at a small dialog size, shrunk until every label of the
// client area shows its whole text inside its fixed box.
void FitFont(QWidget *clientArea);
// True when a label's text, laid out as the label lays it out, fits inside the label.
bool TextFits(const QLabel &label);

// Asks for an HTML file starting in documentDir; a chosen file's full native path replaces the
// text of urlBox, a cancelled chooser leaves it alone.
void ChooseHtmlFile(QWidget *owner, const QString &documentDir, QComboBox *urlBox);

} // namespace hotspotkit
