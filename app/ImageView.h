// Image1: shows the opened bitmap at the view's zoom and reports clicks and pointer moves.
#pragma once

#include <QImage>
#include <QWidget>

class QPainter;
class TScrollBox;

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
    // Also paints afresh all that is kept of the picture and the outlines.
    void SetZoomPercent(int percent);
    // The plain outlines over a client-area rectangle changed: what is kept there is painted again.
    void OutlinesChanged(const QRect &clientArea);

signals:
    void Clicked();
    void MouseMoved();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void Resize();
    // The part of this control the client area shows, and the client area's colour beneath it.
    QRect Shown() const;
    QColor PanelColour() const;
    void PaintPicture(QPainter &painter, const QRect &exposedRect);
    // Paints the stale part of what is kept again.
    void Compose(const TScrollBox &box);
    // Scales the part of the picture in view once, for all the paints until the view moves on.
    void Rescale(const QRect &exposed);

    QImage picture_;
    QImage scaled_;
    QRect scaledRect_; // where scaled_ lies in this control; empty when there is none
    // The picture with the plain outlines over it, for the part in view: a repaint that leaves
    // them alone, as when the selected hotspot moves, is then one copy.
    QImage composite_;
    QRect compositeRect_; // where composite_ lies in this control; empty when there is none
    QRect stale_;         // the part of it to paint again
    QSize imageSize_;
    int zoom_ = 100;
    bool pressed_ = false;
};
