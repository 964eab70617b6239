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

// The text shown for a socket error code: "[10061] Connection refused", or "Error #<code>".
std::string SocketErrorText(int code);

} // namespace mail
