// Errors raised by the HTTP client of the DNS list file.
#pragma once

#include "mail/core/MailErrors.h"

#include <string>

namespace mail {

// The server answered with a status of 400 or above; the text is its reason phrase.
class EHttpException : public EMailError {
public:
    EHttpException(int code, const std::string &reasonPhrase)
        : EMailError(reasonPhrase), Code(code) {}
    int Code = 0;
};

// An address, a redirection or a response the client refuses to use.
class EHttpProtocolError : public EMailError {
public:
    using EMailError::EMailError;
};

} // namespace mail
