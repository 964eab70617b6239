// Makers for the plain controls that Mapolin's windows place at fixed positions.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

namespace controls {

// Label at a fixed place showing its text as plain text; a zero size means "as wide and high as its
// text" in the parent's font.
QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, QRect place, int alignment = 0,
                  bool wordWrap = false);
// Push button that Enter presses only while it has the focus (the window decides otherwise).
QPushButton *MakeButton(QWidget *parent, const char *name, const QString &text, QRect place);
// Editable drop-down list that keeps the text as typed, entries or not, and never adds entries.
QComboBox *MakeTextBox(QWidget *parent, const char *name, const QStringList &entries, QRect place);
// True when a label's text, laid out as the label lays it out, fits inside the label.
bool TextFits(const QLabel &label);

} // namespace controls
