#include "mail/core/EmailComposer.h"

#include "output/core/ReplaceAll.h"

namespace mail {

namespace {

const char *const ClipboardAdvice =
    "You can still send the message to your friend.  Click the \"To Clipboard\" button and the email "
    "message will be put in the Windows Clipboard.  You can then paste it into a regular email to your friend.";

std::string PlainText(const TEmailFields &f, const std::string &s, const std::string &friendName,
                      const std::string &m)
{
    std::string text = "Hello " + friendName + ", \r\n" + s + " wanted to let you know about " + f.AppTitle + ", "
                       + f.ShortDescription + "  It's available for downloading from Tembrel Software's Web Site.\r\n\r\n"
                       + "Just point your Web Browser to " + f.DownloadURL + "\r\n";
    if (!m.empty())
        text += "\r\n" + s + " also wanted to send you a special message: \r\n\r\n" + m + "\r\n";
    return text + "\r\nWhat is " + f.AppTitle + "?\r\n\r\n" + f.LongDescription + "\r\n\r\n";
}

std::string HtmlText(const TEmailFields &f, const std::string &s, const std::string &friendName,
                     const std::string &m)
{
    std::string text = "<HTML>\r\n<BODY>\r\n\r\n<P>Hello " + friendName + ", <BR>" + s + " wanted to let you know about "
                       + f.AppTitle + ", " + f.ShortDescription
                       + "  It's available for downloading from Tembrel Software's Web Site.<BR>\r\n\r\n"
                       + "<P><A HREF=\"" + f.DownloadURL + "\">Click here to download " + f.AppTitle + "</A><BR>\r\n"
                       + "or point your Web Browser to " + f.DownloadURL + "<BR>\r\n";
    if (!m.empty())
        text += "\r\n<P>" + s + " also wanted to send you a special message: <BR>\r\n\r\n<PRE>\r\n" + m + "\r\n</PRE>\r\n";
    return text + "\r\n<P><H2>What is " + f.AppTitle + "?</H2>\r\n\r\n" + f.LongDescription
           + "\r\n\r\n</BODY>\r\n</HTML>";
}

} // namespace

bool TEmailFields::Complete() const
{
    return !AppTitle.empty() && !DownloadURL.empty() && !ShortDescription.empty() && !LongDescription.empty();
}

const TEmailFields &MapolinEmailFields()
{
    static const TEmailFields fields{
        "the Mapolin Toolkin",
        "http://www.tembrel.com/mapolin/download.html",
        "which lets you create client side image maps for your web pages.",
        "The Mapolin is a tool that lets you insert clickable hotspots onto an image. Each of these hotspots, "
        "when clicked, will take the visitor to a new Web page that you define. "
        "Image maps are a useful way of graphically expressing information.",
    };
    return fields;
}

TComposedMessage ComposeMessage(const TEmailFields &fields, const std::string &sender,
                                const std::string &friendName, const std::string &personal, bool html)
{
    if (html)
        return {HtmlText(fields, sender, friendName, personal), "text/HTML"};
    return {PlainText(fields, sender, friendName, personal), "text/plain"};
}

std::string SenderForText(const std::string &name)
{
    return name.empty() ? "A friend" : name;
}

std::string WithAppTitle(const std::string &designed, const std::string &appTitle)
{
    return ReplaceAll(designed, "apptitle", appTitle, false);
}

std::string EmailSubject(const std::string &appTitle)
{
    return appTitle + " is available for you.";
}

std::string InternalErrorText()
{
    return "Internal Error: All the customization fields must be supplied by the programmer !";
}

std::string MailSentText()
{
    return "The email was successfully sent.";
}

std::string WinsockProblemText()
{
    return "There was a problem with your computer's Winsock library and a connection to the Internet could not "
           "be made.";
}

std::string NoMailHostText()
{
    return "A DNS server cannot be found but you can still send the message to your friend.  Click the \"To "
           "Clipboard\" button and the email message will be put in the Windows Clipboard.  You can then paste it "
           "into a regular email to your friend.";
}

std::string DeliveryFailureText(const std::string &error)
{
    return error + "\r\n" + ClipboardAdvice;
}

std::string ClipboardPlacedText(const std::string &appTitle)
{
    return "The message about " + appTitle
           + " has been placed in the clipboard.  You can now paste it into your regular email software and send it "
             "to your friend.";
}

} // namespace mail
