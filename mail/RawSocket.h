// A non-blocking BSD socket that keeps the exact cause of every failure, so a connection reset
// is no orderly end and an ICMP refusal ends a datagram exchange at once.
#pragma once

#include "mail/SocketWait.h"

#include <QHostAddress>
#include <QObject>
#include <QSocketNotifier>

#include <cstddef>

namespace mail {

class TRawSocket : public QObject {
    Q_OBJECT
public:
    enum class Kind { Stream, Datagram };

    TRawSocket(Kind kind, TSocketWait &wait, QObject *parent = nullptr);
    ~TRawSocket() override;
    TRawSocket(const TRawSocket &) = delete;
    TRawSocket &operator=(const TRawSocket &) = delete;

    // Each call waits at most timeOut seconds through the wait it was given, so Cancel and the
    // time counter end it; socket failures raise ESocketError with the errno's code.
    void Connect(const QHostAddress &address, quint16 port, int timeOut);
    void SendAll(const char *data, std::size_t size, int timeOut);
    // What one receive delivers; 0 from a stream means the peer closed the connection in order.
    std::size_t Receive(char *buffer, std::size_t size, int timeOut);
    void Close();

private:
    void Open(int family);

    Kind kind_;
    TSocketWait &wait_;
    int fd_ = -1;
    QSocketNotifier *readable_ = nullptr;
    QSocketNotifier *writable_ = nullptr;
};

} // namespace mail
