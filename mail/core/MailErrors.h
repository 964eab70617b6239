// Errors raised by the mail components; each carries the text the user is shown.
#pragma once

#include <stdexcept>
#include <string>

namespace mail {

class EMailError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A socket failure; Code is the Windows Sockets style code the text was made from.
class ESocketError : public EMailError {
public:
    explicit ESocketError(int code);
    ESocketError(int code, const std::string &text) : EMailError(text), Code(code) {}
    int Code = 0;
};

// A negative server reply; the text is the server's last reply line.
class EServerError : public EMailError {
public:
    EServerError(int code, const std::string &replyLine) : EMailError(replyLine), Code(code) {}
    int Code = 0;
};

class ETimedOutError : public EMailError {
public:
    ETimedOutError() : EMailError("Operation timed out") {}
};

class ECanceledError : public EMailError {
public:
    ECanceledError() : EMailError("Operation has been canceled") {}
};

class EMessageError : public EMailError {
public:
    using EMailError::EMailError;
};

// The component's own error codes; the Windows Sockets codes (10000-11004) are used as they are.
namespace SocketCode {
constexpr int NoError = 10000;
constexpr int WouldBlock = 10035;
constexpr int ConnectionReset = 10054;
constexpr int ConnectionTimedOut = 10060;
constexpr int ConnectionRefused = 10061;
constexpr int HostNotFound = 11001;
constexpr int NoRecovery = 11003;
constexpr int TimedOut = 57000;
constexpr int Canceled = 57001;
constexpr int ServerRequired = 57002;
constexpr int InvalidWinsockVersion = 57003;
constexpr int ResolveFailed = 57004;
constexpr int NotConnected = 57008;
constexpr int FunctionNotFound = 57010;
constexpr int WinsockNotLoaded = 57011;
constexpr int WinsockNotFound = 57012;
constexpr int SenderRequired = 57100;
constexpr int RecipientRequired = 57101;
constexpr int MessageRequired = 57102;
} // namespace SocketCode

// The text shown for a socket error code: "[10061] Connection refused", or "Error #<code>".
std::string SocketErrorText(int code);

// The Windows Sockets code for a POSIX errno value (ECONNREFUSED -> 10061); unknown values come
// back unchanged, so their text is "Error #<errno>".
int SocketCodeFromErrno(int errnoValue);

} // namespace mail
