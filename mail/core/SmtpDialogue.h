// The SMTP dialogue of one delivery as a state machine fed with the server's replies.
#pragma once

#include "mail/core/MailMessage.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mail {

// What the connection has to do next.
struct TSmtpAction {
    enum class Kind {
        SendLine,   // send Line, then read a reply
        SendText,   // send MessageText(), an empty line and ".", then read a reply
        MailSent,   // the text was accepted: raise OnMailSent, then send Line (QUIT), read a reply
        Close,      // all done: close the connection
    };
    Kind What = Kind::Close;
    std::string Line;
};

// Host name and optional port of a "host[:port]" server text.
struct TServerAddress {
    std::string Host;
    std::optional<int> Port;
};

// Splits "host:port"; a port that is no number from 1 to 65535 is refused with ESocketError.
TServerAddress SplitServer(std::string_view server);

// The port given in the server text, else the service's port, else defaultPort.
int ChoosePort(const TServerAddress &server, const std::function<std::optional<int>()> &servicePort,
               int defaultPort);

// Walks greeting, HELO, MAIL, RCPT, DATA, text and QUIT; every negative reply throws EServerError.
class TSmtpDialogue {
public:
    // Called for a refused recipient with its address and the reply line; set proceed to go on.
    using RejectHandler = std::function<void(const std::string &address, const std::string &reply, bool &proceed)>;

    TSmtpDialogue(const TmsMessage *message, std::string localHost, RejectHandler onAddressRejected = {});

    // Feeds the reply to the last action (the first reply is the greeting) and returns the next.
    TSmtpAction OnReply(int code, const std::string &line);
    // The text written when the HELO was accepted.
    const std::string &MessageText() const { return text_; }

private:
    enum class State { Greeting, HeloHost, HeloBare, MailFrom, RcptTo, Data, Text, Quit, Closed };

    TSmtpAction Send(State next, std::string line);
    TSmtpAction StartEnvelope();
    TSmtpAction NextRecipient();

    const TmsMessage *message_;
    std::string localHost_;
    RejectHandler onAddressRejected_;
    State state_ = State::Greeting;
    std::vector<std::string> recipients_;
    std::size_t nextRecipient_ = 0;
    std::string text_;
};

} // namespace mail
