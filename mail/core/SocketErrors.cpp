// Texts of the socket error codes and the mapping from POSIX errno values.
#include "mail/core/MailErrors.h"

#include <cerrno>
#include <unordered_map>

namespace mail {

ESocketError::ESocketError(int code) : EMailError(SocketErrorText(code)), Code(code) {}

std::string SocketErrorText(int code)
{
    static const std::unordered_map<int, std::string> texts = {
        {10000, "[0] No Error"},
        {10004, "[10004] Interrupted system call"},
        {10009, "[10009] Bad file number"},
        {10013, "[10013] Permission denied"},
        {10014, "[10014] Bad address"},
        {10022, "[10022] Invalid argument"},
        {10024, "[10024] Too many open files"},
        {10035, "[10035] Operation would block"},
        {10036, "[10036] Operation now in progress"},
        {10037, "[10037] Operation already in progress"},
        {10038, "[10038] Socket operation on non-socket"},
        {10039, "[10039] Destination address required"},
        {10040, "[10040] Message too long"},
        {10041, "[10041] Protocol wrong type for socket"},
        {10042, "[10042] Bad protocol option"},
        {10043, "[10043] Protocol not supported"},
        {10044, "[10044] Socket type not supported"},
        {10045, "[10045] Operation not supported on socket"},
        {10046, "[10046] Protocol family not supported"},
        {10047, "[10047] Address family not supported by protocol family"},
        {10048, "[10048] Address already in use"},
        {10049, "[10049] Can't assign requested address"},
        {10050, "[10050] Network is down"},
        {10051, "[10051] Network is unreachable"},
        {10052, "[10052] Net dropped connection or reset"},
        {10053, "[10053] Software caused connection abort"},
        {10054, "[10054] Connection reset by peer"},
        {10055, "[10055] No buffer space available"},
        {10056, "[10056] Socket is already connected"},
        {10057, "[10057] Socket is not connected"},
        {10058, "[10058] Can't send after socket shutdown"},
        {10059, "[10059] Too many references, can't splice"},
        {10060, "[10060] Connection timed out"},
        {10061, "[10061] Connection refused"},
        {10062, "[10062] Too many levels of symbolic links"},
        {10063, "[10063] File name too long"},
        {10064, "[10064] Host is down"},
        {10065, "[10065] No route to host"},
        {10066, "[10066] Directory not empty"},
        {10067, "[10067] Too many processes"},
        {10068, "[10068] Too many users"},
        {10069, "[10069] Disk quota exceeded"},
        {10070, "[10070] Stale NFS file handle"},
        {10071, "[10071] Too many levels of remote in path"},
        {10091, "[10091] Network subsystem is unavailable"},
        {10092, "[10092] Winsock DLL version out of range"},
        {10093, "[10093] Successful WSAStartup not yet performed"},
        {10094, "[10094] Graceful shutdown in progress"},
        {11001, "[11001] Host not found"},
        {11002, "[11002] Non-authoritative host not found"},
        {11003, "[11003] Non-recoverable error"},
        {11004, "[11004] Valid name, no data record of requested type"},
        {SocketCode::TimedOut, "Operation timed out"},
        {SocketCode::Canceled, "Operation has been canceled"},
        {SocketCode::ServerRequired, "Server property is required"},
        {SocketCode::InvalidWinsockVersion, "Invalid Winsock version"},
        {SocketCode::ResolveFailed, "Error resolving remote host"},
        {SocketCode::NotConnected, "You have to connect to the server first"},
        {SocketCode::FunctionNotFound, "Function %s not found"},
        {SocketCode::WinsockNotLoaded, "Winsock is not loaded"},
        {SocketCode::WinsockNotFound, "Winsock not found"},
        {SocketCode::SenderRequired, "The address of sender is required"},
        {SocketCode::RecipientRequired, "At least one Recipient, CC or BCC must be entered"},
        {SocketCode::MessageRequired, "MailMessage property must be assigned"},
    };
    const auto it = texts.find(code);
    return it != texts.end() ? it->second : "Error #" + std::to_string(code);
}

int SocketCodeFromErrno(int errnoValue)
{
    // The Windows Sockets codes are the BSD errno numbers offset by 10000, but Linux numbers
    // its errno values differently, so each one is named.
    static const std::unordered_map<int, int> codes = {
        {0, 10000},
        {EINTR, 10004},
        {EBADF, 10009},
        {EACCES, 10013},
        {EPERM, 10013},
        {EFAULT, 10014},
        {EINVAL, 10022},
        {EMFILE, 10024},
        {ENFILE, 10024},
        {EWOULDBLOCK, 10035},
        {EINPROGRESS, 10036},
        {EALREADY, 10037},
        {ENOTSOCK, 10038},
        {EDESTADDRREQ, 10039},
        {EMSGSIZE, 10040},
        {EPROTOTYPE, 10041},
        {ENOPROTOOPT, 10042},
        {EPROTONOSUPPORT, 10043},
        {ESOCKTNOSUPPORT, 10044},
        {EOPNOTSUPP, 10045},
        {EPFNOSUPPORT, 10046},
        {EAFNOSUPPORT, 10047},
        {EADDRINUSE, 10048},
        {EADDRNOTAVAIL, 10049},
        {ENETDOWN, 10050},
        {ENETUNREACH, 10051},
        {ENETRESET, 10052},
        {ECONNABORTED, 10053},
        {ECONNRESET, 10054},
        {EPIPE, 10054},
        {ENOBUFS, 10055},
        {EISCONN, 10056},
        {ENOTCONN, 10057},
        {ESHUTDOWN, 10058},
        {ETOOMANYREFS, 10059},
        {ETIMEDOUT, 10060},
        {ECONNREFUSED, 10061},
        {ELOOP, 10062},
        {ENAMETOOLONG, 10063},
        {EHOSTDOWN, 10064},
        {EHOSTUNREACH, 10065},
        {ENOTEMPTY, 10066},
        {EUSERS, 10068},
        {EDQUOT, 10069},
        {ESTALE, 10070},
        {EREMOTE, 10071},
    };
    const auto it = codes.find(errnoValue);
    return it != codes.end() ? it->second : errnoValue;
}

} // namespace mail
