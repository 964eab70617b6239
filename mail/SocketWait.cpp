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
    // The ticker must stop however the wait ends, also when done() throws.
    struct StopTicker {
        QTimer &timer;
        ~StopTicker() { timer.stop(); }
    } stopTicker{ticker_};

    auto *dispatcher = QThread::currentThread()->eventDispatcher();
    for (;;) {
        // Handle what is pending without blocking, so an event that is already there (bytes
        // buffered by an earlier read) ends the wait at once.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (done())
            return;
        if (canceled_)
            throw ECanceledError();
        if (timedOut_)
            throw ETimedOutError();
        // Sleep until something happens; the ticker wakes this at least once a second.
        if (dispatcher)
            dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

int SecondsLeft(const QDeadlineTimer &deadline)
{
    const qint64 left = deadline.remainingTime();
    if (left == 0)
        throw ETimedOutError();
    return static_cast<int>((left + 999) / 1000);
}

} // namespace mail
