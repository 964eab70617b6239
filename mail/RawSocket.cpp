#include "mail/RawSocket.h"

#include "mail/core/MailErrors.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace mail {

namespace {

[[noreturn]] void RaiseErrno(int error)
{
    throw ESocketError(SocketCodeFromErrno(error));
}

bool WouldBlock(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

// Enables a notifier for the length of one wait, so an idle socket does not wake the loop.
class TWatching {
public:
    explicit TWatching(QSocketNotifier *notifier) : notifier_(notifier) { notifier_->setEnabled(true); }
    ~TWatching() { notifier_->setEnabled(false); }
    TWatching(const TWatching &) = delete;
    TWatching &operator=(const TWatching &) = delete;

private:
    QSocketNotifier *notifier_;
};

} // namespace

TRawSocket::TRawSocket(Kind kind, TSocketWait &wait, QObject *parent) : QObject(parent), kind_(kind), wait_(wait) {}

TRawSocket::~TRawSocket()
{
    Close();
}

void TRawSocket::Open(int family)
{
    Close();
    const int type = (kind_ == Kind::Stream ? SOCK_STREAM : SOCK_DGRAM) | SOCK_NONBLOCK | SOCK_CLOEXEC;
    fd_ = ::socket(family, type, 0);
    if (fd_ < 0)
        RaiseErrno(errno);
    readable_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    writable_ = new QSocketNotifier(fd_, QSocketNotifier::Write, this);
    readable_->setEnabled(false);
    writable_->setEnabled(false);
}

void TRawSocket::Close()
{
    delete readable_;
    delete writable_;
    readable_ = writable_ = nullptr;
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void TRawSocket::Connect(const QHostAddress &address, quint16 port, int timeOut)
{
    sockaddr_storage storage{};
    socklen_t length = 0;
    if (address.protocol() == QAbstractSocket::IPv6Protocol) {
        auto *in6 = reinterpret_cast<sockaddr_in6 *>(&storage);
        in6->sin6_family = AF_INET6;
        in6->sin6_port = htons(port);
        const Q_IPV6ADDR bytes = address.toIPv6Address();
        std::memcpy(&in6->sin6_addr, bytes.c, sizeof bytes.c);
        in6->sin6_scope_id = address.scopeId().toUInt();
        length = sizeof *in6;
    } else {
        auto *in4 = reinterpret_cast<sockaddr_in *>(&storage);
        in4->sin_family = AF_INET;
        in4->sin_port = htons(port);
        in4->sin_addr.s_addr = htonl(address.toIPv4Address());
        length = sizeof *in4;
    }
    Open(storage.ss_family);
    if (::connect(fd_, reinterpret_cast<const sockaddr *>(&storage), length) == 0)
        return;
    if (errno != EINPROGRESS)
        RaiseErrno(errno);
    const TWatching watching(writable_);
    wait_.Wait([this] {
        pollfd entry{fd_, POLLOUT, 0};
        if (::poll(&entry, 1, 0) <= 0)
            return false;
        int error = 0;
        socklen_t size = sizeof error;
        if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
            error = errno;
        if (error != 0)
            RaiseErrno(error);
        return true;
    }, timeOut);
}

void TRawSocket::SendAll(const char *data, std::size_t size, int timeOut)
{
    std::size_t sent = 0;
    const TWatching watching(writable_);
    wait_.Wait([&] {
        while (sent < size) {
            const ssize_t n = ::send(fd_, data + sent, size - sent, MSG_NOSIGNAL);
            if (n < 0) {
                if (WouldBlock(errno))
                    return false;
                RaiseErrno(errno);
            }
            sent += std::size_t(n);
        }
        return true;
    }, timeOut);
}

std::size_t TRawSocket::Receive(char *buffer, std::size_t size, int timeOut)
{
    std::size_t received = 0;
    const TWatching watching(readable_);
    wait_.Wait([&] {
        const ssize_t n = ::recv(fd_, buffer, size, 0);
        if (n < 0) {
            if (WouldBlock(errno))
                return false;
            RaiseErrno(errno);
        }
        received = std::size_t(n);
        return true;
    }, timeOut);
    return received;
}

} // namespace mail
