// An event filter that hands every event it sees to a function; used for application-wide hooks.
#pragma once

#include <QObject>

#include <functional>

class TEventHook : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(QObject *watched, QEvent *event)>;
    TEventHook(Handler handler, QObject *parent) : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Never marks an event as handled: the hook only looks.
        handler_(watched, event);
        return false;
    }

private:
    Handler handler_;
};
