// Modal dialog that asks, at each compile, for the map's name and the attributes of its IMG tag.
#pragma once

#include "dialogs/GradForm.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TfrmMapOptions : public TGradientForm {
    Q_OBJECT
public:
    explicit TfrmMapOptions(QWidget *owner);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *txtMapName = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *txtAltDesc = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *txtBorderWidth = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *txtHoriz = nullptr;
    QLabel *Label6 = nullptr;
    QLineEdit *txtVert = nullptr;
    QLabel *Label7 = nullptr;
    QComboBox *cmbAlign = nullptr;
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;

    void btnOkClick();
    void btnCancelClick();
    // The key filter of the three number fields: digits and backspace pass, any other typed
    // character is dropped. Returns true when the key is dropped.
    static bool txtBorderWidthKeyPress(const QKeyEvent &key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
};
