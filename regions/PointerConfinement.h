// Keeps the pointer inside a screen rectangle while a shape is drawn (best effort on this platform).
#pragma once

#include <QObject>
#include <QRect>

class TPointerConfinement : public QObject {
public:
    // Starts confining to area (screen coordinates) until destroyed.
    explicit TPointerConfinement(const QRect &area, QObject *parent = nullptr);
    ~TPointerConfinement() override;

    QRect Area() const { return area_; }
    // The nearest point of the area; the pointer positions a confined handler should see.
    QPoint Clamp(const QPoint &global) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QRect area_;
};
