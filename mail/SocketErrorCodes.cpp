#include "mail/SocketErrorCodes.h"

namespace mail {

int SocketCodeFromQt(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return 10061;
    case QAbstractSocket::RemoteHostClosedError:
        return 10054;
    case QAbstractSocket::HostNotFoundError:
        return 11001;
    case QAbstractSocket::SocketAccessError:
        return 10013;
    case QAbstractSocket::SocketResourceError:
        return 10055;
    case QAbstractSocket::SocketTimeoutError:
        return 10060;
    case QAbstractSocket::DatagramTooLargeError:
        return 10040;
    case QAbstractSocket::NetworkError:
        return 10050;
    case QAbstractSocket::AddressInUseError:
        return 10048;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return 10049;
    case QAbstractSocket::UnsupportedSocketOperationError:
        return 10045;
    case QAbstractSocket::UnfinishedSocketOperationError:
        return 10036;
    case QAbstractSocket::TemporaryError:
        return 10035;
    case QAbstractSocket::OperationError:
        return 10022;
    default:
        return 0;
    }
}

ESocketError SocketErrorFromQt(const QAbstractSocket &socket)
{
    if (const int code = SocketCodeFromQt(socket.error()))
        return ESocketError(code);
    return ESocketError(-1, socket.errorString().toStdString());
}

ESocketError LookupErrorFromQt(QHostInfo::HostInfoError error)
{
    return ESocketError(error == QHostInfo::HostNotFound ? SocketCode::HostNotFound : SocketCode::NoRecovery);
}

} // namespace mail
