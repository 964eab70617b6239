// SMTP client: delivers one TmsMessage to one mail host while keeping the window responsive.
#pragma once

#include "mail/HostNameLookup.h"
#include "mail/SocketWait.h"
#include "mail/core/MailMessage.h"
#include "mail/core/SmtpReply.h"

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpSocket>

#include <functional>
#include <string>

namespace mail {

// Sends MailMessage to Server over one connection per Send; every failure closes the connection
// and reaches the caller as an EMailError.
class TmsSMTP : public QObject {
    Q_OBJECT
public:
    explicit TmsSMTP(QObject *parent = nullptr);
    ~TmsSMTP() override;

    // "host", "dotted.ipv4" or either followed by ":port".
    QString Server;
    int DefaultPort = 25;
    // Seconds allowed for each single wait (lookup, connect, line, reply, text piece).
    int TimeOut = 60;
    const TmsMessage *MailMessage = nullptr;

    // After the server accepted the text, before QUIT.
    std::function<void()> OnMailSent;
    // A refused recipient: its address and the reply line; set proceed to go on.
    std::function<void(const std::string &address, const std::string &reply, bool &proceed)> OnAddressRejected;

    // Sockets are part of the system here; the flag only keeps the designed switch.
    static bool WinsockLoaded();
    static void SetWinsockLoaded(bool loaded);

    void Send();
    // Ends the wait in progress with ECanceledError.
    void Cancel();
    // The last reply line read from the server.
    const std::string &LastReply() const { return lastReply_; }

private:
    void Transfer();
    void Connect(const QHostAddress &address, int port);
    void WaitFor(const std::function<bool()> &done);
    void Write(const QByteArray &bytes);
    void SendLine(const std::string &line);
    void SendText(const std::string &text);
    void ReadReply();
    void Close();

    QTcpSocket socket_;
    TSocketWait wait_;
    TSmtpReplyReader reader_;
    std::string lastReply_;
    bool failed_ = false;
    THostNameLookup lookup_;
};

} // namespace mail
