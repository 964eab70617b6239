// Modal dialog that asks for the map's default URL and target frame after an image is opened.
#pragma once

#include "dialogs/GradForm.h"

class QComboBox;
class QLabel;
class QPushButton;

class TfrmDefaultHotSpot : public TGradientForm {
    Q_OBJECT
public:
    explicit TfrmDefaultHotSpot(QWidget *owner);

    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *cmbURL = nullptr;
    QPushButton *btnOpen = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *txtTarget = nullptr;
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;

    QString DocumentDir;
    QString URL;
    QString Target;

    void FormCreate();
    void btnOpenClick();
    void btnOkClick();
    void btnCancelClick();
};
