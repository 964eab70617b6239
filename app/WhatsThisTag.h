// Gives a control with a help tag its right-click "What's This?" menu, only while it is enabled.
#pragma once

#include <QObject>

#include <functional>

class QMouseEvent;
class QWidget;

class TWhatsThisTag : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(QWidget *control, QMouseEvent *event)>;
    // Watches control (and is owned by it); handler sees its mouse presses.
    TWhatsThisTag(QWidget *control, int tag, Handler handler);

    static int TagOf(const QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *control_;
    Handler handler_;
};
