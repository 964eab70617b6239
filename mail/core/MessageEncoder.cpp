// Header layout, MIME body headers and the body in 7bit or quoted-printable form.
#include "mail/core/MessageEncoder.h"

#include "mail/core/EncodedWords.h"
#include "mail/core/MailErrors.h"
#include "mail/core/QuotedPrintable.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace mail {

namespace {

// Plain text longer than this on one line goes quoted-printable.
constexpr std::size_t MaxPlainLine = 255;
constexpr std::string_view Indent = "          ";

bool HasLineBreakOrNul(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool IsUnsafeAddress(std::string_view address)
{
    // The address goes between angle brackets in commands and headers.
    return HasLineBreakOrNul(address) || address.find_first_of("<>") != std::string_view::npos;
}

void CheckMailbox(const TmsMailAddress &mailbox, const char *addressWhat)
{
    if (IsUnsafeAddress(mailbox.Address()))
        throw EMessageError(std::string("Invalid character in ") + addressWhat);
    if (HasLineBreakOrNul(mailbox.Name()))
        throw EMessageError("Invalid character in a display name");
}

void PutLine(std::string &out, std::string_view line)
{
    if (!line.empty() && line.front() == '.')
        out += '.';
    out += line;
    out += "\r\n";
}

std::string Padded(std::string_view label)
{
    std::string text(label);
    text.resize(std::max<std::size_t>(Indent.size(), text.size()), ' ');
    return text;
}

std::string Mailbox(const TmsMailAddress &mailbox)
{
    return EncodeDisplayName(mailbox.Name()) + " <" + mailbox.Address() + ">";
}

void PutAddressList(std::string &out, std::string_view label, const TmsAddressList &list)
{
    std::vector<const TmsMailAddress *> entries;
    for (const auto &entry : list)
        if (!entry.Address().empty())
            entries.push_back(&entry);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::string line = i == 0 ? Padded(label) : std::string(Indent);
        line += Mailbox(*entries[i]);
        if (i + 1 < entries.size())
            line += ',';
        PutLine(out, line);
    }
}

std::string_view HeaderName(std::string_view line)
{
    std::string_view name = line.substr(0, line.find(':'));
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
        name.remove_suffix(1);
    return name;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

bool IsOwnHeader(std::string_view line)
{
    static constexpr std::array<std::string_view, 11> own = {
        "From", "To", "CC", "BCC", "Return-Receipt-To", "X-Priority", "Subject", "Mime-Version",
        "Content-Type", "X-Encoding", "Content-Transfer-Encoding"};
    const std::string_view name = HeaderName(line);
    return std::any_of(own.begin(), own.end(), [name](std::string_view o) { return EqualsIgnoringCase(name, o); });
}

const char *CharSetName(TmsCharSet charSet)
{
    switch (charSet) {
    case TmsCharSet::csISO8859:
        return "iso-8859-1";
    case TmsCharSet::csISO2022jp:
        return "iso-2022-jp";
    case TmsCharSet::csUSASCII:
        break;
    }
    return "us-ascii";
}

// Calls fn for every line of the body; CR LF, a lone CR and a lone LF all end a line, so no
// bare line-break character reaches the wire.
template <typename Fn>
void ForEachBodyLine(const std::vector<std::string> &body, Fn &&fn)
{
    // A plain scan for the two line-end bytes: find_first_of asks memchr once per character.
    const auto lineEnd = [](std::string_view text) {
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\r' || text[i] == '\n')
                return i;
        return std::string_view::npos;
    };
    for (const std::string &entry : body) {
        std::string_view rest(entry);
        for (;;) {
            const std::size_t pos = lineEnd(rest);
            if (pos == std::string_view::npos) {
                fn(rest);
                break;
            }
            fn(rest.substr(0, pos));
            const std::size_t skip = rest[pos] == '\r' && pos + 1 < rest.size() && rest[pos + 1] == '\n' ? 2 : 1;
            rest.remove_prefix(pos + skip);
            if (rest.empty())
                break;
        }
    }
}

} // namespace

void TmsMessageEncoder::CheckSafe(const TmsMessage &message)
{
    CheckMailbox(message.Sender, "the sender's address");
    for (const TmsAddressList *list : {&message.Recipients, &message.CC, &message.BCC})
        for (const auto &entry : *list)
            CheckMailbox(entry, "a recipient's address");
    if (HasLineBreakOrNul(message.Subject()))
        throw EMessageError("Invalid character in the subject");
    if (HasLineBreakOrNul(message.ContentType()))
        throw EMessageError("Invalid character in the content type");
    for (const auto &header : message.Headers)
        if (HasLineBreakOrNul(header))
            throw EMessageError("Invalid character in a header line");
}

std::string TmsMessageEncoder::Write(const TmsMessage &message)
{
    CheckSafe(message);

    std::size_t bodySize = 0;
    for (const auto &entry : message.Body)
        bodySize += entry.size() + 2;
    std::string out;
    out.reserve(1024 + bodySize + bodySize / 8);

    PutLine(out, Padded("From:") + Mailbox(message.Sender));
    PutAddressList(out, "To:", message.Recipients);
    PutAddressList(out, "CC:", message.CC);
    if (message.ReturnReceipt)
        PutLine(out, "Return-Receipt-To: <" + message.Sender.Address() + ">");
    if (message.Priority == TmsPriority::ptLow)
        PutLine(out, "X-Priority: 5");
    else if (message.Priority == TmsPriority::ptHigh)
        PutLine(out, "X-Priority: 1");
    for (const auto &header : message.Headers)
        if (!header.empty() && !IsOwnHeader(header))
            PutLine(out, header);
    if (!message.Subject().empty())
        PutLine(out, "Subject: " + EncodeUnstructured(message.Subject()));

    // Text beyond ASCII is sent as UTF-8, which only quoted-printable carries safely; so is a
    // NUL, which no mail transport may see.
    bool utf8 = false;
    bool quoted = false;
    ForEachBodyLine(message.Body, [&](std::string_view line) {
        utf8 = utf8 || HasNonAscii(line);
        quoted = quoted || line.size() > MaxPlainLine || line.find('\0') != std::string_view::npos;
    });
    quoted = message.Encoding == TmsEncoding::meMIME && (quoted || utf8);
    const std::string charSet = utf8 ? "utf-8" : CharSetName(message.CharSet);
    if (message.Encoding == TmsEncoding::meMIME) {
        PutLine(out, "Mime-Version: 1.0");
        if (message.ContentType() == "text/html") {
            quoted = true;
            PutLine(out, utf8 ? "Content-Type: text/html; charset=\"utf-8\"" : "Content-Type: text/html");
        } else {
            PutLine(out, "Content-Type: " + message.ContentType() + "; charset=\"" + charSet + "\"");
        }
        PutLine(out, quoted ? "Content-Transfer-Encoding: quoted-printable" : "Content-Transfer-Encoding: 7bit");
    }
    out += "\r\n";

    if (quoted)
        ForEachBodyLine(message.Body, [&out](std::string_view line) { AppendQuotedPrintableLine(line, out, true); });
    else
        ForEachBodyLine(message.Body, [&out](std::string_view line) { PutLine(out, line); });
    return out;
}

} // namespace mail
