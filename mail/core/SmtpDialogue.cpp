// One delivery: greeting, HELO with the host name then bare, message checks, envelope, text, QUIT.
#include "mail/core/SmtpDialogue.h"

#include "mail/core/MailErrors.h"
#include "mail/core/MessageEncoder.h"

#include <charconv>

namespace mail {

namespace {

bool Positive(int code)
{
    return code / 100 == 2;
}

} // namespace

TServerAddress SplitServer(std::string_view server)
{
    TServerAddress result;
    const std::size_t colon = server.find(':');
    result.Host = std::string(server.substr(0, colon));
    if (colon == std::string_view::npos || colon + 1 == server.size())
        return result;
    const std::string_view text = server.substr(colon + 1);
    int port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port < 1 || port > 65535)
        throw ESocketError(10022);
    result.Port = port;
    return result;
}

int ChoosePort(const TServerAddress &server, const std::function<std::optional<int>()> &servicePort,
               int defaultPort)
{
    if (server.Port)
        return *server.Port;
    if (servicePort)
        if (const auto port = servicePort())
            return *port;
    return defaultPort;
}

TSmtpDialogue::TSmtpDialogue(const TmsMessage *message, std::string localHost, RejectHandler onAddressRejected)
    : message_(message), localHost_(std::move(localHost)), onAddressRejected_(std::move(onAddressRejected))
{
}

TSmtpAction TSmtpDialogue::Send(State next, std::string line)
{
    state_ = next;
    return {TSmtpAction::Kind::SendLine, std::move(line)};
}

TSmtpAction TSmtpDialogue::OnReply(int code, const std::string &line)
{
    switch (state_) {
    case State::Greeting:
        if (!Positive(code))
            break;
        return Send(State::HeloHost, "HELO " + localHost_);
    case State::HeloHost:
        // Some servers refuse the name they are given but take a bare HELO.
        if (!Positive(code))
            return Send(State::HeloBare, "HELO");
        return StartEnvelope();
    case State::HeloBare:
        if (!Positive(code))
            break;
        return StartEnvelope();
    case State::MailFrom:
        if (!Positive(code))
            break;
        return NextRecipient();
    case State::RcptTo:
        if (!Positive(code)) {
            bool proceed = false;
            if (onAddressRejected_)
                onAddressRejected_(recipients_[nextRecipient_ - 1], line, proceed);
            if (!proceed)
                break;
        }
        return NextRecipient();
    case State::Data:
        if (code / 100 != 3)
            break;
        state_ = State::Text;
        return {TSmtpAction::Kind::SendText, {}};
    case State::Text:
        if (!Positive(code))
            break;
        state_ = State::Quit;
        return {TSmtpAction::Kind::MailSent, "QUIT"};
    case State::Quit:
        if (!Positive(code))
            break;
        state_ = State::Closed;
        return {TSmtpAction::Kind::Close, {}};
    case State::Closed:
        return {TSmtpAction::Kind::Close, {}};
    }
    state_ = State::Closed;
    throw EServerError(code, line);
}

TSmtpAction TSmtpDialogue::StartEnvelope()
{
    state_ = State::Closed;
    if (!message_)
        throw ESocketError(SocketCode::MessageRequired);
    if (message_->Sender.Address().empty())
        throw EMessageError(SocketErrorText(SocketCode::SenderRequired));
    // Entries without an address have nothing to send RCPT for.
    recipients_.clear();
    for (const TmsAddressList *list : {&message_->Recipients, &message_->CC, &message_->BCC})
        for (const auto &entry : *list)
            if (!entry.Address().empty())
                recipients_.push_back(entry.Address());
    if (recipients_.empty())
        throw EMessageError(SocketErrorText(SocketCode::RecipientRequired));
    text_ = TmsMessageEncoder::Write(*message_);
    nextRecipient_ = 0;
    return Send(State::MailFrom, "MAIL FROM:<" + message_->Sender.Address() + ">");
}

TSmtpAction TSmtpDialogue::NextRecipient()
{
    if (nextRecipient_ < recipients_.size())
        return Send(State::RcptTo, "RCPT TO:<" + recipients_[nextRecipient_++] + ">");
    return Send(State::Data, "DATA");
}

} // namespace mail
