#include "mail/SocketWait.h"

#include "mail/core/MailErrors.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>

namespace mail {

TSocketWait::TSocketWait(QObject *parent) : QObject(parent)
{
    ticker_.setInterval(1000);
    connect(&ticker_, &QTimer::timeout, this, [this] {
        if (--counter_ < 1)
            timedOut_ = true;
    });
}

void TSocketWait::Wait(const std::function<bool()> &done, int timeOutSeconds)
{
    counter_ = timeOutSeconds;
    timedOut_ = false;
    ticker_.start();
    auto *dispatcher = QThread::currentThread()->eventDispatcher();
    for (;;) {
        QCoreApplication::sendPostedEvents();
        if (dispatcher)
            dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        else
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (done()) {
            ticker_.stop();
            return;
        }
        if (canceled_) {
            ticker_.stop();
            throw ECanceledError();
        }
        if (timedOut_) {
            ticker_.stop();
            throw ETimedOutError();
        }
    }
}

} // namespace mail
