// The wait of every socket operation: processes events, then checks the awaited event, the
// cancel flag and the one-second time counter, in that order.
#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>

#include <functional>

namespace mail {

class TSocketWait : public QObject {
    Q_OBJECT
public:
    explicit TSocketWait(QObject *parent = nullptr);

    // Returns once done() holds; throws ECanceledError or ETimedOutError.
    void Wait(const std::function<bool()> &done, int timeOutSeconds);
    void Cancel() { canceled_ = true; }
    void ClearFlags() { canceled_ = false; timedOut_ = false; }
    bool Canceled() const { return canceled_; }

private:
    QTimer ticker_;
    int counter_ = 0;
    bool canceled_ = false;
    bool timedOut_ = false;
};

// The whole seconds left before the deadline, for one wait of an exchange that must end by it;
// throws ETimedOutError once it has passed.
int SecondsLeft(const QDeadlineTimer &deadline);

} // namespace mail
