// Animation control: plays a clip of equal frames in an endless loop, one frame per clip interval.
#pragma once

#include "resources/Art.h"

#include <QBasicTimer>
#include <QWidget>

class TAnimate : public QWidget {
    Q_OBJECT
public:
    explicit TAnimate(QWidget *parent = nullptr);

    // Takes the clip and shows its first frame; a playing animation stops.
    void Open(const Art::Clip &clip);
    // Plays from the frame shown, looping until Stop(); does nothing without frames.
    void Play();
    void Stop();
    bool Active() const { return timer_.isActive(); }
    int Frame() const { return frame_; }
    int FrameCount() const { return clip_.frameCount; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    // Taken, so that the release of the button pressed here comes here too.
    void mousePressEvent(QMouseEvent *event) override;

private:
    Art::Clip clip_;
    QBasicTimer timer_;
    int frame_ = 0;
};
