// Writes a TmsMessage as the header-and-body text that is sent after DATA.
#pragma once

#include "mail/core/MailMessage.h"

#include <string>

namespace mail {

// Writes the message text; the message itself is never changed, so writing it again gives the
// same text.
class TmsMessageEncoder {
public:
    // Throws EMessageError for an address, display name, subject, content type or header line
    // that could break out of its command or header line.
    static void CheckSafe(const TmsMessage &message);

    // The text as it goes after DATA: every line ends in CR LF, line breaks inside body entries
    // split them into lines, and a line beginning with "." carries one more.
    static std::string Write(const TmsMessage &message);
};

} // namespace mail
