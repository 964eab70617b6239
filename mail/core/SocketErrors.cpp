// Texts of the socket error codes.
#include "mail/core/MailErrors.h"

#include <map>

namespace mail {

ESocketError::ESocketError(int code) : EMailError(SocketErrorText(code)), Code(code) {}

std::string SocketErrorText(int code)
{
    static const std::map<int, std::string> texts = {
        {10000, "[0] No Error"},
        {10060, "[10060] Connection timed out"},
        {10061, "[10061] Connection refused"},
        {11001, "[11001] Host not found"},
    };
    const auto it = texts.find(code);
    return it != texts.end() ? it->second : "Error #" + std::to_string(code);
}

} // namespace mail
