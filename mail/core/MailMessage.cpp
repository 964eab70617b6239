// The message's fields keep the length and case rules of their setters.
#include "mail/core/MailMessage.h"

#include <algorithm>

namespace mail {

namespace {

// At most MaxShortText characters, never cutting a UTF-8 sequence in two.
std::string Short(const std::string &text)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        if (++characters > MaxShortText)
            return text.substr(0, i);
    }
    return text;
}

} // namespace

TmsMailAddress::TmsMailAddress(const std::string &name, const std::string &address)
    : name_(Short(name)), address_(Short(address))
{
}

void TmsMailAddress::SetName(const std::string &name)
{
    name_ = Short(name);
}

void TmsMailAddress::SetAddress(const std::string &address)
{
    address_ = Short(address);
}

void TmsMessage::SetSubject(const std::string &subject)
{
    subject_ = Short(subject);
}

void TmsMessage::SetContentType(const std::string &contentType)
{
    contentType_ = Short(contentType);
    std::transform(contentType_.begin(), contentType_.end(), contentType_.begin(),
                   [](unsigned char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : char(c); });
}

} // namespace mail
