// Zoom of the image area: the picture and the regions are shown larger or smaller while every
// coordinate stays an image pixel; Ctrl+wheel zooms about the pointer.
#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

class TBaseRegion;
class TImageView;
class TScrollBox;

class TZoomControl : public QObject {
    Q_OBJECT
public:
    using RegionVisitor = std::function<void(const std::function<void(TBaseRegion *)> &)>;
    TZoomControl(TScrollBox &box, TImageView &image, RegionVisitor forEachRegion, QObject *parent = nullptr);

    int Percent() const;
    // Zooms to percent (held within the limits) keeping the image pixel under anchor, a point of
    // the image area, where it is.
    void ZoomTo(int percent, QPoint anchor);
    void ZoomIn();
    void ZoomOut();
    void ActualSize();
    void FitInWindow();

signals:
    void Zoomed(int percent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPoint Centre() const;

    TScrollBox &box_;
    TImageView &image_;
    RegionVisitor forEachRegion_;
};
