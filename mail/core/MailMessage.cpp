// The message's fields keep the length and case rules of their setters.
#include "mail/core/MailMessage.h"

#include <algorithm>

namespace mail {

namespace {

std::string Short(const std::string &text)
{
    return text.substr(0, MaxShortText);
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
