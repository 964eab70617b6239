// The line-colour swatch of the tool bar: a coloured box that reports a left click while enabled.
#pragma once

#include <QLabel>

class TColourSwatch : public QLabel {
    Q_OBJECT
public:
    explicit TColourSwatch(QWidget *parent = nullptr);

    QColor Colour() const;
    void SetColour(const QColor &colour);

signals:
    void Clicked();

protected:
    // Qt delivers no mouse events to a disabled widget's handlers, so a disabled swatch is inert.
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool pressed_ = false;
};
