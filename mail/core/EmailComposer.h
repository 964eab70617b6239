// The recommendation message of the e-mail window and the texts the window shows about it.
#pragma once

#include <string>

namespace mail {

// The four texts that name the product; the window's opener fills them in.
struct TEmailFields {
    std::string AppTitle;
    std::string DownloadURL;
    std::string ShortDescription;
    std::string LongDescription;

    bool Complete() const;
};

// The values Mapolin's main window gives the e-mail window.
const TEmailFields &MapolinEmailFields();

// A composed body: its text, lines ended by CR LF, and its content type as designed.
struct TComposedMessage {
    std::string Text;
    std::string ContentType;
};

// The plain or HTML recommendation. User texts (sender, friend, personal message) go in as
// typed, with no HTML escaping; an empty personal message leaves its paragraph out.
TComposedMessage ComposeMessage(const TEmailFields &fields, const std::string &sender,
                                const std::string &friendName, const std::string &personal, bool html);

// The name that signs the text: the user's own, or "A friend" when none was typed.
std::string SenderForText(const std::string &name);
// A designed text with every "apptitle", in any letter case, replaced by the title.
std::string WithAppTitle(const std::string &designed, const std::string &appTitle);
std::string EmailSubject(const std::string &appTitle);

std::string InternalErrorText();
std::string MailSentText();
std::string WinsockProblemText();
// The failure text when no mail host was found.
std::string NoMailHostText();
// The failure text after a host refused or failed: its error, then the clipboard advice.
std::string DeliveryFailureText(const std::string &error);
std::string ClipboardPlacedText(const std::string &appTitle);

} // namespace mail
