#include "mail/HostNameLookup.h"

#include "mail/SocketErrorCodes.h"

#include <QHostInfo>

#include <optional>

namespace mail {

THostNameLookup::~THostNameLookup()
{
    Abort();
}

void THostNameLookup::Abort()
{
    if (id_ >= 0)
        QHostInfo::abortHostLookup(id_);
    id_ = -1;
    // Dropping the context also drops a late answer aimed at a result that is gone.
    delete context_;
}

QHostAddress THostNameLookup::Resolve(const QString &host, TSocketWait &wait, int timeOut)
{
    QHostAddress direct;
    if (direct.setAddress(host) && direct.protocol() == QAbstractSocket::IPv4Protocol)
        return direct;

    Abort();
    context_ = new QObject;
    std::optional<QHostInfo> result;
    id_ = QHostInfo::lookupHost(host, context_, [&result](const QHostInfo &info) { result = info; });
    try {
        wait.Wait([&result] { return result.has_value(); }, timeOut);
    } catch (...) {
        Abort();
        throw;
    }
    id_ = -1;
    Abort();
    if (result->error() != QHostInfo::NoError)
        throw LookupErrorFromQt(result->error());
    const QList<QHostAddress> addresses = result->addresses();
    for (const QHostAddress &candidate : addresses)
        if (candidate.protocol() == QAbstractSocket::IPv4Protocol)
            return candidate;
    if (addresses.isEmpty())
        throw ESocketError(SocketCode::ResolveFailed);
    return addresses.first();
}

} // namespace mail
