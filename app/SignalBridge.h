// Turns SIGTERM and SIGHUP into the application's shutdown message, so `kill` ends Mapolin normally.
#pragma once

#include <QObject>

class QSocketNotifier;

class TSignalBridge : public QObject {
    Q_OBJECT
public:
    explicit TSignalBridge(QObject *parent = nullptr);
    ~TSignalBridge() override;

private:
    void Drain();
    QSocketNotifier *notifier_ = nullptr;
};
