// Turns a host name into an address through the platform's resolver, inside a socket wait.
#pragma once

#include "mail/SocketWait.h"

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>

namespace mail {

class THostNameLookup {
public:
    THostNameLookup() = default;
    ~THostNameLookup();
    THostNameLookup(const THostNameLookup &) = delete;
    THostNameLookup &operator=(const THostNameLookup &) = delete;

    // A dotted IPv4 address is used as it is; anything else is looked up, IPv4 preferred.
    // Throws the lookup's ESocketError, "Error resolving remote host", or the wait's errors.
    QHostAddress Resolve(const QString &host, TSocketWait &wait, int timeOut);
    // Drops a lookup in progress; its late answer goes nowhere.
    void Abort();

private:
    QPointer<QObject> context_;
    int id_ = -1;
};

} // namespace mail
