// Borderless window that shows the product's artwork and version for two seconds at start.
#pragma once

#include <QDialog>

class QLabel;
class QTimer;

// The artwork filling a 471 x 285 client area and the version label over it, as the splash and
// About windows both show them; the window takes that client size, centred on the screen.
struct TArtwork {
    QLabel *image = nullptr;
    QLabel *version = nullptr;
};
TArtwork MakeArtwork(QDialog &form);

class TfrmSplash : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget *owner = nullptr);

    QLabel *Image1 = nullptr;
    QLabel *Label2 = nullptr;
    QTimer *Timer1 = nullptr;

    // Shows the window modally until it has closed itself; returns the modal result.
    int ShowModal();

    void FormActivate();
    void Timer1Timer();

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
};
