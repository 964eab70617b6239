// Modal dialog that asks for the URL, target frame and status-bar text of a newly drawn hotspot.
#pragma once

#include "dialogs/GradForm.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TfrmHotSpot : public TGradientForm {
    Q_OBJECT
public:
    explicit TfrmHotSpot(QWidget *owner);

    QLabel *Label3 = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *cmbURL = nullptr;
    QPushButton *btnOpen = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *txtAlt = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *txtTarget = nullptr;
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;

    QString DocumentDir;
    QString URL;
    QString Target;
    QString StatusText;

    void FormCreate();
    void btnOpenClick();
    void btnOkClick();
    void btnCancelClick();
};
