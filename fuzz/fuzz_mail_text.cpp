// Fuzzes the message writer with hostile names, subjects and bodies, and the DNS list reader:
// no bare line break, no header line that is not ours, no entry that is no full address.
#include "mail/core/EmailComposer.h"
#include "mail/core/MailErrors.h"
#include "mail/core/MailHostList.h"
#include "mail/core/MessageEncoder.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The input split at NUL-NUL into name, subject, personal message and the rest.
std::vector<std::string> Fields(std::string_view bytes)
{
    std::vector<std::string> fields;
    for (std::size_t at; fields.size() < 3 && (at = bytes.find(std::string_view("\0\0", 2))) != std::string_view::npos;) {
        fields.emplace_back(bytes.substr(0, at));
        bytes.remove_prefix(at + 2);
    }
    fields.emplace_back(bytes);
    fields.resize(4);
    return fields;
}

void CheckMessageText(const std::string &text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) || (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')))
            std::abort();
    static const std::vector<std::string_view> ours = {"From:", "To:", "Subject:", "Mime-Version:", "Content-Type:",
                                                        "Content-Transfer-Encoding:", " "};
    const std::string_view header(text.data(), text.find("\r\n\r\n"));
    for (std::size_t start = 0; start < header.size();) {
        const std::size_t end = std::min(header.find("\r\n", start), header.size());
        const std::string_view line = header.substr(start, end - start);
        bool known = false;
        for (const std::string_view label : ours)
            known = known || line.starts_with(label);
        if (!known)
            std::abort();
        start = end + 2;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::vector<std::string> fields = Fields(std::string_view(reinterpret_cast<const char *>(data), size));
    mail::TmsMessage message;
    message.Sender = mail::TmsMailAddress(fields[0], "me@example.test");
    message.Recipients.Add(fields[0], "friend@example.test");
    message.SetSubject(fields[1]);
    const mail::TComposedMessage composed =
        mail::ComposeMessage(mail::MapolinEmailFields(), fields[0], fields[0], fields[2], size % 2 == 0);
    message.Body = mail::SplitLines(composed.Text + fields[3]);
    message.SetContentType(composed.ContentType);
    try {
        CheckMessageText(mail::TmsMessageEncoder::Write(message));
    } catch (const mail::EMessageError &) {
        // Refused input is the sound answer to a line break in a header or an endless paragraph.
    }
    for (const std::string &server : mail::ServersFromListFile(mail::SplitLines(fields[3])))
        if (!mail::IsIpAddress(server))
            std::abort();
    return 0;
}
