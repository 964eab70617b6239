// Image1: shows the opened bitmap at its natural size and reports clicks and pointer moves.
#pragma once

#include <QImage>
#include <QWidget>

class TImageView : public QWidget {
    Q_OBJECT
public:
    explicit TImageView(QWidget *parent = nullptr);

    // Takes the picture by implicit sharing, so no second decoded copy is made.
    void SetPicture(const QImage &picture);
    const QImage &Picture() const { return picture_; }

signals:
    void Clicked();
    void MouseMoved();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QImage picture_;
    bool pressed_ = false;
};
