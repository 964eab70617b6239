// Socket errors reported by Qt, turned into the Windows Sockets codes and texts users see.
#pragma once

#include "mail/core/MailErrors.h"

#include <QAbstractSocket>
#include <QHostInfo>

namespace mail {

// The Windows Sockets code for a Qt socket error, or 0 when there is none.
int SocketCodeFromQt(QAbstractSocket::SocketError error);

// The error to raise for the socket's last failure; unmapped failures keep Qt's own text.
ESocketError SocketErrorFromQt(const QAbstractSocket &socket);

// The error to raise for a failed host-name lookup.
ESocketError LookupErrorFromQt(QHostInfo::HostInfoError error);

} // namespace mail
