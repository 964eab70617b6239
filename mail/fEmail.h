// The e-mail-a-friend window: composes the recommendation and delivers it to the friend's mail host.
#pragma once

#include "mail/MXResolver.h"
#include "mail/MailHostLookup.h"
#include "mail/Smtp.h"
#include "mail/core/EmailComposer.h"
#include "mail/core/MailMessage.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace mail {

class TfrmEmail : public QDialog {
    Q_OBJECT
public:
    // The user's own name and e-mail address, as far as the platform knows them.
    struct TIdentity {
        QString Name;
        QString Address;
    };
    using IdentitySource = std::function<TIdentity()>;

    // An empty source asks the platform (PlatformIdentity).
    explicit TfrmEmail(QWidget *parent = nullptr, IdentitySource identity = {});

    // Shows the window modally through the prompter: mrOk after a delivery, else mrCancel.
    int ShowModal();
    // The account's full name from the password database and the EMAIL environment variable.
    static TIdentity PlatformIdentity();

    // The four customization fields; the opener fills them in before showing the window.
    QString AppTitle;
    QString DownloadURL;
    QString ShortDescription;
    QString LongDescription;
    void AssignFields(const TEmailFields &fields);

    // The designed components, open to the opener as they are on the designed form.
    TmsMXResolver ctlMX;
    TmsSMTP ctlMsMail;
    TmsMessage ctlMessage;
    // Fetches the DNS list file when the computer names no DNS server; empty means over HTTP.
    TMailHostLookup::ListFetcher FetchDnsList;
    // Each host that fails costs several waits of its TimeOut; mail servers commonly give up
    // after five hosts of a domain, and so does the window.
    static constexpr qsizetype MaxHostsTried = 5;

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    void FormShow();
    void txtAddressChange();
    void butSendClick();
    void butCancelClick();
    void ctlMsMailMailSent();
    void SetStatus(const QString &text);
    bool Deliver(QString &error);
    // Composes the body into ctlMessage and returns its text.
    std::string ComposeMessage();
    void ShowFailure(const QString &error);
    TEmailFields Fields() const;
    void Finish(int result);

    IdentitySource identity_;
    QLabel *lblHeading = nullptr;
    QLabel *lblHeading2 = nullptr;
    QLabel *lblHeading3 = nullptr;
    QLineEdit *txtName = nullptr;
    QLineEdit *txtYourEmail = nullptr;
    QLineEdit *txtFriendsName = nullptr;
    QLineEdit *txtAddress = nullptr;
    QPlainTextEdit *memText = nullptr;
    QCheckBox *chkHTML = nullptr;
    QPushButton *butSend = nullptr;
    QPushButton *butCancel = nullptr;
    QLabel *lblStatus = nullptr;
    bool shown_ = false;
    bool sending_ = false;
    // Cancel ends the whole sending: no further DNS server is asked and no further host tried.
    bool canceled_ = false;
    bool mailSent_ = false;
    std::optional<TMailHostLookup> lookup_;
    int modalResult_ = 0;
};

} // namespace mail
