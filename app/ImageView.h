// Image1: shows the opened bitmap at the view's zoom and reports clicks and pointer moves.
#pragma once

#include <QImage>
#include <QWidget>

class QPainter;

class TImageView : public QWidget {
    Q_OBJECT
public:
    explicit TImageView(QWidget *parent = nullptr);

    // Takes the picture by implicit sharing, so no second decoded copy is made.
    void SetPicture(const QImage &picture);
    const QImage &Picture() const { return picture_; }
    // The image's size in its own pixels, as the reader gave it; the control is this size zoomed.
    QSize ImageSize() const { return imageSize_; }
    void SetImageSize(const QSize &size);
    int ZoomPercent() const { return zoom_; }
    void SetZoomPercent(int percent);

signals:
    void Clicked();
    void MouseMoved();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void Resize();
    void PaintPicture(QPainter &painter, const QRect &exposedRect);
    // Scales the part of the picture in view once, for all the paints until the view moves on.
    void Rescale(const QRect &exposed);

    QImage picture_;
    QImage scaled_;
    QRect scaledRect_; // where scaled_ lies in this control; empty when there is none
    QSize imageSize_;
    int zoom_ = 100;
    bool pressed_ = false;
};
