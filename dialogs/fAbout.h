// The About window: the product's artwork and version, with the animation that e-mails a friend.
#pragma once

#include <QDialog>

class QLabel;
class TAnimate;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget *owner = nullptr);

    QLabel *Image1 = nullptr;
    QLabel *Label2 = nullptr;
    TAnimate *aviEmail = nullptr;

    // Shows the window modally; OK after a click on the artwork, Cancel after the close box.
    int ShowModal();

    void FormCreate();
    void Image1Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
